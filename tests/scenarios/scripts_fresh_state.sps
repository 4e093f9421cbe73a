# run: args=suite/changes_state.sps,%
# Every script starts as a lone run does, whatever the script before it left:
# the manual clock at 0 ms, the seed of the command line, no program, a fresh
# station.
time
print AEW0
step
print MW0 MW10
station joystickRight
clock auto
faster
