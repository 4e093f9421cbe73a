#include "cli/command_line.h"

#include <charconv>
#include <string_view>

#include "cli/command_table.h"

namespace sps {

namespace {

bool parseSeed(std::string_view text, std::uint32_t& seed) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<CommandLine> parseCommandLine(std::span<const char* const> arguments, std::string& problem) {
    CommandLine line;
    bool haveScript = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help") {
            line.help = true;
        } else if (argument == "--seed") {
            if (i + 1 >= arguments.size() || !parseSeed(arguments[i + 1], line.seed)) {
                problem = "--seed needs a number from 0 to 4294967295";
                return std::nullopt;
            }
            ++i;
        } else if (argument.size() > 1 && argument.front() == '-') {
            problem = "unknown option '" + std::string(argument) + "'";
            return std::nullopt;
        } else if (haveScript) {
            problem = "only one script can be run";
            return std::nullopt;
        } else {
            line.scriptPath = argument;
            haveScript = true;
        }
    }
    return line;
}

std::string helpText() {
    return "usage: spsrun [--seed N] [SCRIPT]\n"
           "       spsrun --help\n"
           "\n"
           "Runs the simulator without a window, driven by the commands in SCRIPT\n"
           "(standard input when SCRIPT is missing or \"-\"). The clock starts in manual\n"
           "mode at 0 ms, the random source is seeded with N (default 1), no program is\n"
           "loaded and the simulation is stopped.\n"
           "\n"
           "One command per line; \"#\" at the start of a word begins a comment.\n"
           "OPERAND and VALUE use the program's operand syntax (E0.0, MW4, VD100, T37,\n"
           "Z0, AC1, AEW0, 16#FF, -5, 1.5); counts are decimal.\n"
           "\n"
           "Commands:\n" +
           commandListing() +
           "\n"
           "Exit status: 0 when the script ran and every expect held, 1 when an expect\n"
           "failed, 2 when a line is not a valid command or the script cannot be read.\n";
}

} // namespace sps
