# force, unforce, forces and write: a forced operand holds against the station
# and the program in every scan; reset keeps the forces, load clears them.
load programs/switch_to_led.awl
echo -- a forced input: LED 0 lights with switch 0 off
force E0.0 1
step
station ledOut
echo -- a forced output: LED 0 stays dark although the program writes 1
unforce E0.0
switch 0 1
force A0.0 0
step
station ledOut
print A0.0
echo -- a forced word holds against the program's count
force MW0 -1
step 3
print MW0
force MW0 16#7FFF
force AEW0 1000
force VD0 2.5
forces
echo -- reset keeps them
reset
forces
echo -- what cannot be forced
force 16#FF 1
force SM0.0 1
force MB4 300
force MW4 1.5
force VB5000 1
echo -- unforce
unforce MW0
unforce MW0
step
print MW0
echo -- a load clears them
load programs/switch_to_led.awl
forces
echo -- write: once, at the start of the next scan
write MW0 100
print MW0
step
print MW0
step
print MW0
echo -- print at the operand's own width
set MW2 -2
print MW2 MB2 E0.0 /S
print MW2 MB2 E0.0 /U
print MW2 MB2 E0.0 /H
print MW2 MB2 E0.0 /2
print VD0 AC0 /H
print AAW0 /S
