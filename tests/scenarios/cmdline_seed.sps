# run: args=--seed,7,%
# --seed seeds the random source: unserved analog words read its numbers.
print AEW0 AEW0
seed 7
print AEW0 AEW0
seed 1
print AEW0
