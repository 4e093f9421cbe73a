# run: status=2
# A condition that cannot be tested is an invalid line.
until MW0 ~ 5
