#pragma once

#include <span>

namespace sps {

class Output;

// spsrun grade FOLDER --test SCRIPT [--junit FILE] [--csv FILE] [--jobs N]
// [--seed N] [--timeout SECONDS]: the test against every *.awl file of the
// folder, each loaded on a fresh simulator in a process of its own; the
// points table on standard output. Returns the exit status.
int runGrade(std::span<const char* const> arguments, Output& output);

} // namespace sps
