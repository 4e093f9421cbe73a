# run: args=convert,programs/import/foerderband_1252.awl,--to,international
# Converts a German program in Windows-1252 into the international set.
