# A traced scan that fails: the error text is the trace's only line, no
# "Fehler" line, and the run state does not change.
switch 0 1
load programs/jump_error.awl
set MW2 1
trace
continue
show trace
echo -- the next scans write no trace
step
print MW2
echo -- a trace of a program that runs executes one scan and a station step
load programs/switch_to_led.awl
set MW0 0
trace
print MW0 A0.0
station ledOut
time
