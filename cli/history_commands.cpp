#include <cstdint>
#include <limits>
#include <string>

#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "messages/cpu_exception.h"
#include "shell/scan_history.h"
#include "shell/simulator.h"

namespace sps {

namespace {

constexpr std::uint32_t MAX_CYCLE = std::numeric_limits<std::uint32_t>::max();

// Going back is what "Schritt zurück" would do: while stopped only.
bool mayGoBack(ScriptSession& session, std::string_view command) {
    if (session.simulator.running()) {
        session.output.line(std::string(command) + ": not available");
        return false;
    }
    return true;
}

void printPosition(ScriptSession& session) { session.output.coreLine(session.simulator.historyPosition()); }

// The history's own refusals ("only back to cycle ...") are the simulator's
// errors, shown as it shows every other; the script goes on.
template <class Move> void moveInHistory(ScriptSession& session, Move move) {
    try {
        move();
        printPosition(session);
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

} // namespace

void backCommand(ScriptSession& session, const CommandCall& call) {
    if (!mayGoBack(session, "back")) return;
    const std::uint32_t steps = call.arguments.empty() ? 1 : call.count(0, 1, MAX_CYCLE, "N");
    moveInHistory(session, [&] { session.simulator.stepBack(steps); });
}

void gotoCommand(ScriptSession& session, const CommandCall& call) {
    if (call.arguments[0] != "cycle") call.reject("give cycle N");
    if (!mayGoBack(session, "goto")) return;
    const std::uint32_t cycle = call.count(1, 0, MAX_CYCLE, "N");
    moveInHistory(session, [&] { session.simulator.goToCycle(cycle); });
}

void historyCommand(ScriptSession& session, const CommandCall& call) {
    Simulator& simulator = session.simulator;
    if (!call.arguments.empty()) {
        const std::string& word = call.arguments[0];
        if (word == "on")
            simulator.setHistoryLimit(ScanHistory::DEFAULT_LIMIT);
        else if (word == "off")
            simulator.setHistoryLimit(0);
        else
            simulator.setHistoryLimit(call.count(0, 1, ScanHistory::MAX_LIMIT, "N"));
        return;
    }
    const ScanHistory& history = simulator.history();
    if (!history.on()) return session.output.coreLine(formatMessage("History off"));
    if (!history.started()) return printPosition(session);
    session.output.coreLine(
        formatMessage("History keeps cycles %s to %s in %s KiB, limit %s", std::to_string(history.oldest()).c_str(),
                      std::to_string(history.newest()).c_str(), std::to_string((history.bytes() + 1023) / 1024).c_str(),
                      std::to_string(history.limit()).c_str()));
    printPosition(session);
}

} // namespace sps
