# fault, fault clear and faults: a broken input as the program sees it, the
# bounce of a switch on the manual clock, a lost AS-i slave in the master's
# status, and the German errors that list what is valid.
load programs/switch_to_led.awl
faults
echo -- a switch stuck at 1: LED 0 lights with the switch off
fault Swt0 klemmt 1
step
print E0.0 A0.0
echo -- reset and load keep the faults: they belong to the station
reset
load programs/switch_to_led.awl
faults
step
print A0.0
fault clear Swt0
step
print A0.0
echo -- switch 0 bounces 3 times, 2 ms apart: sampled every millisecond
fault Swt0 prellt
switch 0 1
record E0.0
run 10 1
export csv -
record clear
echo -- then it follows the switch 5 ms late
fault Swt0 verzögert 5
switch 0 0
record E0.0
run 8 1
export csv -
record clear
echo -- slave 6 lost: the master's configuration error bit E2.2
fault slave 6 ausgefallen
seed 1
set AB2 16#80
step 20
print E2.1 E2.2
show asi
faults
fault clear all
step 20
print E2.2
faults
echo -- what is not possible
fault Swt8 klemmt 1
fault Swt0
fault Swt0 rauschen 3
fault Taste0 prellt 0
fault joystick versatz 5000
fault slave 0 ausgefallen
fault Schlitten blockiert 1
fault clear Nichts
