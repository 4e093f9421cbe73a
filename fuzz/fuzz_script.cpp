// Fuzz target: the spsrun script interpreter, called as a library function.
// The input is a script; a line "%%" ends it, and what follows that line is
// written to the program file "program.awl" that the script may load.
//
// Two kinds of script are skipped, as they test the machine rather than the
// simulator: those that load or export a path with a "/" (they would read or
// write any file of the machine, devices that never end included), and those
// whose step, tick, run, until and trace commands together ask for more than
// a few thousand scans.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/script_line.h"
#include "cli/script_runner.h"
#include "cli/text_output.h"
#include "fuzz_support.h"

namespace {

using namespace sps;

constexpr std::string_view PROGRAM_SEPARATOR = "\n%%\n";
constexpr std::uint64_t MAX_SCANS = 2000;
// A trace formats every instruction of its scan: it counts as this many scans.
constexpr std::uint64_t TRACE_COST = 20;
constexpr std::uint64_t UNTIL_DEFAULT_STEPS = 100000;

// The count argument at `index` as spsrun reads it: `fallback` when it is
// missing, 0 when it is no count (spsrun then refuses the line).
std::uint64_t countOf(const std::vector<std::string>& words, std::size_t index, std::uint64_t fallback) {
    if (index >= words.size()) return fallback;
    std::uint32_t value = 0;
    const std::string& word = words[index];
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() ? value : 0;
}

// Whether the script loads no path with a "/" and asks for few enough scans.
bool withinBounds(std::string_view script) {
    std::uint64_t scans = 0;
    std::size_t start = 0;
    while (start <= script.size()) {
        const std::size_t end = std::min(script.find('\n', start), script.size());
        const std::vector<std::string> words = splitScriptLine(script.substr(start, end - start)).words;
        start = end + 1;
        if (words.empty()) continue;
        const std::string& command = words[0];
        const bool pathCommand = command == "load" || command == "export";
        for (std::size_t i = 1; pathCommand && i < words.size(); ++i)
            if (words[i].find('/') != std::string::npos) return false;
        if (command == "step") scans += countOf(words, 1, 1);
        if (command == "tick") scans += 3 * countOf(words, 1, 1);
        if (command == "trace") scans += TRACE_COST;
        // until waits at most its "max N" steps, 100000 without one.
        if (command == "until") {
            const auto max = std::find(words.begin(), words.end(), "max");
            scans += max == words.end() ? UNTIL_DEFAULT_STEPS : countOf(words, std::size_t(max - words.begin()) + 1, 0);
        }
        if (command == "run") {
            const std::uint64_t interval = countOf(words, 2, 10);
            scans += countOf(words, 1, 0) / (interval == 0 ? 1 : interval) + 1;
        }
        if (scans > MAX_SCANS) return false;
    }
    return true;
}

// Runs `work` with the scratch folder as the working directory, where the
// script's relative paths lead.
template <typename Work> void inScratchFolder(Work&& work) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(fuzz::scratchFolder());
    work();
    std::filesystem::current_path(previous);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);
    const std::size_t separator = input.find(PROGRAM_SEPARATOR);
    const std::string_view script = input.substr(0, separator);
    if (!withinBounds(script)) return 0;

    const auto program = fuzz::scratchFolder() / "program.awl";
    if (separator != std::string_view::npos)
        fuzz::writeFile(program, input.substr(separator + PROGRAM_SEPARATOR.size()));
    else
        std::filesystem::remove(program);

    std::istringstream scriptStream{std::string(script)};
    std::ostringstream out;
    std::ostringstream err;
    Output output(out, err);
    inScratchFolder([&] { runScript(scriptStream, "fuzz.sps", ScriptOptions{}, output); });
    return 0;
}
