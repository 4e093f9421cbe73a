#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sps {

// Exit statuses of a run.
enum ScriptStatus : int {
    SCRIPT_PASSED = 0,
    SCRIPT_EXPECT_FAILED = 1,
    SCRIPT_INVALID = 2,
};

// What stopped a script: an invalid line, the time limit, a script that
// cannot be read or opened, a file it exports that cannot be written.
struct CaseError {
    std::string type;    // "invalid line", "timeout", "unreadable script", "unwritable file"
    std::string message; // what went wrong, without "spsrun: "
    std::string report;  // the whole line printed on standard error
};

// One test case of a script: the lines from its `case` to the next one or to
// the script's end.
struct TestCase {
    std::string name;
    // How many expects it checked, and the failed ones: the line printed,
    // or "expect failed (line L): OPERAND cannot be read: TEXT".
    std::size_t expects = 0;
    std::vector<std::string> failures;
    std::optional<CaseError> error;
    // What the case printed on standard output; kept only when a report
    // asks for it.
    std::string output;
    double seconds = 0;
    // What passing it is worth in `spsrun grade` (`punkte N`).
    std::uint32_t points = 1;

    bool passed() const { return failures.empty() && !error; }
};

// A script and its cases in the order they ran. A script without `case` is one
// case named after the script. Lines before the first `case` are a case of
// their own only when they check an expect or stop on an error; otherwise
// they just prepare the cases, and their output is kept in `setupOutput`.
struct ScriptResult {
    std::string name;
    std::vector<TestCase> cases;
    bool namedCases = false; // the script used `case`
    std::string setupOutput;
    double seconds = 0;

    std::size_t failureCount() const;
    std::size_t errorCount() const;
    // 2 when a case stopped on an error, 1 when an expect failed, else 0.
    ScriptStatus status() const;
};

} // namespace sps
