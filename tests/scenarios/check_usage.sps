# run: status=2 args=check,--frobnicate,programs/networks.awl
# check with an option it does not know: the usage on standard error. This
# file is not read.
