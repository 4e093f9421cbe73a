# A constant beyond 32 bits is refused, not taken as its low 32 bits.
write VD0 -2147483649
echo not reached
