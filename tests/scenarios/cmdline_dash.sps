# run: args=- stdin
# The argument "-" reads standard input too.
echo from standard input
