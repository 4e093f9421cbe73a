# examples/carrier.awl: Taste0 drives the carrier down to the lower end
# switch, Taste1 up to the upper end switch, through AS-i slaves 4 and 6.
load ../../examples/carrier.awl
run 200
echo -- at the top: LED 0 shows the upper end switch
station carrierPos
station ledOut
echo -- Taste0: down (LED 2 driving, LED 3 down)
button 0 1
run 1000
station carrierPos
station carrierDrive
station carrierDir
station ledOut
echo -- the entry light barrier holds it
einls 1
run 1000
station carrierPos
einls 0
echo -- it stops at the lower end switch (LED 1)
run 30000 100
station carrierPos
station carrierDrive
station ledOut
expect V3.5 1
run 5000 100
station carrierPos
echo -- Taste0 released, Taste1: up to the upper end switch
button 0 0
button 1 1
run 10000 100
station carrierPos
station carrierDrive
station carrierDir
run 25000 100
station carrierPos
station carrierDrive
station ledOut
expect V3.6 1
echo -- both buttons: Taste0 wins
button 0 1
run 1000
station carrierPos
station carrierDir
