# The instructions beyond the first 169, run through spsrun: compare
# relations, conversions, integer products and quotients, TOF, ZR, FOR/NEXT,
# END and STOP, in the German set and imported in the international one.
load programs/more_instructions.awl
set MW0 -5
set MB2 10
step
print M10.0 M10.1 M10.2
print VD10 /D
print VW20 /W
print VD34 /D
print VB40 /H
print VW50 /W
print VW52 /W
print VW60 /W
print VW62 /W
switch 0 1
step
switch 0 0
run 1000
print A0.0 T37
run 1500
print A0.0 T37
switch 2 1
step
switch 2 0
step
print Z5 A0.1
switch 1 1
step
switch 1 0
step
switch 1 1
step
switch 1 0
step
switch 1 1
step
print Z5 A0.1
switch 1 0
step
switch 1 1
step
print Z5 A0.1
print VW70 /W
switch 7 1
step 3
print VW70 /W
switch 7 0
switch 6 1
run 1000
print VW70 /W
show kop
trace
# The same program in the international set, imported.
import programs/import/more_instructions_international.awl
switch 6 0
set MW0 -5
step
print M10.0 M10.1 C5 Q0.1 VW60
