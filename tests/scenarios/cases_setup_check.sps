# run: status=1
# An expect before the first case makes those lines a case of their own,
# named after the script.
load programs/switch_to_led.awl
step
expect MW0 2

case the flag counts on
step
expect MW0 2
