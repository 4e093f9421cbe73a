# run: status=2
# An invalid line wins over a failed expect: the exit status is 2.
expect MW0 1
show everything
