#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gui/status_windows.h"

namespace sps {

// spssim [--manual-clock] [--steps N] [--open LIST] [--screenshot FILE.png] [PROGRAM.awl]
struct GuiCommandLine {
    bool help = false;
    bool version = false;
    bool manualClock = false;
    long long steps = 0;
    // The status windows to open at the start, in the order given, each once.
    std::vector<StatusWindow> open;
    std::string screenshot;
    std::string program;
};

// Parses the arguments after the program name. On a mistake: nullopt, with
// `problem` saying what is wrong in one line.
std::optional<GuiCommandLine> parseGuiCommandLine(std::span<const char* const> arguments, std::string& problem);

std::string guiHelpText();
// The picture of a status window beside the screenshot FILE.png: FILE-NAME.png.
std::string statusScreenshotPath(const std::string& screenshot, StatusWindow window);
std::string guiVersionText();

} // namespace sps
