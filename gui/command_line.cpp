#include "gui/command_line.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "gui/status_window_kinds.h"
#include "shell/command_options.h"

namespace sps {

namespace {

template <class Number> bool parseCount(std::string_view text, Number& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && count >= 0;
}

const char* const RECORD_PROBLEM = "--record needs operands separated by commas, each with an optional format "
                                   "/I, /B, /W, /D or /R (E0.0,MW2,VD8/R)";

// "E0.0,MW2,VD8/R": operands separated by commas, each with an optional
// format of `print`. The operands themselves are checked when recorded.
bool parseRecorded(std::string_view list, std::vector<RecordedOperandText>& operands) {
    constexpr std::string_view letters = "IBWDR";
    constexpr SignalType types[] = {SignalType::Bit, SignalType::Byte, SignalType::Word, SignalType::DoubleWord,
                                    SignalType::Real};
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::size_t slash = item.find('/');
        RecordedOperandText operand{std::string(item.substr(0, slash)), std::nullopt};
        if (operand.operand.empty()) return false;
        if (slash != std::string_view::npos) {
            const std::string_view format = item.substr(slash + 1);
            const std::size_t at = format.size() == 1 ? letters.find(format[0]) : std::string_view::npos;
            if (at == std::string_view::npos) return false;
            operand.type = types[at];
        }
        operands.push_back(std::move(operand));
        if (comma == std::string_view::npos) return true;
        list.remove_prefix(comma + 1);
    }
}

// "kop, asi, cpu, trace": every status window's name, from the kinds' table.
std::string statusWindowNames() {
    std::string names;
    for (const StatusWindowKind& kind : statusWindowKinds())
        names += (names.empty() ? "" : ", ") + std::string(kind.name);
    return names;
}

// A list of names separated by commas, each added once to `windows`.
bool parseWindows(std::string_view list, std::vector<StatusWindow>& windows, std::string& problem) {
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const StatusWindowKind* kind = findStatusWindowKind(name);
        if (kind == nullptr) {
            problem = "--open needs status windows separated by commas (" + statusWindowNames() + "), not '" +
                      std::string(name) + "'";
            return false;
        }
        if (std::find(windows.begin(), windows.end(), kind->window) == windows.end()) windows.push_back(kind->window);
        if (comma == std::string_view::npos) return true;
        list.remove_prefix(comma + 1);
    }
}

} // namespace

namespace {

const char* const STEPS_PROBLEM = "--steps needs a number of steps from 0 to 9223372036854775807";
const char* const RUN_PROBLEM = "--run needs a number of milliseconds from 0 to 4294967295";
const char* const NETWORK_STEPS_PROBLEM = "--network-steps needs a number of network steps from 0 to 2147483647";
const char* const BACK_PROBLEM = "--back needs a number of scans from 0 to 2147483647";
const char* const SCREENSHOT_PROBLEM = "--screenshot needs the name of a PNG file";
const char* const IMPORT_PROBLEM = "--import needs the name of a program file";

bool fail(std::string& problem, const std::string& text) {
    problem = text;
    return false;
}

using Option = OptionSpec<GuiCommandLine>;

// Every option, in the order --help lists them.
const std::vector<Option>& options() {
    static const std::vector<Option> list = {
        {"--help", "", "", [](GuiCommandLine& line, std::string_view, std::string&) { return line.help = true; }},
        {"--version", "", "", [](GuiCommandLine& line, std::string_view, std::string&) { return line.version = true; }},
        {"--manual-clock", "", "start with the manual clock at 0 ms",
         [](GuiCommandLine& line, std::string_view, std::string&) { return line.manualClock = true; }},
        {"--import", "FILE",
         "import FILE at the start as if it had been chosen with\n"
         "\"Datei/Importieren\" (instead of PROGRAM.awl)",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             if (value.empty()) return fail(problem, IMPORT_PROBLEM);
             if (!line.program.empty()) return fail(problem, "only one program can be loaded");
             line.program = value;
             line.importProgram = true;
             return true;
         },
         IMPORT_PROBLEM},
        {"--record", "LIST",
         "record the operands of LIST from the first step on\n"
         "(shown in the window \"Verlauf\"), separated by\n"
         "commas, each with an optional format of /I, /B, /W,\n"
         "/D or /R: E0.0,A0.0,MW2,VD8/R",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseRecorded(value, line.record) || fail(problem, RECORD_PROBLEM);
         },
         RECORD_PROBLEM},
        {"--steps", "N", "run N simulation steps after the load",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseCount(value, line.steps) || fail(problem, STEPS_PROBLEM);
         },
         STEPS_PROBLEM},
        {"--run", "MS",
         "then run MS ms of simulated time on the manual clock:\n"
         "10 ms on, one step, and again (starts the manual clock\n"
         "at 0 ms)",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseCount(value, line.runMs) || fail(problem, RUN_PROBLEM);
         },
         RUN_PROBLEM},
        {"--open",
         "LIST",
         "then open the status windows of LIST, names separated\n"
         "by commas: " +
             statusWindowNames() + "\n(\"trace\" runs a traced step)",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseWindows(value, line.open, problem);
         },
         {}},
        {"--network-steps", "N",
         "then stop and run N network steps (\"Run/Netzwerkschritt\"):\n"
         "the picture shows the scan stopped after a network",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseCount(value, line.networkSteps) || fail(problem, NETWORK_STEPS_PROBLEM);
         },
         NETWORK_STEPS_PROBLEM},
        {"--back", "N",
         "then stop and go back N scans (\"Run/Schritt zurück\"):\n"
         "the picture shows the state N scans before",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             return parseCount(value, line.backSteps) || fail(problem, BACK_PROBLEM);
         },
         BACK_PROBLEM},
        {"--screenshot", "FILE.png",
         "write a picture of the whole window to FILE.png after\n"
         "that and end, and one of each open status window to\n"
         "FILE-NAME.png (FILE-kop.png ...); needs no display\n"
         "(without one it draws on Qt's offscreen platform);\n"
         "error boxes become lines \"Fehler: ...\" on standard\n"
         "error",
         [](GuiCommandLine& line, std::string_view value, std::string& problem) {
             line.screenshot = value;
             return !value.empty() || fail(problem, SCREENSHOT_PROBLEM);
         },
         SCREENSHOT_PROBLEM},
    };
    return list;
}

bool programPath(GuiCommandLine& line, std::string_view argument, std::string& problem) {
    if (!line.program.empty()) return fail(problem, "only one program can be loaded");
    line.program = argument;
    return true;
}

} // namespace

std::optional<GuiCommandLine> parseGuiCommandLine(std::span<const char* const> arguments, std::string& problem) {
    // --open without its list names the windows it takes.
    static const std::string openProblem =
        "--open needs status windows separated by commas (" + statusWindowNames() + ")";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (std::string_view(arguments[i]) == "--open" && i + 1 == arguments.size()) {
            problem = openProblem;
            return std::nullopt;
        }
    return parseOptions<GuiCommandLine>(options(), arguments, programPath, problem);
}

std::string guiHelpText() {
    return "usage: spssim [--manual-clock] [--record LIST] [--steps N] [--run MS] [--open LIST]\n"
           "              [--network-steps N] [--back N] [--screenshot FILE.png]\n"
           "              [PROGRAM.awl | --import FILE]\n"
           "       spssim --help | --version\n"
           "\n"
           "Opens the simulator's window. PROGRAM.awl is loaded at the start as if it\n"
           "had been chosen with \"Datei/Laden\"; a loaded program runs at once.\n"
           "\n" +
           optionLines<GuiCommandLine>(options(), 25) +
           "\n"
           "Exit status: 0 after the window is closed or the screenshot is written, 1\n"
           "when the screenshot cannot be written or an error box would have been shown,\n"
           "2 for a mistake on the command line.\n";
}

std::string statusScreenshotPath(const std::string& screenshot, StatusWindow window) {
    std::string stem = screenshot;
    const std::string_view suffix = ".png";
    if (stem.size() > suffix.size() && std::equal(suffix.rbegin(), suffix.rend(), stem.rbegin(), [](char a, char b) {
            return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
        }))
        stem.resize(stem.size() - suffix.size());
    return stem + "-" + statusWindowKind(window).name + ".png";
}

std::string guiVersionText() { return "spssim " SPS_VERSION "\n"; }

} // namespace sps
