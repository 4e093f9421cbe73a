# examples/workpiece.awl: a sequence of SCR steps: wait at the top, drive down
# to the ejector, eject an ejectable workpiece, return.
load ../../examples/workpiece.awl
echo -- an ejectable workpiece; the sequence waits at the top in S0.0
part 0 1
run 500
print SB0
station ledOut
echo -- switch 0 starts it: S0.1 drives down
switch 0 1
run 500
print SB0
station carrierDrive
station carrierDir
run 6500
print SB0
station carrierPos
echo -- the carrier reaches the ejector: the workpiece lies in front of it
run 170
print SB0
station carrierPos
station partAtEjector
station partState
echo -- E1.0 drops: S0.2 switches A1.1 on, which ejects the workpiece
run 10
print SB0 E1.0 A1.1
station partFlags
echo -- the carrier stops in front of the ejector, the ejector extends
run 120
print SB0
station carrierPos
station carrierDrive
station ejectorPos
echo -- at its front end switch S0.3 retracts it
run 50
print SB0 A1.1
run 150
station ejectorPos
echo -- at its rear end switch S0.4 returns to the top, then S0.0 waits again
run 1100
print SB0
station carrierDrive
station carrierDir
run 8000
print SB0
station carrierPos
station carrierDrive
station ledOut
echo -- switch 0 stays on: no new start without a new edge
run 2000
print SB0
echo -- without an ejectable workpiece the carrier goes to the bottom and back
switch 0 0
run 100
switch 0 1
run 26000 100
print SB0
station carrierPos
run 1500 100
print SB0
station carrierPos
expect V3.5 1
run 30000 100
print SB0
station carrierPos
station partFlags
