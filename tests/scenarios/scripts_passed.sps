# run: args=suite/passes.sps,%
# Several scripts whose cases all pass: exit status 0.
expect MW0 0
