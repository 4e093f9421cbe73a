#pragma once

#include <cstdint>
#include <string>

namespace sps {

// One executed instruction of a traced scan, for the trace window's table:
// where it stands, how deep in subroutines, what it is, the values at its
// pins and the top four bits of the logic stack (the top in bit 0), before
// and after it ran.
struct TraceRow {
    std::string block; // the block's label ("OB1")
    int network = 0;   // the network's number
    int depth = 0;     // subroutine frames open
    std::string instruction;
    std::string valuesBefore; // "E0.0=1 MW2=5"
    std::string valuesAfter;
    std::uint8_t stackBefore = 0;
    std::uint8_t stackAfter = 0;
};

} // namespace sps
