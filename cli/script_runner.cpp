#include "cli/script_runner.h"

#include <istream>
#include <string>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_line.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "shell/simulator.h"

namespace sps {

namespace {

void runLine(ScriptSession& session, const ScriptLine& line) {
    const CommandSpec* spec = findCommand(line.words[0]);
    if (spec == nullptr) throw ScriptError("unknown command '" + line.words[0] + "'");
    const CommandCall call{*spec, {line.words.begin() + 1, line.words.end()}, line.rest};
    const auto count = static_cast<int>(call.arguments.size());
    if (count < spec->minArguments || (spec->maxArguments != CommandSpec::ANY_COUNT && count > spec->maxArguments))
        call.reject(count < spec->minArguments ? "missing argument" : "too many arguments");
    spec->handler(session, call);
}

} // namespace

ScriptStatus runScript(std::istream& script, std::uint32_t seed, Output& output) {
    // The station and the CPU read the clock when they are created, so both
    // start at 0 ms.
    simClock().switchToManual();
    seedRandom(seed);
    RunnerFrontEnd frontEnd(output);
    Simulator simulator(frontEnd);
    ScriptSession session{simulator, frontEnd, output};

    std::string text;
    while (!session.quitRequested && std::getline(script, text)) {
        ++session.lineNumber;
        const ScriptLine line = splitScriptLine(text);
        if (line.words.empty()) continue;
        try {
            runLine(session, line);
        } catch (const ScriptError& error) {
            output.error("spsrun: line " + std::to_string(session.lineNumber) + ": " + error.message());
            return SCRIPT_INVALID;
        }
    }
    if (script.bad()) {
        output.error("spsrun: line " + std::to_string(session.lineNumber + 1) + ": the script cannot be read");
        return SCRIPT_INVALID;
    }
    return session.expectFailed ? SCRIPT_EXPECT_FAILED : SCRIPT_PASSED;
}

} // namespace sps
