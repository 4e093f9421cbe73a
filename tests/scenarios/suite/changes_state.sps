# Leaves behind all it can: a program, memory, the automatic clock with a
# divisor of 3, a reseeded random source, the joystick moved.
load programs/switch_to_led.awl
step 5
set MW10 7
seed 7
joystick 30 -20
clock auto
slower
slower
