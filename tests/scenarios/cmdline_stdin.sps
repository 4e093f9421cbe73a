# run: args= stdin
# Without a script argument spsrun reads standard input.
load programs/switch_to_led.awl
switch 0 1
step	2
print A0.0 MW0
