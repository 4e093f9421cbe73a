# run: args=convert,programs/import/ampel_export.awl
# Converts an export in the international set with its symbol table into the
# simulator's own format (German).
