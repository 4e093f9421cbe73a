#pragma once

#include <optional>
#include <span>
#include <string>

namespace sps {

// spssim [--manual-clock] [--steps N] [--screenshot FILE.png] [PROGRAM.awl]
struct GuiCommandLine {
    bool help = false;
    bool version = false;
    bool manualClock = false;
    long long steps = 0;
    std::string screenshot;
    std::string program;
};

// Parses the arguments after the program name. On a mistake: nullopt, with
// `problem` saying what is wrong in one line.
std::optional<GuiCommandLine> parseGuiCommandLine(std::span<const char* const> arguments, std::string& problem);

std::string guiHelpText();
std::string guiVersionText();

} // namespace sps
