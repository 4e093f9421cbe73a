# run: status=1
# Named test cases: each case holds the expects up to the next case. Lines
# before the first case that check nothing only prepare the cases; a case
# passes when none of its expects failed; the last line counts the cases.
load programs/switch_to_led.awl
switch 0 1

case LED 0 follows switch 0
step
expect A0.0 1
switch 0 0
step
expect A0.0 0

case	the flag   counts  scans	# blanks and tabs between the words of a name become one blank
expect MW0 3
expect MW0 2

case a case without expects passes
station ledOut

case an operand that cannot be read fails its case
expect VW5000 0

case Grün & <Gelb> "Rot" schalten
expect A0.0 0
quit
case never reached
