# examples/blink.awl: the LEDs blink at 1 Hz from SM0.5; with switch 7 on
# they show the switches.
load ../../examples/blink.awl
echo -- switch 7 off: all LEDs blink, on from 500 ms of each second
run 400 100
station ledOut
run 200 100
station ledOut
expect AB0 16#FF
run 500 100
station ledOut
run 500 100
station ledOut
echo -- switch 7 on: every LED shows its switch
switch 7 1
switch 2 1
switch 4 1
step
station ledOut
expect AB0 2#10010100
switch 4 0
step
station ledOut
echo -- switch 7 off: blinking again
switch 7 0
run 400 100
station ledOut
run 500 100
station ledOut
