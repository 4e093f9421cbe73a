# carrier.awl, the script waiting for the end switches instead of counting
# steps: until runs simulation steps (each after 10 ms on the manual clock)
# until its condition holds, and fails like an expect when it does not hold
# within the limit. Run it from this folder: spsrun carrier_until.sps
load carrier.awl
echo -- Taste0: down until the lower end switch reports (slave 6, V3.5)
button 0 1
until V3.5 == 1 max 5000
station carrierPos
station ledOut
echo -- Taste1: up until the upper end switch rises again (V3.6)
button 0 0
button 1 1
until V3.6 steigt max 5000
station carrierPos
station ledOut
expect A0.2 0
