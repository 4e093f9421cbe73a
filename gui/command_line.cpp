#include "gui/command_line.h"

#include <charconv>
#include <string_view>

namespace sps {

namespace {

bool parseCount(std::string_view text, long long& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && count >= 0;
}

} // namespace

std::optional<GuiCommandLine> parseGuiCommandLine(std::span<const char* const> arguments, std::string& problem) {
    GuiCommandLine line;
    bool haveProgram = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--help") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--manual-clock") {
            line.manualClock = true;
        } else if (argument == "--steps") {
            if (!hasValue || !parseCount(arguments[i + 1], line.steps)) {
                problem = "--steps needs a number of steps from 0 to 9223372036854775807";
                return std::nullopt;
            }
            ++i;
        } else if (argument == "--screenshot") {
            if (!hasValue || std::string_view(arguments[i + 1]).empty()) {
                problem = "--screenshot needs the name of a PNG file";
                return std::nullopt;
            }
            line.screenshot = arguments[++i];
        } else if (argument.size() > 1 && argument.front() == '-') {
            problem = "unknown option '" + std::string(argument) + "'";
            return std::nullopt;
        } else if (haveProgram) {
            problem = "only one program can be loaded";
            return std::nullopt;
        } else {
            line.program = argument;
            haveProgram = true;
        }
    }
    return line;
}

std::string guiHelpText() {
    return "usage: spssim [--manual-clock] [--steps N] [--screenshot FILE.png] [PROGRAM.awl]\n"
           "       spssim --help | --version\n"
           "\n"
           "Opens the simulator's window. PROGRAM.awl is loaded at the start as if it\n"
           "had been chosen with \"Datei/Laden\"; a loaded program runs at once.\n"
           "\n"
           "  --manual-clock         start with the manual clock at 0 ms\n"
           "  --steps N              run N simulation steps after the load\n"
           "  --screenshot FILE.png  write a picture of the whole window to FILE.png after\n"
           "                         that and end; needs no display (without one it draws\n"
           "                         on Qt's offscreen platform); error boxes become lines\n"
           "                         \"Fehler: ...\" on standard error\n"
           "\n"
           "Exit status: 0 after the window is closed or the screenshot is written, 1\n"
           "when the screenshot cannot be written or an error box would have been shown,\n"
           "2 for a mistake on the command line.\n";
}

std::string guiVersionText() { return "spssim " SPS_VERSION "\n"; }

} // namespace sps
