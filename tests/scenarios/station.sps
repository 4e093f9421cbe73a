# The station's user operations and its field listing.

echo -- the fresh station
station
echo -- switches and buttons: toggled without a value, set with one
switch 3
switch 5 1
switch 5 1
switch 0 0
station switchIn
switch 3
switch 5 0
station switchIn
button 2
button 0 1
button 0 1
station buttonIn
button 2 0
station buttonIn
echo -- the entry light barrier blocks the carrier
einls
station motionBlocked
nudge down
station carrierPos
einls 0
station motionBlocked
nudge down
nudge down
nudge up
station carrierPos
echo -- workpiece properties are bits of partFlags
part 0
part 4 1
part 3 0
station partFlags
part 0 0
station partFlags
echo -- sonar, joystick and centre
sonar 2
station sonarRange
joystick 33 -33
station joystickRight
station joystickUp
joystick -70 0
station joystickRight
station joystickUp
echo -- outside the circle the horizontal offset is pulled in
joystick 66 66
station joystickRight
station joystickUp
center
station joystickRight
station joystickUp
