# Would run for hours: it is stopped by the time limit in the middle of its
# steps, its open case becomes an error.
load programs/switch_to_led.awl
case quick
step
expect MW0 1
case endless
step 2000000000
echo not reached
case never reached
