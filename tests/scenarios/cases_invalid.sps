# run: status=2
# An invalid line stops the script in its case: that case is an error, the
# cases after it do not run, and the count names the errors.
case first
expect MW0 0

case second
expect MW0 1
step many

case third
expect MW0 0
