# run: status=2
# Operands are written in capitals: a lower-case word is a name, not an operand.
print a0.0
