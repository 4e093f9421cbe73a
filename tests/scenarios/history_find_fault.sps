# run: status=1
# Finding a fault by going back: the LED should light only after switch 0 was
# turned on three times, but it lights during the first. Going back to the
# scan before it lit shows the count, and a force there tries the fix's idea.
load programs/press_counter.awl
stop
case the LED lights after three times on
switch 0 1
step 5
switch 0 0
step
expect A0.0 0
case going back shows the scan that lit it
history
goto cycle 2
print MW0 E0.0 A0.0
step
expect MW0 3
expect A0.0 1
echo -- back before the scan that lit it: with the switch held off there, it stays dark
back 1
force E0.0 0
step 3
expect MW0 2
expect A0.0 0
history
