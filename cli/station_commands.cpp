#include <array>
#include <string>

#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "shell/simulator.h"
#include "station/station_fields.h"
#include "station/target.h"

namespace sps {

namespace {

// The optional 0|1 at `index`: with it, the toggle happens only when the
// station's state differs; without it, always.
template <typename Toggle> void toggleOrSet(const CommandCall& call, std::size_t index, bool current, Toggle toggle) {
    if (call.arguments.size() > index && (call.count(index, 0, 1, "the value") != 0) == current) return;
    toggle();
}

Target& station(ScriptSession& session) { return session.simulator.target(); }

} // namespace

void switchCommand(ScriptSession& session, const CommandCall& call) {
    const int k = static_cast<int>(call.count(0, 0, Target::SWITCHES - 1, "K"));
    Target& target = station(session);
    toggleOrSet(call, 1, target.switchIn()[static_cast<std::size_t>(k)] != 0, [&] { target.toggleSwitch(k); });
}

void buttonCommand(ScriptSession& session, const CommandCall& call) {
    const int k = static_cast<int>(call.count(0, 0, Target::BUTTONS - 1, "K"));
    Target& target = station(session);
    toggleOrSet(call, 1, target.buttonIn()[static_cast<std::size_t>(k)] != 0, [&] { target.toggleButton(k); });
}

void entryBarrierCommand(ScriptSession& session, const CommandCall& call) {
    Target& target = station(session);
    toggleOrSet(call, 0, target.entryBarrierToggle(), [&] { target.toggleEntryBarrier(); });
}

void partCommand(ScriptSession& session, const CommandCall& call) {
    const int b = static_cast<int>(call.count(0, 0, Target::PART_PROPERTIES - 1, "B"));
    Target& target = station(session);
    toggleOrSet(call, 1, ((target.partFlags() >> b) & 1u) != 0, [&] { target.togglePartFlag(b); });
}

void sonarCommand(ScriptSession& session, const CommandCall& call) {
    station(session).selectSonarRange(static_cast<int>(call.count(0, 0, Target::SONAR_RANGES - 1, "R")));
}

void joystickCommand(ScriptSession& session, const CommandCall& call) {
    const int dx = call.signedNumber(0, "DX");
    const int dy = call.signedNumber(1, "DY");
    station(session).setJoystick(dx, dy);
}

void centerCommand(ScriptSession& session, const CommandCall&) { station(session).centreJoystick(); }

void nudgeCommand(ScriptSession& session, const CommandCall& call) {
    static constexpr std::array<std::string_view, 2> DIRECTIONS{"up", "down"};
    station(session).nudgeCarrier(call.choice(0, DIRECTIONS) == 0);
}

void stationCommand(ScriptSession& session, const CommandCall& call) {
    bool found = false;
    for (const auto& [name, value] : stationFields(station(session))) {
        if (!call.arguments.empty() && call.arguments[0] != name) continue;
        session.output.line(name + "=" + value);
        found = true;
    }
    if (!found) call.reject("unknown field '" + call.arguments[0] + "'");
}

} // namespace sps
