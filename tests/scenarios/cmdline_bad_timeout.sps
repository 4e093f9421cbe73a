# run: status=2 args=--timeout,0,%
# --timeout needs a whole number of seconds, at least 1.
