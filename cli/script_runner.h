#pragma once

#include <cstdint>
#include <iosfwd>

namespace sps {

class Output;

// Exit statuses of a script run.
enum ScriptStatus : int {
    SCRIPT_PASSED = 0,
    SCRIPT_EXPECT_FAILED = 1,
    SCRIPT_INVALID = 2,
};

// Runs the script read from `script` on a fresh simulator: the clock in
// manual mode at 0 ms before the station and the CPU are created, the random
// source seeded with `seed`, no program, stopped.
ScriptStatus runScript(std::istream& script, std::uint32_t seed, Output& output);

} // namespace sps
