#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/script_result.h"

namespace sps {

class Output;

struct ScriptOptions {
    std::uint32_t seed = 1;
    // Real time after which a script is stopped; 0: no limit. A script stuck
    // where it cannot be stopped ends the whole process a moment later (see
    // Watchdog).
    std::uint32_t timeoutSeconds = 0;
    // Complaints on standard error name the script ("spsrun: NAME: line L:
    // ..."), for runs of several scripts.
    bool nameInComplaints = false;
    // A program loaded before the first line (`spsrun grade`); when it does
    // not load, the script does not run and its first case ends with the
    // error "load failed".
    std::string programPath;
};

// Runs the script read from `script` as if spsrun had just started: the clock
// as at start-up, switched to manual mode at 0 ms before the station and the
// CPU are created, the random source seeded with the option's seed, a fresh
// simulator with no program, stopped. Everything the script prints goes to
// `output`; the result holds its cases under the script's `name`. Nothing of
// the process is ended or left behind, so scripts can run one after another.
ScriptResult runScript(std::istream& script, std::string name, const ScriptOptions& options, Output& output);

} // namespace sps
