# run: args=--help
# spsrun --help prints the usage and the command list; this file is not read.
