#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "cli/case_log.h"
#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"

namespace sps {

namespace {

constexpr std::uint32_t MAX_STEPS = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t MAX_MS = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t MAX_POINTS = 1000;

// A command that the menu would grey is not carried out; the script says so.
void notAvailable(ScriptSession& session, std::string_view command) {
    session.output.line(std::string(command) + ": not available");
}

std::uint32_t optionalCount(const CommandCall& call, std::size_t index, std::uint32_t fallback, std::uint32_t min,
                            std::uint32_t max, std::string_view what) {
    return call.arguments.size() > index ? call.count(index, min, max, what) : fallback;
}

} // namespace

void loadCommand(ScriptSession& session, const CommandCall& call) { session.simulator.load(call.arguments[0]); }

void importCommand(ScriptSession& session, const CommandCall& call) {
    session.simulator.importProgram(call.arguments[0], call.arguments.size() > 1 ? call.arguments[1] : std::string());
}

void continueCommand(ScriptSession& session, const CommandCall&) {
    if (!session.simulator.canContinue()) return notAvailable(session, "continue");
    session.simulator.continueRun();
}

void stopCommand(ScriptSession& session, const CommandCall&) {
    if (!session.simulator.canStop()) return notAvailable(session, "stop");
    session.simulator.stop();
}

void resetCommand(ScriptSession& session, const CommandCall&) { session.simulator.reset(); }

void stepCommand(ScriptSession& session, const CommandCall& call) {
    // "step network [N]": N network steps, each up to the end of the next network.
    if (!call.arguments.empty() && call.arguments[0] == "network") {
        const std::uint32_t steps = optionalCount(call, 1, 1, 1, MAX_STEPS, "N");
        for (std::uint32_t i = 0; i < steps; ++i) {
            session.checkTime();
            if (!session.simulator.canSingleStep()) return notAvailable(session, "step network");
            session.simulator.networkStep();
        }
        return;
    }
    if (call.arguments.size() > 1) call.reject("give N, or network [N]");
    const std::uint32_t steps = optionalCount(call, 0, 1, 0, MAX_STEPS, "N");
    for (std::uint32_t i = 0; i < steps; ++i) {
        session.checkTime();
        if (!session.simulator.runSteps(1)) return;
    }
}

void tickCommand(ScriptSession& session, const CommandCall& call) {
    const std::uint32_t ticks = optionalCount(call, 0, 1, 0, MAX_STEPS, "N");
    // A tick while stopped does nothing, so the remaining ones can be skipped.
    for (std::uint32_t i = 0; i < ticks && session.simulator.running(); ++i) {
        session.checkTime();
        session.simulator.timerTick();
    }
}

void traceCommand(ScriptSession& session, const CommandCall&) {
    session.simulator.trace();
    if (const TraceInfo* trace = session.frontEnd.lastTrace())
        for (const std::string& line : trace->lines()) session.output.coreLine(line);
}

void clockCommand(ScriptSession& session, const CommandCall& call) {
    static constexpr std::array<std::string_view, 2> MODES{"manual", "auto"};
    SimClock& clock = simClock();
    if (call.choice(0, MODES) == 0) {
        if (!clock.canSwitchToManual()) return notAvailable(session, "clock manual");
        clock.switchToManual();
    } else {
        if (!clock.canSwitchToAutomatic()) return notAvailable(session, "clock auto");
        clock.switchToAutomatic();
    }
}

void slowerCommand(ScriptSession& session, const CommandCall&) {
    if (!simClock().canSlower()) return notAvailable(session, "slower");
    simClock().slower();
}

void fasterCommand(ScriptSession& session, const CommandCall&) {
    if (!simClock().canFaster()) return notAvailable(session, "faster");
    simClock().faster();
}

void advanceCommand(ScriptSession& session, const CommandCall& call) {
    const std::uint32_t ms = call.count(0, 0, MAX_MS, "MS");
    if (!simClock().canAdvance()) return notAvailable(session, "advance");
    simClock().advance(ms);
}

void runCommand(ScriptSession& session, const CommandCall& call) {
    const std::uint32_t total = call.count(0, 0, MAX_MS, "MS");
    const std::uint32_t interval = optionalCount(call, 1, 10, 1, MAX_MS, "DT");
    if (!simClock().canAdvance()) return notAvailable(session, "run");
    for (std::uint32_t added = 0; added < total;) {
        session.checkTime();
        const std::uint32_t dt = std::min(interval, total - added);
        simClock().advance(dt);
        added += dt;
        if (!session.simulator.runSteps(1)) return;
    }
}

void timeCommand(ScriptSession& session, const CommandCall&) { session.output.line(std::to_string(simTime())); }

void seedCommand(ScriptSession&, const CommandCall& call) { seedRandom(call.count(0, 0, MAX_MS, "N")); }

void echoCommand(ScriptSession& session, const CommandCall& call) { session.output.line(call.rest); }

void quitCommand(ScriptSession& session, const CommandCall&) { session.quitRequested = true; }

void caseCommand(ScriptSession& session, const CommandCall& call) {
    std::string name = call.arguments[0];
    for (std::size_t i = 1; i < call.arguments.size(); ++i) name.append(" ").append(call.arguments[i]);
    session.cases.begin(std::move(name));
}

void pointsCommand(ScriptSession& session, const CommandCall& call) {
    session.cases.setPoints(call.count(0, 0, MAX_POINTS, "N"));
}

} // namespace sps
