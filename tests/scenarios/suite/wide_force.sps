# A constant beyond 32 bits is refused, not taken as its low 32 bits.
force MB10 4294967297
echo not reached
