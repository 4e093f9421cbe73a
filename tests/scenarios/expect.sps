# run: status=1
# A failed expect prints what it found and what was expected, the script goes
# on, and the exit status becomes 1.

set MW0 5
expect MW0 5
expect MW0 6
expect MW0 -6
set MB2 200
expect MB2 -1
expect MB2 16#C9
set VD4 2.5
expect VD4 2.25
set M1.0 1
expect M1.0 0
set Z0 -3
expect Z0 -4
expect T0 1
expect MB2 16#FFFFFFFF
expect MB2 2147483648
echo -- an expect whose operand cannot be read fails too
expect VW5000 0
echo the script ran to its end
