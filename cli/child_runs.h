#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "cli/result_transfer.h"

namespace sps {

class Output;

// How one run in a child process ended: what it handed back, or, when it
// handed back nothing whole, why (its exit status or the signal that ended
// it, with `timedOut` for the exit status of spsrun's watchdog).
struct ChildRun {
    std::optional<TransferredRun> run;
    std::string failure;
    bool timedOut = false;
};

// Runs `run(i, output)` for i = 0 .. count - 1, each in a process of its own,
// at most `jobs` at a time; `output` of the child collects what the run
// prints. Hands each outcome to `done` in the order of i, as soon as it and
// every one before it have ended. A run that crashes or is killed ends only
// its own process.
void runInChildren(std::size_t count, unsigned jobs, const std::function<ScriptResult(std::size_t, Output&)>& run,
                   const std::function<void(std::size_t, ChildRun)>& done);

} // namespace sps
