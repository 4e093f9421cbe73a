# run: status=2 args=convert,programs/import/mixed.awl
# A file that does not import is not converted.
