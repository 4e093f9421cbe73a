// What the scan history costs: the simulator's step with the history on
// against the same step with it off, on the example programs, with a switch
// of the station toggled every 500 steps (each a change from outside, which
// the history keeps as a checkpoint); and how many bytes a kept scan takes.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "shell/scan_history.h"
#include "step_runner.h"

using namespace sps;

namespace {

const char* const PROGRAMS[] = {"blink.awl", "carrier.awl",     "joystick.awl", "timer_counter.awl",
                                "ampel.awl", "asi_buttons.awl", "workpiece.awl"};

constexpr int STEPS_PER_BLOCK = 2000;
constexpr int INPUT_EVERY = 500;

// Loaded as the simulator loads a program: the reset starts the history.
struct Runner : bench::StepRunner {
    Runner(const char* example, bool history) : StepRunner(bench::exampleText(example), example) {
        sim.setHistoryLimit(history ? ScanHistory::DEFAULT_LIMIT : 0);
        sim.reset();
    }
};

// Two simulators with the same program take turns in blocks of steps, so that
// the load of a shared machine falls on both alike. `ratio` is the one with
// the history's processor time over the other's.
void BM_HistoryCost(benchmark::State& state) {
    const char* example = PROGRAMS[state.range(0)];
    Runner off(example, false);
    Runner on(example, true);
    double offSeconds = 0;
    double onSeconds = 0;
    for (auto _ : state) {
        offSeconds += off.run(STEPS_PER_BLOCK, false, INPUT_EVERY);
        onSeconds += on.run(STEPS_PER_BLOCK, false, INPUT_EVERY);
    }
    const double steps = static_cast<double>(state.iterations()) * STEPS_PER_BLOCK;
    const ScanHistory& history = on.sim.history();
    const auto kept = static_cast<double>(history.newest() - history.oldest());
    state.counters["ratio"] = onSeconds / offSeconds;
    state.counters["ns_per_step"] = onSeconds / steps * 1e9;
    state.counters["scans_kept"] = kept;
    state.counters["bytes_per_scan"] = static_cast<double>(history.bytes()) / kept;
    state.SetLabel(example);
    simClock().switchToAutomatic();
}
BENCHMARK(BM_HistoryCost)->DenseRange(0, std::size(PROGRAMS) - 1)->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
