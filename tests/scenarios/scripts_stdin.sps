# run: args=%,- stdin
# "-" among the scripts is standard input.
echo read once from the file, once from standard input
