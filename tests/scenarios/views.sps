# The status window contents: the ladder view, the AS-i status, the CPU
# status and the trace, as text (show) and as drawing primitives (draw).

echo -- no program: the ladder view is empty, and there is no trace yet
show kop
show trace
draw trace
load programs/ladder.awl
switch 0 1
step
echo -- show kop: * marks what carries power in the last scan
show kop
echo -- show kop plain: the ladder as it always was
show kop plain
echo -- draw kop
draw kop
echo -- draw kop 1 1
draw kop 1 1
echo -- trace
trace
echo -- show trace
show trace
echo -- draw trace 10 20
draw trace 10 20
echo -- a load closes the trace window
load programs/ladder.awl
show trace
echo -- show cpu
set AC1 16#CAFE
set MB17 16#AB
show cpu
echo -- show asi
show asi
echo -- draw asi
draw asi
