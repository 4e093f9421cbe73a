#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace sps {

class CaseLog;
class Output;
class RunnerFrontEnd;
class Simulator;

// A line that is not a valid command, or a command whose result cannot be
// written. The script stops there with exit status 2; `type` is the kind of
// error in a report.
class ScriptError {
public:
    explicit ScriptError(std::string message, const char* type = "invalid line")
        : message_(std::move(message)), type_(type) {}
    const std::string& message() const { return message_; }
    const char* type() const { return type_; }

private:
    std::string message_;
    const char* type_;
};

// The script ran longer than its time limit. It stops there, and its open
// case becomes an error.
struct ScriptTimeout {};

// What the commands of a script work on.
struct ScriptSession {
    using Clock = std::chrono::steady_clock;

    Simulator& simulator;
    RunnerFrontEnd& frontEnd;
    Output& output;
    CaseLog& cases;
    // When the script's time is up; none without a limit.
    std::optional<Clock::time_point> deadline;
    int lineNumber = 0;
    bool quitRequested = false;

    // Throws ScriptTimeout once the time is up. Called before every line and
    // between the steps of a command that runs many: one step is short, since
    // the engine's loop guard bounds every scan.
    void checkTime() const {
        if (deadline && Clock::now() >= *deadline) throw ScriptTimeout{};
    }
};

} // namespace sps
