#pragma once

namespace sps {

struct ScriptSession;
struct CommandCall;

// The handlers of the command table, grouped by what they work on.

// The run and clock commands and the script's own (run_commands.cpp).
void loadCommand(ScriptSession& session, const CommandCall& call);
void importCommand(ScriptSession& session, const CommandCall& call);
void continueCommand(ScriptSession& session, const CommandCall& call);
void stopCommand(ScriptSession& session, const CommandCall& call);
void resetCommand(ScriptSession& session, const CommandCall& call);
void stepCommand(ScriptSession& session, const CommandCall& call);
void tickCommand(ScriptSession& session, const CommandCall& call);
void traceCommand(ScriptSession& session, const CommandCall& call);
void clockCommand(ScriptSession& session, const CommandCall& call);
void slowerCommand(ScriptSession& session, const CommandCall& call);
void fasterCommand(ScriptSession& session, const CommandCall& call);
void advanceCommand(ScriptSession& session, const CommandCall& call);
void runCommand(ScriptSession& session, const CommandCall& call);
void timeCommand(ScriptSession& session, const CommandCall& call);
void seedCommand(ScriptSession& session, const CommandCall& call);
void echoCommand(ScriptSession& session, const CommandCall& call);
void quitCommand(ScriptSession& session, const CommandCall& call);
void caseCommand(ScriptSession& session, const CommandCall& call);
void pointsCommand(ScriptSession& session, const CommandCall& call);

// The station (station_commands.cpp).
void switchCommand(ScriptSession& session, const CommandCall& call);
void buttonCommand(ScriptSession& session, const CommandCall& call);
void entryBarrierCommand(ScriptSession& session, const CommandCall& call);
void partCommand(ScriptSession& session, const CommandCall& call);
void sonarCommand(ScriptSession& session, const CommandCall& call);
void joystickCommand(ScriptSession& session, const CommandCall& call);
void centerCommand(ScriptSession& session, const CommandCall& call);
void nudgeCommand(ScriptSession& session, const CommandCall& call);
void stationCommand(ScriptSession& session, const CommandCall& call);
// Faults on the station (fault_commands.cpp).
void faultCommand(ScriptSession& session, const CommandCall& call);
void faultsCommand(ScriptSession& session, const CommandCall& call);

// Operands of the CPU (memory_commands.cpp).
void setCommand(ScriptSession& session, const CommandCall& call);
void printCommand(ScriptSession& session, const CommandCall& call);
void expectCommand(ScriptSession& session, const CommandCall& call);

// The signal recording and its export (record_commands.cpp).
void recordCommand(ScriptSession& session, const CommandCall& call);
void exportCommand(ScriptSession& session, const CommandCall& call);
// Forcing, breakpoints and waiting for a condition (watch_commands.cpp).
void forceCommand(ScriptSession& session, const CommandCall& call);
void unforceCommand(ScriptSession& session, const CommandCall& call);
void forcesCommand(ScriptSession& session, const CommandCall& call);
void writeCommand(ScriptSession& session, const CommandCall& call);
void breakCommand(ScriptSession& session, const CommandCall& call);
void breaksCommand(ScriptSession& session, const CommandCall& call);
void unbreakCommand(ScriptSession& session, const CommandCall& call);
void untilCommand(ScriptSession& session, const CommandCall& call);

// Going back through the scan history (history_commands.cpp).
void backCommand(ScriptSession& session, const CommandCall& call);
void gotoCommand(ScriptSession& session, const CommandCall& call);
void historyCommand(ScriptSession& session, const CommandCall& call);

// The status window contents (view_commands.cpp).
void showCommand(ScriptSession& session, const CommandCall& call);
void drawCommand(ScriptSession& session, const CommandCall& call);

} // namespace sps
