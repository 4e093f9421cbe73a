# set, print and expect on every kind of operand.

echo -- bits, bytes, words and double words of the memory areas
set M0.3 1
set MB1 16#81
set MW2 258
set VD0 -1
print M0.3 MB0 MB1 MW2 VD0 VB3
expect M0.3 1
expect MB0 8
expect MB1 129
expect MB1 -127
expect MW2 258
expect VD0 4294967295
expect VD0 -1
expect VB3 255
echo -- a value is cut to the operand's width
set MB4 300
print MB4
set M0.0 2
print M0.0
set MW6 -1
expect MW6 65535
expect MW6 -1
expect MW6 16#FFFF
echo -- reals in double words
set VD8 1.5
print VD8 /R
expect VD8 1.5
expect VD8 1069547520
set VD8 -2.5e3
print VD8 /R
print VD8 /D
echo -- the accumulators are double words
set AC1 16#12345678
print AC1
print AC1 /B
expect AC1 305419896
set AC2 0.25
expect AC2 0.25
echo -- timers and counters: their value
set T37 7
set Z3 -2
print T37 Z3
expect T37 7
expect Z3 -2
expect Z3 65534
print T37 /W
echo -- inputs, outputs and special memory
set E0.0 1
set AB0 16#F0
print E0.0 AB0 SMB0 SM0.0
echo -- formats: /I bit, /B byte, /W word, /D double word, /R real
set VD12 16#01020304
print VD12 /D
print VD12 /W
print VB12 /I
print VB13 /B
print M0.3 /R
echo -- constants and pointers
print 16#FF -5 1.5 &VB100
set VD20 &VB12
print *VD20
set *VD20 16#AABBCCDD
print VD12 /D
expect *VD20 16#AABBCCDD
echo -- analog words: AEW are random until the bus serves them, AAW cannot be read
print AEW20
set AAW0 5
print AAW0
echo -- accesses that fail are reported and do not stop the script
print VB5000
set VB5000 1
set AEW0 1
set 5 1
set MW2 1.5
print MW2
