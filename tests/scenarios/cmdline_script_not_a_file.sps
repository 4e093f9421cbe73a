# run: status=2 args=programs,/dev/zero,%
# A script must be a regular file: a folder or a device (a pipe, which could
# keep the open waiting for ever) is refused, and the next script runs. A
# script from a pipe goes to standard input ("-").
echo runs
