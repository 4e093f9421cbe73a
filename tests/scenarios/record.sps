# The signal recording: the operands chosen by record are sampled after every
# step, and export writes their changes as a value change dump or as CSV ("-"
# is standard output). The recording's time is the manual clock's.
load programs/switch_to_led.awl
record E0.0 A0.0 MB1 VD8 /R
step
switch 0 1
advance 5
step
step
set VD8 1.5
switch 0 0
run 20 10
export vcd -
export csv -
# MB1 (the low byte of the counter MW0) changes in every step: a row each.
record stop
run 100
record MW0
step
export csv -
# Not recordable: a constant, a bit as a real, an address outside V; the
# operands before and after are still recorded.
record 16#FF A0.1 E0.0 /R VB5000 M0.0
record T37 /I Z0 AC1 /W AEW0 AAW0 *VD20
export csv -
# A load keeps the operands and starts a fresh recording.
load programs/switch_to_led.awl
step
export csv -
record clear
step
export csv -
export vcd -
