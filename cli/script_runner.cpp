#include "cli/script_runner.h"
#include "cpu/cpu.h"

#include <istream>
#include <optional>
#include <string>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "cli/case_log.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_line.h"
#include "cli/script_reader.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cli/watchdog.h"
#include "messages/cpu_exception.h"
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

std::optional<ScriptSession::Clock::time_point> deadlineAfter(std::uint32_t seconds) {
    if (seconds == 0) return std::nullopt;
    return ScriptSession::Clock::now() + std::chrono::seconds(seconds);
}

// The complaint "spsrun: line L: WHAT" about line L; `prefix` is "spsrun: ",
// with the script's name when several scripts run.
CaseError errorAt(const std::string& prefix, int lineNumber, std::string type, const std::string& what) {
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    return {std::move(type), where + what, prefix + where + what};
}

// The complaint about line L, which the reader could not take.
CaseError unreadLine(const std::string& prefix, int lineNumber, ScriptReader::Status status) {
    if (status != ScriptReader::Status::TooLong)
        return errorAt(prefix, lineNumber, "unreadable script", "the script cannot be read");
    const std::string tooLong =
        formatMessage("Line %d longer than %d characters", lineNumber, static_cast<int>(ScriptReader::MAX_LINE_LENGTH));
    return errorAt(prefix, lineNumber, "invalid line", latin1ToUtf8(tooLong));
}

// The script stops: the complaint goes to standard error, and the open case
// ends with it.
void stop(ScriptSession& session, CaseError error) {
    session.output.error(error.report);
    session.cases.stop(std::move(error));
}

} // namespace

ScriptResult runScript(std::istream& script, std::string name, const ScriptOptions& options, Output& output) {
    // The clock as the process starts it (automatic, divisor 1), then manual
    // at 0 ms, so that the station and the CPU start at time 0 whatever an
    // earlier script did.
    simClock() = SimClock{};
    simClock().switchToManual();
    seedRandom(options.seed);
    const std::string prefix = "spsrun: " + (options.nameInComplaints ? name + ": " : std::string());
    RunnerFrontEnd frontEnd(output);
    Simulator simulator(frontEnd);
    // show kop marks what carried power in the last scan.
    simulator.cpu().recordPower = true;
    CaseLog cases(std::move(name), output);
    ScriptSession session{simulator, frontEnd, output, cases, deadlineAfter(options.timeoutSeconds)};

    std::optional<Watchdog> watchdog;
    if (session.deadline) watchdog.emplace(*session.deadline, prefix, options.timeoutSeconds);
    // A line being read counts as the current one, for the time limit.
    ScriptReader reader(script, [&session] { session.checkTime(); });
    std::string text;
    if (!options.programPath.empty()) {
        simulator.load(options.programPath);
        if (!simulator.cpu().program) {
            const std::string what = latin1ToUtf8(frontEnd.lastError());
            session.cases.stop({"load failed", what, prefix + what});
            return cases.finish();
        }
    }
    try {
        while (!session.quitRequested) {
            ++session.lineNumber;
            if (watchdog) watchdog->atLine(session.lineNumber);
            const ScriptReader::Status status = reader.next(text);
            if (status == ScriptReader::Status::End) break;
            if (status != ScriptReader::Status::Line) {
                stop(session, unreadLine(prefix, session.lineNumber, status));
                break;
            }
            session.checkTime();
            const ScriptLine line = splitScriptLine(text);
            if (!line.words.empty()) runLine(session, line);
        }
    } catch (const ScriptError& error) {
        stop(session, errorAt(prefix, session.lineNumber, error.type(), error.message()));
    } catch (const ScriptTimeout&) {
        if (watchdog) watchdog->standDown();
        const std::string what = "timeout after " + std::to_string(options.timeoutSeconds) + " s";
        CaseError error = errorAt(prefix, session.lineNumber, "timeout", what);
        error.message = what; // the report tells the line
        stop(session, std::move(error));
    }
    return cases.finish();
}

} // namespace sps
