# run: status=2
# A word that is not one of the choices is an invalid line.
nudge sideways
