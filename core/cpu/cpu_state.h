#pragma once

namespace sps {

class CPU;
class StateArchive;

// The CPU's part of the simulation state, as the scan history keeps it: the
// memory areas, timers, counters, accumulators, the scan count, the run
// state of every instruction of the loaded program (edge and counter-input
// memories) and the forced operands. Between two scans nothing else of the
// CPU carries over: every scan starts its logic stack, segments, calls and
// jumps afresh. Reading it back (for the same program) drops the one-time
// writes that wait for the next scan.
void visitCpuState(StateArchive& archive, CPU& cpu);

} // namespace sps
