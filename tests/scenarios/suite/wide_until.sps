# A constant beyond 32 bits is refused, not taken as its low 32 bits.
until VD0 == 16#100000000 max 5
echo not reached
