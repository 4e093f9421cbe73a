#pragma once

#include <string>
#include <string_view>

#include "cli/script_result.h"

namespace sps {

// What a script run in a child process hands back to spsrun: its result and
// what it printed on standard output and standard error.
struct TransferredRun {
    ScriptResult result;
    std::string out;
    std::string err;
};

// As bytes, and back; false for bytes that are not a whole run (a process
// that ended while writing them).
std::string packRun(const TransferredRun& run);
bool unpackRun(std::string_view bytes, TransferredRun& run);

} // namespace sps
