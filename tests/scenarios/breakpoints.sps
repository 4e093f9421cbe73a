# run: status=1
# break, breaks and unbreak: step, tick and run stop after the step in which
# a breakpoint becomes true; until runs steps until a condition holds.
load programs/switch_to_led.awl
break MW0 == 3
break MW0 >=5
break A0.0 steigt
break E0.0 fällt
breaks
echo -- step stops at the first
step 10
print MW0
echo -- tick stops in the middle of a tick, after its second step
continue
tick 3
print MW0
echo -- MW0 >= 5 stays true: it does not stop again; the edges do
switch 0 1
step 10
print MW0 A0.0
switch 0 0
run 1000
print MW0 E0.0
echo -- unbreak
unbreak 1
unbreak 1
unbreak 9
breaks
unbreak all
breaks
echo -- until: reached, reached at once, not reached
until MW0 >= 40
until MW0 > 0
until MW0 == 1 max 20
until A0.0 steigt max 5
switch 0 1
until A0.0 steigt
until A0.0 faellt max 5
time
