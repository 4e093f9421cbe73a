# run: status=2
# A count must be decimal digits.
step 2x
