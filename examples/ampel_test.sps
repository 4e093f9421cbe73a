# A grading script for ampel.awl, the traffic light on LEDs 0 (red), 1
# (yellow) and 2 (green). Run it from this folder:
#
#   spsrun --junit ampel_bericht.xml ampel_test.sps
#
# Each case names one behaviour that the task asks for; the summary line and
# the report say which of them the program shows. This program fails the
# third case: its green phase does not end.

load ampel.awl
switch 0 1

case Rot nach dem Einschalten
step
expect A0.0 1
expect A0.1 0
expect A0.2 0
run 3900 100
expect A0.0 1
expect A0.2 0

case Rot-Gelb nach 4 s, Grün nach 5 s
run 200 100
expect A0.0 1
expect A0.1 1
expect A0.2 0
run 1000 100
expect A0.0 0
expect A0.1 0
expect A0.2 1

case Gelb allein nach 9 s, dann wieder Rot
run 4000 100
expect A0.1 1
expect A0.2 0
run 1000 100
expect A0.0 1
expect A0.1 0
expect A0.2 0
