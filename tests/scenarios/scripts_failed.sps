# run: status=1 args=suite/passes.sps,%
# With several scripts and no error, a failed expect makes the exit status 1.
expect MW0 1
