// The desktop window at work, on Qt's offscreen platform with the automatic
// clock: how many simulation steps per second the running window delivers
// with an example program loaded, alone and with all status windows open
// (eight operands recorded for the window "Verlauf"), what one drawing of the
// station costs, and how much processor time the window takes while the
// simulation is stopped.

#include <sys/resource.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "base/sim_clock.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/station_drawing.h"
#include "gui/status_window_kinds.h"
#include "gui/status_windows.h"
#include "gui/trend_window.h"
#include "gui/watch_model.h"
#include "shell/simulator.h"
#include "station/target.h"

namespace {

const char* const PROGRAMS[] = {"blink.awl", "carrier.awl"};

// What the windows "Verlauf" and "Beobachten" show: the operands that
// bench_record records, inputs, outputs, special bits, a timer, words of V
// and M, an analog input.
const char* const OPERANDS[] = {"E0.0", "A0.0", "AB0", "SM0.5", "T37", "VW0", "AEW0", "MW0"};

void recordOperands(sps::MainWindow& window) {
    for (const char* operand : OPERANDS) window.recordOperand(operand, std::nullopt);
}

void watchOperands(sps::MainWindow& window) {
    sps::WatchModel& rows = window.watchModel();
    for (const char* operand : OPERANDS)
        rows.setData(rows.index(rows.watchedRows(), sps::WatchModel::OperandColumn), QString::fromLatin1(operand));
}

// Runs the event loop for `ms` milliseconds of wall time.
void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Steps per second of the running window, and its processor time as a share
// of one core: the 1-ms timer's ticks, three steps each, the station
// repainted at most once per frame of the screen. With the second argument 1
// every status window is open as well, each repainting itself twice a second
// (the trend window ten times, following the eight operands it shows).
void BM_RunningWindow(benchmark::State& state) {
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    window.show();
    const bool withStatusWindows = state.range(1) != 0;
    if (withStatusWindows) recordOperands(window);
    window.loadProgram(QStringLiteral(SPS_EXAMPLES_DIR "/") + QString::fromLatin1(PROGRAMS[state.range(0)]));
    if (!window.simulator().running()) state.SkipWithError("the example program did not load");
    if (withStatusWindows) {
        for (const sps::StatusWindowKind& kind : sps::statusWindowKinds()) window.runCommand(kind.command);
        for (const sps::StatusWindowKind& kind : sps::statusWindowKinds())
            if (!window.statusWindows().isOpen(kind.window)) state.SkipWithError("a status window did not open");
    }
    runEventLoop(100);
    const long long before = window.stepsRun();
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) runEventLoop(500);
    const double cpu = processCpuSeconds() - cpuBefore;
    state.counters["steps_per_second"] =
        benchmark::Counter(static_cast<double>(window.stepsRun() - before), benchmark::Counter::kIsRate);
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
    state.SetLabel(std::string(PROGRAMS[state.range(0)]) + (withStatusWindows ? " with the status windows" : ""));
}
BENCHMARK(BM_RunningWindow)->ArgsProduct({{0, 1}, {0, 1}})->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);

// Processor time of the whole process while the window waits with the
// simulation stopped, as a share of one core.
void BM_StoppedWindow(benchmark::State& state) {
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    window.show();
    runEventLoop(100);
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) runEventLoop(500);
    const double cpu = processCpuSeconds() - cpuBefore;
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
}
BENCHMARK(BM_StoppedWindow)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);

// One repaint of a status window's client area at its default size, as its
// timer asks for it, with examples/carrier.awl loaded and run for 300 steps; for the trend
// window, 30 s of simulated time on the manual clock with the eight operands
// recorded (3000 steps; an analog input that reads random changes at most);
// for the watch window, its table with the eight operands as rows.
void BM_PaintStatusWindow(benchmark::State& state) {
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    const sps::StatusWindowKind& kind = sps::statusWindowKinds()[static_cast<std::size_t>(state.range(0))];
    const bool trend = kind.window == sps::StatusWindow::Trend;
    if (trend) recordOperands(window);
    window.loadProgram(QStringLiteral(SPS_EXAMPLES_DIR "/carrier.awl"));
    if (kind.window == sps::StatusWindow::Watch) watchOperands(window);
    if (trend) {
        window.runTime(30000);
        sps::simClock().switchToAutomatic();
    } else {
        window.runSteps(300);
    }
    window.simulator().stop();
    window.runCommand(kind.command);
    QWidget* shown = window.statusWindows().openWindow(kind.window);
    if (shown == nullptr) {
        state.SkipWithError("the status window did not open");
        return;
    }
    // The client area: the window itself, or the table of the watch window.
    auto* client = qobject_cast<QAbstractScrollArea*>(shown);
    if (client == nullptr) client = shown->findChild<QAbstractScrollArea*>();
    if (client == nullptr) {
        state.SkipWithError("the status window has no client area");
        return;
    }
    shown->show();
    runEventLoop(50);
    // What the window's timer asks for: its client area drawn afresh.
    for (auto _ : state) client->viewport()->repaint();
    state.counters["paints_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(kind.title);
}
BENCHMARK(BM_PaintStatusWindow)
    ->DenseRange(0, static_cast<int>(sps::STATUS_WINDOW_KINDS) - 1)
    ->Unit(benchmark::kMicrosecond);

// The window "Verlauf" at its worst: eight operands that change in every
// step (counting words, their low bits and bytes), recorded for 131072 steps
// of 1 ms, so that every ring is full. One repaint with the last 10 s in view
// (the default zoom, 80000 changes), and with the whole recording
// ("Ganze Aufzeichnung zeigen", a million changes).
void BM_PaintDenseRecording(benchmark::State& state) {
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("count.awl"));
    QFile file(program);
    if (!file.open(QIODevice::WriteOnly)) state.SkipWithError("no program file");
    file.write("ORGANIZATION_BLOCK count:OB1\nBEGIN\nNETWORK 1\nLD SM0.0\n"
               "INCW MW0\nINCW MW2\nINCW MW4\nINCW MW6\nINCW MW8\nINCW MW10\nINCW MW12\nINCW MW14\n"
               "END_ORGANIZATION_BLOCK\n");
    file.close();
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    for (const char* operand : {"MW0", "MW2", "M5.0", "M7.1", "MW8", "MB11", "M13.0", "MW14"})
        window.recordOperand(operand, std::nullopt);
    window.loadProgram(program);
    sps::simClock().switchToManual();
    for (std::size_t i = 0; i < sps::Recorder::CHANGES_PER_SIGNAL; ++i) {
        sps::simClock().advance(1);
        window.simulator().runSteps(1);
    }
    window.simulator().stop();
    sps::simClock().switchToAutomatic();
    window.runCommand(sps::Command::Trend);
    auto* shown = qobject_cast<sps::TrendWindow*>(window.statusWindows().openWindow(sps::StatusWindow::Trend));
    if (shown == nullptr) {
        state.SkipWithError("the trend window did not open");
        return;
    }
    shown->show();
    if (state.range(0) != 0) shown->contextMenu()->actions().back()->trigger();
    runEventLoop(50);
    for (auto _ : state) shown->viewport()->repaint();
    state.SetLabel(state.range(0) != 0 ? "the whole recording" : "the last 10 s");
}
BENCHMARK(BM_PaintDenseRecording)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One drawing of the whole station into an image of its size.
void BM_DrawStation(benchmark::State& state) {
    sps::Target target;
    const QPixmap sprites = QPixmap::fromImage(sps::loadSpriteSheet());
    QImage image(sps::STATION_WIDTH, sps::STATION_HEIGHT, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        sps::drawStation(painter, target, sprites);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawStation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window remembers the folder of its last load; not in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("spssim-bench"));
    // The watch tables that an earlier run kept for the examples.
    QSettings().remove(QStringLiteral("watch"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
