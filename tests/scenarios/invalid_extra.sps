# run: status=2
# An argument too many is an invalid line.
stop now
