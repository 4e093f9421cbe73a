#include "cli/test_run.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "cli/command_line.h"
#include "cli/script_runner.h"
#include "cli/text_output.h"
#include "loader/reader.h"

namespace sps {

namespace {

constexpr std::string_view STANDARD_INPUT = "-";

// `why` follows the complaint when the path names something else than a script file.
ScriptResult unopenedScript(const std::string& path, std::string_view why, Output& output) {
    const std::string message = "cannot open the script '" + path + "'" + std::string(why);
    output.error("spsrun: " + message);
    ScriptResult result;
    result.name = path;
    TestCase onlyCase;
    onlyCase.name = path;
    onlyCase.error = CaseError{"unreadable script", message, "spsrun: " + message};
    result.cases.push_back(std::move(onlyCase));
    return result;
}

ScriptResult runOneScript(const std::string& path, const ScriptOptions& options, std::istream& standardInput,
                          Output& output) {
    if (path == STANDARD_INPUT) return runScript(standardInput, path, options, output);
    // A pipe or a device is never opened: the open could wait for ever, before
    // any time limit runs. Standard input is the way to feed a script through a pipe.
    switch (pathKind(path)) {
    case PathKind::Folder: return unopenedScript(path, ": it is a folder", output);
    case PathKind::Other:
        return unopenedScript(path, ": it is not a regular file (feed a pipe to standard input instead)", output);
    case PathKind::Missing:
    case PathKind::RegularFile: break;
    }
    std::ifstream script(path);
    if (!script) return unopenedScript(path, "", output);
    return runScript(script, path, options, output);
}

} // namespace

std::vector<ScriptResult> runScripts(const CommandLine& commandLine, std::istream& standardInput, Output& output) {
    std::vector<std::string> paths = commandLine.scriptPaths;
    if (paths.empty()) paths.emplace_back(STANDARD_INPUT);
    // The report shows each case's output.
    output.keepCopy(!commandLine.junitPath.empty());
    ScriptOptions options = commandLine.options;
    options.nameInComplaints = paths.size() > 1;
    std::vector<ScriptResult> results;
    for (const std::string& path : paths) {
        if (paths.size() > 1) {
            output.line("== " + path);
            output.takeCopy(); // the heading belongs to no case
        }
        results.push_back(runOneScript(path, options, standardInput, output));
    }
    output.keepCopy(false);
    const bool anyCase =
        std::any_of(results.begin(), results.end(), [](const ScriptResult& r) { return r.namedCases; });
    if (paths.size() > 1 || anyCase) output.line(summaryLine(runTotals(results)));
    return results;
}

RunTotals runTotals(std::span<const ScriptResult> results) {
    RunTotals totals;
    for (const ScriptResult& result : results) {
        totals.cases += result.cases.size();
        totals.failed += result.failureCount();
        totals.errors += result.errorCount();
    }
    totals.passed = totals.cases - totals.failed - totals.errors;
    return totals;
}

std::string summaryLine(const RunTotals& totals) {
    std::string line = std::to_string(totals.cases) + " cases, " + std::to_string(totals.passed) + " passed, " +
                       std::to_string(totals.failed) + " failed";
    if (totals.errors > 0) line += ", " + std::to_string(totals.errors) + " errors";
    return line;
}

ScriptStatus runStatus(std::span<const ScriptResult> results) {
    ScriptStatus status = SCRIPT_PASSED;
    for (const ScriptResult& result : results) status = std::max(status, result.status());
    return status;
}

} // namespace sps
