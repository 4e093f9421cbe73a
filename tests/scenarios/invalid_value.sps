# run: status=2
# VALUE must be a number in the operand syntax.
set MW0 MW2
