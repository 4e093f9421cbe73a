#pragma once

#include <chrono>
#include <string>

#include "cli/script_result.h"

namespace sps {

class Output;

// Records the test cases of one script as it runs: which case is open, its
// failed expects, the error that stopped it, its output and its duration.
class CaseLog {
public:
    using Clock = std::chrono::steady_clock;

    // Opens the unnamed case of the lines before the first `case`.
    CaseLog(std::string scriptName, Output& output);

    // `case NAME`: closes the open case, prints the heading "case NAME" and
    // opens the case called `name`.
    void begin(std::string name);
    void expectChecked() { ++open_.expects; }
    // `punkte N`: what the open case is worth.
    void setPoints(std::uint32_t points) { open_.points = points; }
    void expectFailed(std::string line);
    // The script stops in the open case.
    void stop(CaseError error);
    // Closes the open case and hands over the script's result.
    ScriptResult finish();

private:
    // Ends the open case; `namedCaseFollows` when a `case` line ends it.
    void close(bool namedCaseFollows);

    Output& output_;
    ScriptResult result_;
    TestCase open_;
    bool openIsNamed_ = false;
    Clock::time_point scriptStart_;
    Clock::time_point caseStart_;
};

} // namespace sps
