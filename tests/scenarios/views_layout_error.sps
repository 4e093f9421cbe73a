# A program whose ladder view cannot be laid out: show and draw print the
# error and nothing else, and the run goes on as when the window fails to open.
load programs/layout_error.awl
switch 0 1
show kop
draw kop
continue
step
print A0.0
