# run: status=2
# A format word stands after the operand it is for; one before any operand is
# an invalid line, like an operand that does not parse.
record MW4 /W VD0 /R
record /R VD0
echo after
