#include "cli/command_line.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "cli/command_table.h"

namespace sps {

namespace {

constexpr std::uint32_t MAX_TIMEOUT_SECONDS = 1000000;

bool parseNumber(std::string_view text, std::uint32_t min, std::uint32_t max, std::uint32_t& number) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return false;
    number = value;
    return true;
}

} // namespace

std::optional<CommandLine> parseCommandLine(std::span<const char* const> arguments, std::string& problem) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool haveValue = i + 1 < arguments.size();
        if (argument == "--help") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--seed") {
            if (!haveValue || !parseNumber(arguments[i + 1], 0, UINT32_MAX, line.options.seed)) {
                problem = "--seed needs a number from 0 to 4294967295";
                return std::nullopt;
            }
            ++i;
        } else if (argument == "--timeout") {
            if (!haveValue || !parseNumber(arguments[i + 1], 1, MAX_TIMEOUT_SECONDS, line.options.timeoutSeconds)) {
                problem = "--timeout needs a number of seconds from 1 to " + std::to_string(MAX_TIMEOUT_SECONDS);
                return std::nullopt;
            }
            ++i;
        } else if (argument == "--junit") {
            if (!haveValue || std::string_view(arguments[i + 1]).empty()) {
                problem = "--junit needs the name of the report file";
                return std::nullopt;
            }
            line.junitPath = arguments[++i];
        } else if (argument.size() > 1 && argument.front() == '-') {
            problem = "unknown option '" + std::string(argument) + "'";
            return std::nullopt;
        } else {
            line.scriptPaths.emplace_back(argument);
        }
    }
    return line;
}

std::string usageLine() { return "usage: spsrun [--seed N] [--timeout SECONDS] [--junit FILE] [SCRIPT...]"; }

std::string helpText() {
    return usageLine() + "\n" +
           "       spsrun --help | --version\n"
           "\n"
           "Runs the simulator without a window, driven by the commands in each SCRIPT\n"
           "(standard input when no SCRIPT is given or for \"-\"). Every script starts on\n"
           "a fresh simulator: the clock in manual mode at 0 ms, the random source seeded\n"
           "with N (default 1), no program loaded, the simulation stopped. With more\n"
           "than one script, each one's output follows a line \"== SCRIPT\".\n"
           "\n"
           "Options:\n"
           "  --seed N           seed of the random source, 0 to 4294967295 (default 1)\n"
           "  --timeout SECONDS  stop a script that runs longer; its open case becomes an\n"
           "                     error \"timeout after SECONDS s\" and the next script runs\n"
           "  --junit FILE       write a JUnit XML report of every script and case to FILE\n"

           "\n"
           "One command per line; \"#\" at the start of a word begins a comment.\n"
           "OPERAND and VALUE use the program's operand syntax (E0.0, MW4, VD100, T37,\n"
           "Z0, AC1, AEW0, 16#FF, -5, 1.5); counts are decimal.\n"
           "\n"
           "Commands:\n" +
           commandListing() +
           "\n"
           "print's /S, /U, /H and /2 show the value at the operand's own width as signed\n"
           "or unsigned decimal, hex (16#...) or binary (2#...).\n"
           "\n"
           "A forced operand is written after the inputs are read at the start of every\n"
           "scan and again before the outputs are written at its end; reset keeps the\n"
           "forces, load clears them.\n"
           "\n"
           "CONDITION is OPERAND REL VALUE, REL one of == (or =), <>, <, >, <=, >=, or\n"
           "OPERAND steigt|fällt (also faellt), an edge of a bit. Bits and bytes compare\n"
           "unsigned, words and double words signed, a real VALUE with the double word read\n"
           "as a real. step, tick and run stop after the step in which a breakpoint becomes\n"
           "true and print \"Haltepunkt N: CONDITION (Zyklus K)\". until runs steps (on the\n"
           "manual clock each after 10 ms) until CONDITION holds, at most N (default\n"
           "100000), and prints \"until: CONDITION nach K Schritten\" or \"until failed\n"
           "(line L): CONDITION nicht erreicht nach N Schritten\", a failed expect.\n"
           "\n"
           "Test cases: \"case NAME\" begins a case; the expects up to the next case or\n"
           "the script's end belong to it. Lines before the first case belong to a case\n"
           "named after the script (counted when they hold an expect or the script has\n"
           "no case). A case passes when none of its expects failed and no error stopped\n"
           "it. With more than one script or with cases, a last line counts them:\n"
           "\"N cases, P passed, F failed\", followed by \", E errors\" if there were any.\n"
           "\n"
           "Exit status: 0 when every case passed, 1 when an expect failed, 2 when a\n"
           "script has a line that is not a valid command, cannot be read, ran out of\n"
           "time or exports a file that cannot be written (the other scripts still run),\n"
           "or standard output or the report cannot be written.\n";
}

std::string versionText() { return "spsrun " SPS_VERSION "\n"; }

} // namespace sps
