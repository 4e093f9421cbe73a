# examples/timer_counter.awl: switch 0 runs a 3-s on-delay to lamp A1.0,
# Taste0 counts on Z0, shown on the LEDs, Lampe0 at 10, switch 1 resets.
load ../../examples/timer_counter.awl
run 100
echo -- the timer: A1.0 three seconds after switch 0
switch 0 1
run 3000 100
print T37
station outputA10
run 100 100
print T37
station outputA10
expect T37 30
switch 0 0
step
print T37
station outputA10
echo -- the counter: each press of Taste0 counts one
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
expect Z0 3
print Z0
station ledOut
echo -- holding the button counts nothing more
run 1000
expect Z0 3
echo -- ten presses light Lampe0 (slave 1 output 0)
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
button 0 0
run 100
button 0 1
run 100
expect Z0 10
print Z0
station ledOut
show asi
echo -- switch 1 resets the count
switch 1 1
run 100
expect Z0 0
station ledOut
