# Stops on its third line.
expect MB0 0
switch 9
echo not reached
