#include "cli/test_run.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "cli/child_runs.h"
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

namespace {

// The scripts in processes of their own, `jobs` at a time, their output in
// the order of the scripts as if they had run one after another.
std::vector<ScriptResult> runInParallel(const std::vector<std::string>& paths, const ScriptOptions& options,
                                        bool keepCaseOutput, unsigned jobs, std::istream& standardInput,
                                        Output& output) {
    std::vector<ScriptResult> results;
    runInChildren(
        paths.size(), jobs,
        [&](std::size_t index, Output& childOutput) {
            childOutput.keepCopy(keepCaseOutput);
            return runOneScript(paths[index], options, standardInput, childOutput);
        },
        [&](std::size_t index, ChildRun ended) {
            output.line("== " + paths[index]);
            if (ended.run) {
                output.text(ended.run->out);
                output.errorText(ended.run->err);
                results.push_back(std::move(ended.run->result));
                return;
            }
            results.push_back(failedRun(paths[index], ended, options, output));
        });
    return results;
}

} // namespace

ScriptResult failedRun(const std::string& name, const ChildRun& ended, const ScriptOptions& options, Output& output) {
    const std::string prefix = "spsrun: " + (options.nameInComplaints ? name + ": " : std::string());
    CaseError error = ended.timedOut
                          ? CaseError{"timeout", "timeout after " + std::to_string(options.timeoutSeconds) + " s", {}}
                          : CaseError{"crash", ended.failure, {}};
    error.report = prefix + error.message;
    if (!ended.timedOut) output.error(error.report); // the watchdog said it already
    ScriptResult result;
    result.name = name;
    TestCase onlyCase;
    onlyCase.name = name;
    onlyCase.error = std::move(error);
    result.cases.push_back(std::move(onlyCase));
    return result;
}

std::vector<ScriptResult> runScripts(const CommandLine& commandLine, std::istream& standardInput, Output& output) {
    std::vector<std::string> paths = commandLine.scriptPaths;
    if (paths.empty()) paths.emplace_back(STANDARD_INPUT);
    // The report shows each case's output.
    output.keepCopy(!commandLine.junitPath.empty());
    ScriptOptions options = commandLine.options;
    options.nameInComplaints = paths.size() > 1;
    std::vector<ScriptResult> results;
    // Standard input can feed one process only.
    const bool parallel = commandLine.jobs > 1 && paths.size() > 1 &&
                          std::find(paths.begin(), paths.end(), STANDARD_INPUT) == paths.end();
    if (parallel) {
        output.keepCopy(false);
        results = runInParallel(paths, options, !commandLine.junitPath.empty(), commandLine.jobs, standardInput, output);
    }
    for (const std::string& path : parallel ? std::vector<std::string>{} : paths) {
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
