# An error while a scan runs keeps its message and says on a second line
# where it happened: the block, the network as numbered in the file and the
# instruction with its operands. In a subroutine it is the instruction there,
# not the call. A trace shows the message alone, as its only line.
load programs/flag_beyond_area.awl
step
load programs/subroutine_and_loop_errors.awl
step
set MB0 1
step
set MB0 2
step
set MB0 1
trace
