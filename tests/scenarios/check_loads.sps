# run: args=--check,programs/switch_to_led.awl,programs/networks.awl,../../examples/ampel.awl
# --check: every file loads, nothing is printed, exit status 0. This file is
# not read.
