# The random source starts with seed 1: the same numbers as after "seed 1".
print AEW0 AEW0
seed 1
print AEW0 AEW0
