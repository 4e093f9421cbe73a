# run: status=2 args=--timeout,1,suite/hangs.sps,%
# A script that runs longer than --timeout is stopped; the next one runs.
case runs after the stopped script
load programs/switch_to_led.awl
step 3
expect MW0 3
