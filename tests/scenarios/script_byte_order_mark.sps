load programs/switch_to_led.awl
# Saved by an editor that begins UTF-8 text with a byte-order mark: the mark
# is no part of the first command. Elsewhere it is text like any other.
switch 0 1
step
expect A0.0 1
echo ﻿mitten
