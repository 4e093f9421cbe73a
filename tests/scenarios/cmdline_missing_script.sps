# run: status=2 args=programs/no_such_script.sps
# A script that cannot be opened: exit status 2 and a message on standard error.
