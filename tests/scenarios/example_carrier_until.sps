# run: dir=../../examples args=carrier_until.sps
# examples/carrier_until.sps: the carrier example, waiting with until for the
# end switches instead of a fixed number of steps; run from the examples folder.
