#include "gui/status_window_kinds.h"

#include <QWidget>

#include "gui/fault_window.h"
#include "gui/info_wnd.h"
#include "gui/ladder_window.h"
#include "gui/program_window.h"
#include "gui/trace_window.h"
#include "gui/trend_window.h"
#include "gui/watch_window.h"
#include "shell/simulator.h"
#include "shell/status_contents.h"
#include "shell/trace_info.h"

namespace sps {

namespace {

using Make = std::unique_ptr<QWidget> (*)(StatusWindowSource& source);

// A window showing one of the contents that spsrun shows as well.
template <const StatusContent& content> std::unique_ptr<QWidget> makeInfoWnd(StatusWindowSource& source) {
    return std::make_unique<InfoWnd>(content.make({source.simulator, source.trace.get()}));
}

// The kind of a content of the core, in an InfoWnd or a window of its own.
template <const StatusContent& content>
constexpr StatusWindowKind showing(StatusWindow window, Command command, bool greyedWhileOpen,
                                   Make make = makeInfoWnd<content>) {
    return {window, content.name, content.title, command, greyedWhileOpen, make};
}

std::unique_ptr<QWidget> makeLadder(StatusWindowSource& source) { return makeLadderWindow(source.simulator); }
std::unique_ptr<QWidget> makeTrace(StatusWindowSource& source) {
    auto trace = std::move(source.trace);
    if (!trace) trace = std::make_unique<TraceInfo>(std::vector<std::string>{});
    return std::make_unique<TraceWindow>(std::move(trace));
}
std::unique_ptr<QWidget> makeWatch(StatusWindowSource& source) { return std::make_unique<WatchWindow>(*source.watch); }
std::unique_ptr<QWidget> makeTrend(StatusWindowSource& source) {
    return std::make_unique<TrendWindow>(source.simulator, source.dialogs);
}
std::unique_ptr<QWidget> makeFaults(StatusWindowSource& source) {
    return std::make_unique<FaultWindow>(source.simulator.target());
}

std::unique_ptr<QWidget> makeProgram(StatusWindowSource& source) {
    return std::make_unique<ProgramWindow>(*source.programHost);
}

constexpr StatusWindowKind KINDS[] = {
    showing<LADDER_CONTENT>(StatusWindow::Ladder, Command::Ladder, true, makeLadder),
    showing<ASI_CONTENT>(StatusWindow::Asi, Command::AsiStatus, true),
    showing<CPU_CONTENT>(StatusWindow::Cpu, Command::CpuStatus, true),
    showing<TRACE_CONTENT>(StatusWindow::Trace, Command::Trace, false, makeTrace),
    {StatusWindow::Watch, "watch", "Beobachten", Command::Watch, true, makeWatch},
    {StatusWindow::Trend, "trend", "Verlauf", Command::Trend, true, makeTrend},
    {StatusWindow::Faults, "faults", "Störungen", Command::Faults, true, makeFaults},
    {StatusWindow::Editor, "program", "Programm[*]", Command::Editor, true, makeProgram, true},
};

// One row per StatusWindow, at the index of its value.
constexpr bool rowsInOrder() {
    for (std::size_t i = 0; i < std::size(KINDS); ++i)
        if (static_cast<std::size_t>(KINDS[i].window) != i) return false;
    return std::size(KINDS) == STATUS_WINDOW_KINDS;
}
static_assert(rowsInOrder());

} // namespace

std::span<const StatusWindowKind> statusWindowKinds() { return KINDS; }

const StatusWindowKind& statusWindowKind(StatusWindow window) { return KINDS[static_cast<std::size_t>(window)]; }

const StatusWindowKind* statusWindowOpenedBy(Command command) {
    for (const StatusWindowKind& kind : KINDS)
        if (kind.command == command) return &kind;
    return nullptr;
}

const StatusWindowKind* findStatusWindowKind(std::string_view name) {
    for (const StatusWindowKind& kind : KINDS)
        if (name == kind.name) return &kind;
    return nullptr;
}

} // namespace sps
