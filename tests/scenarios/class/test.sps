# The test of a small exercise: LED 0 (A0.0) shows switch 0 (E0.0), and MW0
# counts the scans. Graded by spsrun grade with each submission loaded first.
stop
case LED 0 folgt Schalter 0
punkte 2
switch 0 1
step
echo Bei Schalter 0 an muss LED 0 (A0.0) leuchten.
expect A0.0 1
switch 0 0
step
echo Bei Schalter 0 aus muss LED 0 (A0.0) dunkel sein.
expect A0.0 0
case MW0 zählt die Zyklen
step 5
expect MW0 7
case Schalter 1 wartet
echo LED 1 (A0.1) muss nach Schalter 1 angehen.
switch 1 1
until A0.1 == 1 max 2000000000
