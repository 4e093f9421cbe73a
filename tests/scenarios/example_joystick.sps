# examples/joystick.awl: the joystick read through the analog input protocol
# of slave 3 and written to channel 0 of the analog output slave 2, which the
# station shows as its analog value: (up + 175) * 10 / 345.6.
load ../../examples/joystick.awl
echo -- centred: up 0, written 1750
run 1000
print VW10 VW12
station analogValue
echo -- pushed fully up: up 175, written 3500
joystick 0 -66
run 1000
expect VW10 175
station analogValue
show asi
echo -- pulled fully down: up -175, written 0
joystick 0 66
run 1000
expect VW10 -175
station analogValue
echo -- halfway right and up: channel 1 brings the right value
joystick 33 -33
run 1000
expect VW10 87
expect VW12 87
station joystickUp
station joystickRight
station analogValue
echo -- fully left
joystick -66 0
run 1000
expect VW12 -175
station analogValue
