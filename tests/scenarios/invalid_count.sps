# run: status=2
# A count outside its range is an invalid line.
switch 7
station switchIn
switch 8
echo after
