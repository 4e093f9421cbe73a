# Two cases that pass.
case the flags start at 0
expect MW0 0
case set writes a word
set MW0 16#1234
expect MW0 4660
