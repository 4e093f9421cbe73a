# A test with faults the suite must find: it loads a program itself, one
# check has no explanation, and it never uses A0.5, which the task names.
# Its own load fails; the program being graded stays loaded.
load ../vorlage.awl
switch 0 1
step
expect A0.0 1
