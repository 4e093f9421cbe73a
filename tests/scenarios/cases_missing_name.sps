# run: status=2
# A case needs a name.
case
