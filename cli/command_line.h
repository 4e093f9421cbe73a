#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sps {

// What the command line asks for: spsrun [--seed N] [SCRIPT], or spsrun --help.
struct CommandLine {
    bool help = false;
    std::uint32_t seed = 1;
    // Empty or "-": standard input.
    std::string scriptPath;
};

// Empty when the arguments are not understood; `problem` then says why.
std::optional<CommandLine> parseCommandLine(std::span<const char* const> arguments, std::string& problem);

// The usage line and the command list.
std::string helpText();

} // namespace sps
