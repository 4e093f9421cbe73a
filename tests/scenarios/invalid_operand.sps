# run: status=2
# An operand that does not parse in print, set or expect is an invalid line.
print MW0
print MW0 E0.8
echo after
