# run: status=2 args=--speed,3,%
# An unknown option: exit status 2, the usage on standard error.
