# Values that cannot be read are drawn as "?": the rest of the ladder view
# draws as usual, no error is reported for the drawing, and the run goes on
# (its own scan reports the failing read as before).
load programs/unreadable_operands.awl
show kop
draw kop 1 1
step
echo -- the view still draws after the failed scan
set VD0 16#08000010
show kop
