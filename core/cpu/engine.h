#pragma once

#include <string>

namespace sps {

class CPU;
struct Block;

// More instructions than this in one scan end it with "Possible loop dedected".
// The fuzz build stops a scan after far fewer, so that an endless loop costs
// the fuzzer milliseconds per input instead of a second.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr int LOOP_LIMIT = 20000;
#else
inline constexpr int LOOP_LIMIT = 10000000;
#endif

// Subroutine calls nest at most this deep; a deeper call ends the scan with
// "Subroutines nested too deeply" long before the native stack runs out.
inline constexpr int MAX_CALL_DEPTH = 256;

// One scan: input image from the bus, 10-ms timers, every organization block
// in program order, the special bits, output image to the bus. A CPUException
// ends the scan and reaches the caller unchanged; CPU::faultPlace then says
// which instruction raised it.
void scanCycle(CPU& cpu);

// Clears every instruction's own state, the output image and the timers and
// sets the start-up special bits; memories, counters and inputs keep their values.
void resetCpu(CPU& cpu);

// Runs one block network by network (used by the scan and by CALL).
void executeBlock(CPU& cpu, const Block& block);

// The first subroutine block named exactly `name`, or null.
const Block* findSubroutine(const CPU& cpu, const std::string& name);

} // namespace sps
