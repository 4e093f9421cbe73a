# A short tour of the simulator without its window: spsrun loads the example
# programs of this folder, runs them on the manual clock, operates the
# station and prints what a user would see. scripts/start.sh runs it from
# this folder; docs/spsrun.md describes every command.

echo == blink.awl: switch 7 off, all LEDs blink at 1 Hz (LED 0 printed first)
load blink.awl
run 600 100
station ledOut
run 500 100
station ledOut
echo == switch 7 on: the LEDs show the switches; switches 1 and 4 on
switch 7 1
switch 1 1
switch 4 1
step
station ledOut
echo == the program as a ladder diagram
show kop

echo == timer_counter.awl: switch 0 lights lamp A1.0 after three seconds
load timer_counter.awl
switch 0 1
run 2000 100
station outputA10
run 1200 100
station outputA10
print T37

echo == carrier.awl: push button Taste0 drives the carrier down over the AS-i bus
load carrier.awl
button 0 1
run 10000 100
station carrierPos
run 25000 100
station carrierPos
echo == it stopped at the lower end switch: LED 1
station ledOut

echo == joystick.awl: the joystick read from analog slave 3, written to slave 2
load joystick.awl
joystick 0 -66
run 1000
print VW10
station analogValue
