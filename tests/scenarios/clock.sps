# The clock commands: manual at 0 ms from the start, advance, run, time,
# and the availability of every clock command in either mode.

time
echo -- manual mode: manual, slower and faster are greyed
clock manual
slower
faster
advance 250
time
advance 0
time
load programs/switch_to_led.awl
stop
run 95 10
time
print MW0
echo -- the last interval of a run is what is left of MS
run 25 10
print MW0
time
run 0
print MW0
echo -- SM0.5 follows the clock: high from 500 to 999 ms of each second
advance 129
step
print SM0.5
time
advance 1
step
print SM0.5
echo -- automatic mode: advance, run and auto are greyed
clock auto
clock auto
advance 10
run 10
faster
slower
faster
faster
echo -- back to manual: the time restarts at 0 ms
clock manual
time
