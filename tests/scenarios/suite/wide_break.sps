# A constant beyond 32 bits is refused, not taken as its low 32 bits.
break MW0 == 4294967297
echo not reached
