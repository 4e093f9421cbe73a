# The trace of an endless loop: the traced scan runs until the loop guard
# stops it, as an untraced scan does, and the error is the trace's only line.
# The trace keeps only its first lines, so this takes a moment, not minutes
# and gigabytes.
load programs/endless_loop.awl
trace
echo -- the traced scan ran to the loop guard: each pass is four instructions (LBL, LD, INCD, JMP)
print MD0 /D
