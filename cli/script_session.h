#pragma once

#include <string>
#include <utility>

namespace sps {

class Output;
class RunnerFrontEnd;
class Simulator;

// A line that is not a valid command. The script stops there with exit
// status 2.
class ScriptError {
public:
    explicit ScriptError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// What the commands of a script work on.
struct ScriptSession {
    Simulator& simulator;
    RunnerFrontEnd& frontEnd;
    Output& output;
    int lineNumber = 0;
    bool expectFailed = false;
    bool quitRequested = false;
};

} // namespace sps
