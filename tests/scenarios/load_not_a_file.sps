# Only a regular file is loaded. A folder is named as a folder; a device or a
# pipe is refused before it is opened, so that the load never waits for a
# writer. Each failed load keeps the previous program and stops the run.
load programs/switch_to_led.awl
step
load programs
load /dev/null
load /dev/zero
continue
step
print MW0
