#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "base/sim_clock.h"
#include "cli/case_log.h"
#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/operand_arguments.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"
#include "shell/watch_table.h"

namespace sps {

namespace {

constexpr std::uint32_t MAX_STEPS = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t DEFAULT_UNTIL_STEPS = 100000;
// `until` on the manual clock lets this much time pass before each step, as `run` does.
constexpr std::uint32_t UNTIL_STEP_MS = 10;

// The first `words` arguments as a condition: OPERAND REL VALUE (REL and
// VALUE may stand in one word) or OPERAND steigt|fällt|faellt.
Condition conditionArgument(ScriptSession& session, const CommandCall& call, std::size_t words) {
    if (words < 2) call.reject("a condition is OPERAND REL VALUE or OPERAND steigt|fällt");
    valuedOperand(session, call, call.arguments[0]);
    std::string test;
    for (std::size_t i = 1; i < words; ++i) test.append(i > 1 ? " " : "").append(call.arguments[i]);
    try {
        return Condition(session.simulator.cpu(), call.arguments[0], utf8ToLatin1(test));
    } catch (const CPUException& error) {
        throw ScriptError(std::string(call.spec.name) + ": " + call.arguments[0] + " " + test + ": " +
                          messageLine(error));
    }
}

} // namespace

void forceCommand(ScriptSession& session, const CommandCall& call) {
    auto operand = valuedOperand(session, call, call.arguments[0]);
    const ConstantValue value = valueArgument(session, call, 1);
    try {
        forceWatched(session.simulator, std::move(operand), value);
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void unforceCommand(ScriptSession& session, const CommandCall& call) {
    ForceTable& forces = session.simulator.cpu().forces;
    if (call.arguments[0] == "all") return forces.unforceAll();
    const std::string name = operandName(*valuedOperand(session, call, call.arguments[0]));
    if (!forces.unforce(name)) session.output.coreLine("unforce: " + name + " is not forced");
}

void forcesCommand(ScriptSession& session, const CommandCall&) {
    for (const ForcedOperand& entry : session.simulator.cpu().forces.entries())
        session.output.coreLine(entry.name + " " + entry.valueText());
}

void writeCommand(ScriptSession& session, const CommandCall& call) {
    auto operand = valuedOperand(session, call, call.arguments[0]);
    const ConstantValue value = valueArgument(session, call, 1);
    try {
        writeWatchedOnce(session.simulator, std::move(operand), value);
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void breakCommand(ScriptSession& session, const CommandCall& call) {
    // "break network BLOCK N": before network N of the block labelled BLOCK.
    if (call.arguments[0] == "network") {
        if (call.arguments.size() != 3) call.reject("network needs BLOCK and N");
        const std::uint32_t network = call.count(2, 0, INT32_MAX, "N");
        try {
            static const Program noProgram;
            const auto program = session.simulator.cpu().program;
            session.simulator.breakpoints().addNetwork(program ? *program : noProgram, utf8ToLatin1(call.arguments[1]),
                                                       static_cast<int>(network));
        } catch (const CPUException& error) {
            session.frontEnd.showError(error);
        }
        return;
    }
    Condition condition = conditionArgument(session, call, call.arguments.size());
    try {
        setBreakpoint(session.simulator, std::move(condition));
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void breaksCommand(ScriptSession& session, const CommandCall&) {
    // Condition and network breakpoints together, by their numbers.
    const Breakpoints& breakpoints = session.simulator.breakpoints();
    std::map<int, std::string> lines;
    for (const Breakpoint& breakpoint : breakpoints.list()) lines[breakpoint.number] = breakpoint.condition.text();
    for (const NetworkBreakpoint& breakpoint : breakpoints.networks()) lines[breakpoint.number] = breakpoint.text();
    for (const auto& [number, text] : lines) session.output.coreLine(std::to_string(number) + ": " + text);
}

void unbreakCommand(ScriptSession& session, const CommandCall& call) {
    Breakpoints& breakpoints = session.simulator.breakpoints();
    if (call.arguments[0] == "all") return breakpoints.clear();
    const std::uint32_t number = call.count(0, 1, MAX_STEPS, "N");
    if (!breakpoints.remove(static_cast<int>(number)))
        session.output.line("unbreak: no breakpoint " + std::to_string(number));
}

void untilCommand(ScriptSession& session, const CommandCall& call) {
    std::size_t words = call.arguments.size();
    std::uint32_t maxSteps = DEFAULT_UNTIL_STEPS;
    if (words >= 2 && call.arguments[words - 2] == "max") {
        maxSteps = call.count(words - 1, 0, MAX_STEPS, "N");
        words -= 2;
    }
    Condition condition = conditionArgument(session, call, words);
    const std::string text = latin1ToUtf8(condition.text());
    session.cases.expectChecked();
    std::uint32_t steps = 0;
    bool reached = false;
    try {
        // A comparison that holds already needs no step; an edge needs one.
        reached = !condition.isEdge() && condition.evaluate();
        while (!reached && steps < maxSteps) {
            session.checkTime();
            if (simClock().canAdvance()) simClock().advance(UNTIL_STEP_MS);
            ++steps;
            const bool stepRan = session.simulator.runSteps(1);
            reached = condition.evaluate();
            // An error or a breakpoint stops the run, and the wait with it.
            if (!stepRan) break;
        }
    } catch (const CPUException& error) {
        // The condition's operand cannot be read: the run stops, as at a breakpoint.
        session.simulator.stop();
        session.frontEnd.showError(error);
    }
    if (reached) {
        session.output.line("until: " + text + " nach " + std::to_string(steps) + " Schritten");
        return;
    }
    const std::string line = "until failed (line " + std::to_string(session.lineNumber) + "): " + text +
                             " nicht erreicht nach " + std::to_string(steps) + " Schritten";
    session.output.line(line);
    session.cases.expectFailed(line);
}

} // namespace sps
