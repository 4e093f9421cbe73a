# examples/asi_buttons.awl: the AS-i bus started, the push buttons of slave 1
# mirrored to its lamps.
echo -- before the program: the master is stopped on bank 8
show asi
load ../../examples/asi_buttons.awl
run 100
echo -- the bus runs on bank 0; Taste1 and Taste3 pressed
button 1 1
button 3 1
run 100
show asi
echo -- Taste1 released, Taste0 pressed
button 1 0
button 0 1
run 100
show asi
echo -- the online bit flickers on LED 0 as the bus drops out and comes back
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
step
station ledOut
