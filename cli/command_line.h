#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/script_runner.h"

namespace sps {

// The most scripts that run at once (--jobs), and the longest --timeout.
inline constexpr unsigned MAX_JOBS = 64;
inline constexpr std::uint32_t MAX_TIMEOUT_SECONDS = 1000000;

// A decimal number from `min` to `max` and nothing else, into `number`.
bool parseNumber(std::string_view text, std::uint32_t min, std::uint32_t max, std::uint32_t& number);

// What the command line asks for:
// spsrun [--seed N] [--timeout SECONDS] [--junit FILE] [--jobs N] [SCRIPT...], or
// spsrun --help | --version.
struct CommandLine {
    bool help = false;
    bool version = false;
    ScriptOptions options;
    // None: standard input; "-" stands for it too.
    std::vector<std::string> scriptPaths;
    // Empty: no report.
    std::string junitPath;
    // How many scripts run at once, each in a process of its own.
    unsigned jobs = 1;
};

// Empty when the arguments are not understood; `problem` then says why.
std::optional<CommandLine> parseCommandLine(std::span<const char* const> arguments, std::string& problem);

// The short usage that follows a complaint about the command line.
std::string usageLine();

// The usage, the options and the command list.
std::string helpText();

// "spsrun VERSION", the version of the whole simulator.
std::string versionText();

} // namespace sps
