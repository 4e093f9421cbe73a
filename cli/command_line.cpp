#include "cli/command_line.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_table.h"
#include "shell/command_options.h"

namespace sps {

bool parseNumber(std::string_view text, std::uint32_t min, std::uint32_t max, std::uint32_t& number) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return false;
    number = value;
    return true;
}

namespace {

const std::string SEED_PROBLEM = "--seed needs a number from 0 to 4294967295";
const std::string TIMEOUT_PROBLEM =
    "--timeout needs a number of seconds from 1 to " + std::to_string(MAX_TIMEOUT_SECONDS);
const std::string JUNIT_PROBLEM = "--junit needs the name of the report file";
const std::string JOBS_PROBLEM = "--jobs needs a number of processes from 1 to " + std::to_string(MAX_JOBS);

bool fail(std::string& problem, const std::string& text) {
    problem = text;
    return false;
}

// Every option, in the order --help lists them.
const std::vector<OptionSpec<CommandLine>>& options() {
    static const std::vector<OptionSpec<CommandLine>> list = {
        {"--help", "", "", [](CommandLine& line, std::string_view, std::string&) { return line.help = true; }},
        {"--version", "", "", [](CommandLine& line, std::string_view, std::string&) { return line.version = true; }},
        {"--seed", "N", "seed of the random source, 0 to 4294967295 (default 1)",
         [](CommandLine& line, std::string_view value, std::string& problem) {
             return parseNumber(value, 0, UINT32_MAX, line.options.seed) || fail(problem, SEED_PROBLEM);
         },
         SEED_PROBLEM},
        {"--timeout", "SECONDS",
         "stop a script that runs longer; its open case becomes an\n"
         "error \"timeout after SECONDS s\" and the next script runs",
         [](CommandLine& line, std::string_view value, std::string& problem) {
             return parseNumber(value, 1, MAX_TIMEOUT_SECONDS, line.options.timeoutSeconds) ||
                    fail(problem, TIMEOUT_PROBLEM);
         },
         TIMEOUT_PROBLEM},
        {"--junit", "FILE", "write a JUnit XML report of every script and case to FILE",
         [](CommandLine& line, std::string_view value, std::string& problem) {
             line.junitPath = value;
             return !value.empty() || fail(problem, JUNIT_PROBLEM);
         },
         JUNIT_PROBLEM},
        {"--jobs", "N",
         "run N scripts at once, each in a process of its own (1 to 64,\n"
         "default 1); the output comes in the order of the scripts",
         [](CommandLine& line, std::string_view value, std::string& problem) {
             std::uint32_t jobs = 0;
             if (!parseNumber(value, 1, MAX_JOBS, jobs)) return fail(problem, JOBS_PROBLEM);
             line.jobs = jobs;
             return true;
         },
         JOBS_PROBLEM},
    };
    return list;
}

bool scriptPath(CommandLine& line, std::string_view argument, std::string&) {
    line.scriptPaths.emplace_back(argument);
    return true;
}

} // namespace

std::optional<CommandLine> parseCommandLine(std::span<const char* const> arguments, std::string& problem) {
    return parseOptions<CommandLine>(options(), arguments, scriptPath, problem);
}

// The line that complaints end with stays as scripts and graders know it;
// --help lists --jobs with the other options.
std::string usageLine() { return "usage: spsrun [--seed N] [--timeout SECONDS] [--junit FILE] [SCRIPT...]"; }

std::string helpText() {
    return usageLine() + "\n" +
           "       spsrun convert FILE [--to deutsch|international] [-o OUT]\n"
           "       spsrun grade FOLDER --test SCRIPT [--junit FILE] [--csv FILE] [--jobs N]\n"
           "       spsrun check [--import] FILE...\n"
           "       spsrun --help | --version\n"
           "\n"
           "Runs the simulator without a window, driven by the commands in each SCRIPT\n"
           "(standard input when no SCRIPT is given or for \"-\"). Every script starts on\n"
           "a fresh simulator: the clock in manual mode at 0 ms, the random source seeded\n"
           "with N (default 1), no program loaded, the simulation stopped. With more\n"
           "than one script, each one's output follows a line \"== SCRIPT\".\n"
           "\n"
           "Options:\n" +
           optionLines<CommandLine>(options(), 21) +
           "\n"
           "convert imports FILE (a program of the controller's programming software, in\n"
           "either mnemonic set, with the symbol table FILE.csv beside it if there is one)\n"
           "and writes it in the simulator's own format, German unless --to says\n"
           "otherwise, to OUT or standard output.\n"
           "\n"
           "grade runs the test SCRIPT against every *.awl file in FOLDER (the\n"
           "submissions of a class), each on a fresh simulator with the file loaded\n"
           "first, in a process of its own (at most 60 s each unless --timeout says\n"
           "otherwise), and prints a table of the points each one got per case\n"
           "(\"punkte N\" in a case: its weight); --csv writes the table as a grade\n"
           "sheet, --junit one test suite per submission. Exit status 0 when every\n"
           "submission got every point, 1 otherwise, 2 when FOLDER or SCRIPT is unusable.\n"
           "\n"
           "check (also --check) reads each FILE as load does (as convert does with\n"
           "--import) without running it and prints each error as \"FILE:LINE: Fehler:\n"
           "TEXT\"; exit status 0 when every file loads, 1 otherwise.\n"

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
