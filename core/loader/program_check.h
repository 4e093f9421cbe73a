#pragma once

#include <optional>
#include <string>

#include "messages/cpu_exception.h"

namespace sps {

// How a program file is read: the simulator's own loading, or the import
// (with the symbol table at `symbolsPath`, or the one beside the file).
struct ProgramReading {
    bool import = false;
    std::string symbolsPath;
};

// Reads the program file at `path` the way `reading` says into a CPU of its
// own, without running it: the error that stopped the reading (with the
// text and line the load would show), or none when the file loads. No
// program anywhere changes.
std::optional<CPUException> checkProgramFile(const std::string& path, const ProgramReading& reading);

} // namespace sps
