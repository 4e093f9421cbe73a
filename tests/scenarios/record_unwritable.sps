# run: status=2
# An export that cannot be written fails the run: the complaint goes to
# standard error, the script stops there and the exit status is 2.
load programs/switch_to_led.awl
record MW0
step
export csv -
export vcd programs/no_such_folder/aufnahme.vcd
echo not reached
