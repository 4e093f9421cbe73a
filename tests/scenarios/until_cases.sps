# run: status=1
# until in a grading run: a wait that is not reached fails its case as a
# failed expect does.
load programs/switch_to_led.awl
case LED folgt dem Schalter
switch 0 1
until A0.0 == 1 max 3
case Zähler erreicht 50 zu spät
until MW0 >= 50 max 10
expect A0.0 1
case Zähler erreicht 50
until MW0 >= 50
