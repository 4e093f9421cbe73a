# run: status=2
# A missing argument is an invalid line.
set MW0
