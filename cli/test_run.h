#pragma once

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "cli/script_result.h"

namespace sps {

struct CommandLine;
class Output;

// Runs the scripts of the command line one after another, each on a fresh
// simulator: a heading "== SCRIPT" before each when there are several, the
// summary line at the end when there are several or a script used `case`. A
// script that cannot be opened is one case with an error; the others still
// run. "-" or no script at all reads `standardInput`.
std::vector<ScriptResult> runScripts(const CommandLine& commandLine, std::istream& standardInput, Output& output);

struct ChildRun;
struct ScriptOptions;

// The result of a script whose process ended before it reported: one case
// with the error "timeout" (the watchdog ended it) or "crash", which is
// printed unless the watchdog printed it.
ScriptResult failedRun(const std::string& name, const ChildRun& ended, const ScriptOptions& options, Output& output);

struct RunTotals {
    std::size_t cases = 0;
    std::size_t passed = 0;
    std::size_t failed = 0;
    std::size_t errors = 0;
};

RunTotals runTotals(std::span<const ScriptResult> results);

// "N cases, P passed, F failed", and ", E errors" when there are any.
std::string summaryLine(const RunTotals& totals);

// The exit status of the whole run: the worst of its scripts'.
ScriptStatus runStatus(std::span<const ScriptResult> results);

} // namespace sps
