# A constant beyond 32 bits is refused, not taken as its low 32 bits.
expect MW0 4294967296
echo not reached
