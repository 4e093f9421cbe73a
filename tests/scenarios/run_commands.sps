# The run commands: load, continue, stop, reset, step and tick, with the
# menu's availability and the error handling of loading and running.

echo -- at start: stopped, no program
stop
step 3
print SM0.0 MW0
tick 5
print MW0

echo -- a load starts running
load programs/switch_to_led.awl
continue
step
print MW0 SM0.1
tick
print MW0
tick 2
print MW0

echo -- stop, then the ticks do nothing
stop
stop
tick 10
print MW0
switch 0 1
step 0
print A0.0
step
print A0.0 MW0
continue
tick 0
print MW0

echo -- reset keeps running and keeps the flags, outputs drop until the next scan
reset
print A0.0 MW0 SM0.1
tick
print A0.0 SM0.1
continue

echo -- a file that is not there: the program stays, the run stops
load programs/missing.awl
step
print MW0
continue

echo -- a syntax error: the program stays, the run stops
load programs/syntax_error.awl
stop
step
print MW0

echo -- a run-time error in the second step of a tick: the third does not run
switch 0 1
load programs/jump_error.awl
tick
print MW2
tick
print MW2
echo -- a run-time error in a step skips the remaining steps
set MW2 1
step 5
print MW2
step 5
print MW2
