#include "cli/command_table.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/command_handlers.h"
#include "cli/script_session.h"

namespace sps {

namespace {

constexpr int ANY = CommandSpec::ANY_COUNT;

// Every command, in the order `--help` lists them.
constexpr std::array COMMANDS{
    CommandSpec{"load", "PATH", 1, 1, loadCommand, "load a program file and start running it"},
    CommandSpec{"import", "PATH [SYMBOLS]", 1, 2, importCommand,
                "import a program of the controller's software, then as load"},
    CommandSpec{"continue", "", 0, 0, continueCommand, "start running (only while stopped)"},
    CommandSpec{"stop", "", 0, 0, stopCommand, "stop running (only while running)"},
    CommandSpec{"reset", "", 0, 0, resetCommand, "reset the CPU"},
    CommandSpec{"step", "[N]", 0, 2, stepCommand,
                "N simulation steps (default 1), in either run state; step network [N]: network steps"},
    CommandSpec{"tick", "[N]", 0, 1, tickCommand, "N timer ticks: three steps each while running"},
    CommandSpec{"trace", "", 0, 0, traceCommand, "one traced step; prints the trace"},
    CommandSpec{"back", "[N]", 0, 1, backCommand, "while stopped: back N scans in the history (default 1)"},
    CommandSpec{"goto", "cycle N", 2, 2, gotoCommand, "while stopped: to the state after cycle N in the history"},
    CommandSpec{"history", "[on|off|N]", 0, 1, historyCommand,
                "print what the scan history keeps; switch it, or keep N scans"},
    CommandSpec{"clock", "manual|auto", 1, 1, clockCommand, "switch the clock to manual (at 0 ms) or automatic"},
    CommandSpec{"slower", "", 0, 0, slowerCommand, "automatic clock: divisor + 1"},
    CommandSpec{"faster", "", 0, 0, fasterCommand, "automatic clock: divisor - 1"},
    CommandSpec{"advance", "MS", 1, 1, advanceCommand, "manual clock: add MS milliseconds"},
    CommandSpec{"run", "MS [DT]", 1, 2, runCommand, "manual clock: advance DT (default 10) and step, for MS ms"},
    CommandSpec{"time", "", 0, 0, timeCommand, "print the simulation time in ms"},
    CommandSpec{"switch", "K [0|1]", 1, 2, switchCommand, "toggle or set switch K (0..7)"},
    CommandSpec{"button", "K [0|1]", 1, 2, buttonCommand, "toggle or set push button K (0..3)"},
    CommandSpec{"einls", "[0|1]", 0, 1, entryBarrierCommand, "toggle or set the entry light barrier"},
    CommandSpec{"part", "B [0|1]", 1, 2, partCommand, "toggle or set workpiece property B (0..4)"},
    CommandSpec{"sonar", "R", 1, 1, sonarCommand, "select sonar range R (0..3)"},
    CommandSpec{"joystick", "DX DY", 2, 2, joystickCommand, "move the joystick knob to DX DY (pixels)"},
    CommandSpec{"center", "", 0, 0, centerCommand, "centre the joystick"},
    CommandSpec{"nudge", "up|down", 1, 1, nudgeCommand, "nudge the carrier up or down"},
    CommandSpec{"fault", "INPUT KIND [N [M]]", 1, 4, faultCommand,
                "break a station input (fault clear [INPUT|all]: mend it)"},
    CommandSpec{"faults", "", 0, 0, faultsCommand, "print the faults on the station, one a line"},
    CommandSpec{"set", "OPERAND VALUE", 2, 2, setCommand, "write VALUE to an operand"},
    CommandSpec{"print", "OPERAND... [/I|/B|/W|/D|/R]", 1, ANY, printCommand, "print operands (also /S /U /H /2)"},
    CommandSpec{"expect", "OPERAND VALUE", 2, 2, expectCommand, "check an operand's value (exit status 1 if not)"},
    CommandSpec{"record", "OPERAND [/F]...|stop|clear", 1, ANY, recordCommand,
                "record operands (each as print's /F) after every step"},
    CommandSpec{"export", "vcd|csv FILE", 2, 2, exportCommand, "write the recording to FILE (-: standard output)"},
    CommandSpec{"force", "OPERAND VALUE", 2, 2, forceCommand, "hold an operand at VALUE in every scan"},
    CommandSpec{"unforce", "OPERAND|all", 1, 1, unforceCommand, "stop forcing an operand, or all of them"},
    CommandSpec{"forces", "", 0, 0, forcesCommand, "print the forced operands and their values"},
    CommandSpec{"write", "OPERAND VALUE", 2, 2, writeCommand, "write VALUE once, at the start of the next scan"},
    CommandSpec{"break", "CONDITION", 2, 3, breakCommand,
                "set a breakpoint: step, tick and run stop on it; break network BLOCK N: before it"},
    CommandSpec{"breaks", "", 0, 0, breaksCommand, "print the breakpoints, numbered"},
    CommandSpec{"unbreak", "N|all", 1, 1, unbreakCommand, "remove breakpoint N, or all of them"},
    CommandSpec{"until", "CONDITION [max N]", 2, 5, untilCommand,
                "step until CONDITION holds (a failed expect if not)"},
    CommandSpec{"station", "[FIELD]", 0, 1, stationCommand, "print the station's fields"},
    CommandSpec{"show", "kop|asi|cpu|trace", 1, 2, showCommand,
                "print a status window's content as text (kop: * marks power; show kop plain)"},
    CommandSpec{"draw", "kop|asi|cpu|trace [U V]", 1, 3, drawCommand, "list a content's lines and texts"},
    CommandSpec{"seed", "N", 1, 1, seedCommand, "reseed the random source"},
    CommandSpec{"echo", "TEXT", 0, ANY, echoCommand, "print TEXT"},
    CommandSpec{"case", "NAME...", 1, ANY, caseCommand, "begin the test case NAME, up to the next case"},
    CommandSpec{"punkte", "N", 1, 1, pointsCommand, "what the open case is worth in spsrun grade (default 1)"},
    CommandSpec{"quit", "", 0, 0, quitCommand, "end the script"},
};

std::string usage(const CommandSpec& spec) {
    std::string text(spec.name);
    if (!spec.arguments.empty()) text.append(" ").append(spec.arguments);
    return text;
}

} // namespace

void CommandCall::reject(std::string_view detail) const {
    throw ScriptError(std::string(spec.name) + ": " + std::string(detail) + " (usage: " + usage(spec) + ")");
}

std::uint32_t CommandCall::count(std::size_t index, std::uint32_t min, std::uint32_t max, std::string_view what) const {
    const std::string& word = arguments.at(index);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || value < min || value > max)
        reject(std::string(what) + " must be a number from " + std::to_string(min) + " to " + std::to_string(max) +
               ", not '" + word + "'");
    return value;
}

std::int32_t CommandCall::signedNumber(std::size_t index, std::string_view what) const {
    const std::string& word = arguments.at(index);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        reject(std::string(what) + " must be a whole number, not '" + word + "'");
    return value;
}

std::size_t CommandCall::choice(std::size_t index, std::span<const std::string_view> choices) const {
    const std::string& word = arguments.at(index);
    const auto found = std::find(choices.begin(), choices.end(), word);
    if (found == choices.end()) reject("unknown argument '" + word + "'");
    return static_cast<std::size_t>(found - choices.begin());
}

const CommandSpec* findCommand(std::string_view name) {
    const auto found =
        std::find_if(COMMANDS.begin(), COMMANDS.end(), [name](const CommandSpec& spec) { return spec.name == name; });
    return found == COMMANDS.end() ? nullptr : &*found;
}

std::string commandListing() {
    std::size_t width = 0;
    for (const CommandSpec& spec : COMMANDS) width = std::max(width, usage(spec).size());
    std::string listing;
    for (const CommandSpec& spec : COMMANDS) {
        const std::string text = usage(spec);
        listing.append("  ").append(text).append(width + 2 - text.size(), ' ').append(spec.summary).append("\n");
    }
    return listing;
}

} // namespace sps
