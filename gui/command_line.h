#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gui/status_windows.h"
#include "shell/recorder.h"

namespace sps {

// An operand to record from the start, with a format of `print` (as VCD8/R) or
// in its own.
struct RecordedOperandText {
    std::string operand;
    std::optional<SignalType> type;
};

// spssim [--manual-clock] [--record LIST] [--steps N] [--run MS] [--open LIST] [--network-steps N] [--back N]
//        [--screenshot FILE.png] [PROGRAM.awl | --import FILE]
struct GuiCommandLine {
    bool help = false;
    bool version = false;
    bool manualClock = false;
    long long steps = 0;
    // Milliseconds of simulated time to run on the manual clock after the steps.
    std::uint32_t runMs = 0;
    // Recorded from the first step on, in the order given.
    std::vector<RecordedOperandText> record;
    // The status windows to open at the start, in the order given, each once.
    std::vector<StatusWindow> open;
    // Network steps run after the windows are open, from a stop.
    int networkSteps = 0;
    int backSteps = 0;
    std::string screenshot;
    std::string program;
    // The program is imported ("Datei/Importieren") rather than loaded.
    bool importProgram = false;
};

// Parses the arguments after the program name. On a mistake: nullopt, with
// `problem` saying what is wrong in one line.
std::optional<GuiCommandLine> parseGuiCommandLine(std::span<const char* const> arguments, std::string& problem);

std::string guiHelpText();
// The picture of a status window beside the screenshot FILE.png: FILE-NAME.png.
std::string statusScreenshotPath(const std::string& screenshot, StatusWindow window);
std::string guiVersionText();

} // namespace sps
