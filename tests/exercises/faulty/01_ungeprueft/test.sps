# A test with faults the suite must find: it loads a program itself, one
# check has no explanation, and it never uses A0.5, which the task names.
# The load fails, so the model solution does not pass and the template errs.
load ../vorlage.awl
switch 0 1
step
expect A0.0 1
