# Programs written with the controller's own programming software: the
# international set with a symbol table beside the file, comments and blank
# lines anywhere, a subroutine called by its name; then a German program in
# Windows-1252; then what the import refuses.
load programs/import/ampel_export.awl
import programs/import/ampel_export.awl
step
print M0.0 Q0.0 Q0.1 Q0.2
switch 0 1
step
switch 0 0
run 2000
print M0.0 T37 Q0.0 Q0.1 Q0.2
run 4000
print M0.0 T37 Q0.0 Q0.1 Q0.2
print E0.0 I0.0 C1
show kop
trace
import programs/import/foerderband_1252.awl
switch 0 1
step 2
print A0.0 Q0.0
show kop
import programs/import/mixed.awl
import programs/import/interrupts.awl
import programs/import/missing.awl
print A0.0
