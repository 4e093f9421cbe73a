# run: status=2
# back, goto cycle and history: going back through the scans kept, and on
# from there. A change made in the past (here a switch) starts a new future.
load programs/switch_to_led.awl
history
back
stop
history
echo -- ten steps, then back three and forward again
step 10
print MW0
back 3
print MW0
step
print MW0
goto cycle 10
print MW0
echo -- a switch in the past starts a new future from there
back 5
switch 0 1
step
history
print MW0 A0.0
echo -- limits
back 99
goto cycle 40
continue
back
stop
echo -- off, and on again from the present
history off
history
back
history 5
step 9
history
echo -- a wrong count ends the script
back 0
