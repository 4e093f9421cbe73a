// The desktop window at work, on Qt's offscreen platform with the automatic
// clock: how many simulation steps per second the running window delivers
// with an example program loaded, alone and with all four status windows
// open, what one drawing of the station costs, and how much processor time
// the window takes while the simulation is stopped.

#include <sys/resource.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>

#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/station_drawing.h"
#include "gui/status_window_kinds.h"
#include "gui/status_windows.h"
#include "shell/simulator.h"
#include "shell/target.h"

namespace {

const char* const PROGRAMS[] = {"blink.awl", "carrier.awl"};

// Runs the event loop for `ms` milliseconds of wall time.
void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
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

// Steps per second of the running window: the 1-ms timer's ticks, three
// steps each, with a repaint of the station after every tick. With the
// second argument 1 the ladder, AS-i, CPU and trace windows are open as well,
// each repainting itself twice a second.
void BM_RunningWindow(benchmark::State& state) {
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    window.show();
    window.loadProgram(QStringLiteral(SPS_EXAMPLES_DIR "/") + QString::fromLatin1(PROGRAMS[state.range(0)]));
    if (!window.simulator().running()) state.SkipWithError("the example program did not load");
    const bool withStatusWindows = state.range(1) != 0;
    if (withStatusWindows) {
        for (const sps::StatusWindowKind& kind : sps::statusWindowKinds()) window.runCommand(kind.command);
        for (const sps::StatusWindowKind& kind : sps::statusWindowKinds())
            if (!window.statusWindows().isOpen(kind.window)) state.SkipWithError("a status window did not open");
    }
    runEventLoop(100);
    const long long before = window.stepsRun();
    for (auto _ : state) runEventLoop(500);
    state.counters["steps_per_second"] =
        benchmark::Counter(static_cast<double>(window.stepsRun() - before), benchmark::Counter::kIsRate);
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

// One repaint of a status window at its default size, as its 500-ms timer
// asks for it, with examples/carrier.awl loaded and run for 300 steps.
void BM_PaintStatusWindow(benchmark::State& state) {
    sps::MainWindow window(std::make_unique<sps::ConsoleDialogs>());
    window.loadProgram(QStringLiteral(SPS_EXAMPLES_DIR "/carrier.awl"));
    window.runSteps(300);
    window.simulator().stop();
    const sps::StatusWindowKind& kind = sps::statusWindowKinds()[static_cast<std::size_t>(state.range(0))];
    window.runCommand(kind.command);
    QWidget* shown = window.statusWindows().openWindow(kind.window);
    if (shown == nullptr) {
        state.SkipWithError("the status window did not open");
        return;
    }
    shown->show();
    runEventLoop(50);
    for (auto _ : state) shown->repaint();
    state.counters["paints_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(kind.title);
}
BENCHMARK(BM_PaintStatusWindow)
    ->DenseRange(0, static_cast<int>(sps::STATUS_WINDOW_KINDS) - 1)
    ->Unit(benchmark::kMicrosecond);

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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
