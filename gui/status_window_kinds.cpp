#include "gui/status_window_kinds.h"

#include <QWidget>

#include "asi/asi_info.h"
#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "gui/ladder_window.h"
#include "gui/trace_window.h"
#include "gui/trend_window.h"
#include "gui/watch_window.h"
#include "ladder/kop_net.h"
#include "shell/cpu_info.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "station/target.h"

namespace sps {

namespace {

std::unique_ptr<QWidget> makeLadder(StatusWindowSource& source) { return makeLadderWindow(source.simulator); }

std::unique_ptr<QWidget> makeAsi(StatusWindowSource& source) {
    return std::make_unique<InfoWnd>(std::make_unique<ASIInfo>(source.simulator.target().asiMaster()));
}

std::unique_ptr<QWidget> makeCpu(StatusWindowSource& source) {
    return std::make_unique<InfoWnd>(std::make_unique<CPUInfo>(source.simulator.cpu()));
}

std::unique_ptr<QWidget> makeTrace(StatusWindowSource& source) {
    auto trace = std::move(source.trace);
    if (!trace) trace = std::make_unique<TraceInfo>(std::vector<std::string>{});
    return std::make_unique<TraceWindow>(std::move(trace));
}

std::unique_ptr<QWidget> makeWatch(StatusWindowSource& source) { return std::make_unique<WatchWindow>(*source.watch); }
std::unique_ptr<QWidget> makeTrend(StatusWindowSource& source) {
    return std::make_unique<TrendWindow>(source.simulator, source.dialogs);
}

constexpr StatusWindowKind KINDS[] = {
    {StatusWindow::Ladder, "kop", "KOP", Command::Ladder, true, makeLadder},
    {StatusWindow::Asi, "asi", "ASI", Command::AsiStatus, true, makeAsi},
    {StatusWindow::Cpu, "cpu", "CPU", Command::CpuStatus, true, makeCpu},
    {StatusWindow::Trace, "trace", "Trace", Command::Trace, false, makeTrace},
    {StatusWindow::Watch, "watch", "Beobachten", Command::Watch, true, makeWatch},
    {StatusWindow::Trend, "trend", "Verlauf", Command::Trend, true, makeTrend},
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
