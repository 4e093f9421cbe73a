# run: status=2
# An unknown command ends the script with exit status 2; the lines before it ran.
echo before
frobnicate 3
echo after
