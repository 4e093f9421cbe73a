# run: status=1 dir=../../examples args=ampel_test.sps
# The grading example: examples/ampel_test.sps checks examples/ampel.awl in
# three cases, run from the examples folder; the program fails the third.
