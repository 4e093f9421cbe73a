# run: status=1 args=check,--import,programs/import/ampel_export.awl,programs/import/mixed.awl,programs/import/interrupts.awl
# check --import reads the files as the import does: the symbol table beside
# a file is used, and an error names the line that the import names. This
# file is not read.
