# run: status=2 args=--seed,x,%
# --seed needs a number.
