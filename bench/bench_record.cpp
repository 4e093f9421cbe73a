// What the signal recording costs a simulation step: the step as the
// simulator runs it with 8 or 32 operands recorded against the same step with
// nothing recorded, and the step with nothing recorded against the bare step
// (the scan and the station's step called directly).
#include <benchmark/benchmark.h>

#include <string>

#include "shell/recorder.h"
#include "step_runner.h"

using namespace sps;

namespace {

const char* const PROGRAMS[] = {"blink.awl", "carrier.awl"};

// The example program with a second organization block that counts eight
// flag words up in every scan, so that recorded words can change at every
// step (the costliest case for the recording).
std::string benchmarkProgram(const char* example) {
    std::string program = bench::exampleText(example) + "ORGANIZATION_BLOCK OB2:COUNT\nBEGIN\nNETWORK 1\nLD SM0.0\n";
    for (int word = 0; word < 8; ++word) program += "INCW MW" + std::to_string(2 * word) + "\n";
    return program + "END_ORGANIZATION_BLOCK\n";
}

// What is recorded: nothing; 8 operands of many kinds (inputs, outputs, a
// clock bit, a timer, words, an analog input), of which one changes at every
// step and some now and then; 8 words that all change at every step; or
// those 8 words and 24 flag bits.
enum Recording { NOTHING, EIGHT_MIXED, EIGHT_CHANGING, THIRTY_TWO };
const char* const RECORDING_NAMES[] = {"nothing", "8 mixed", "8 changing", "32"};

void record(Recorder& recorder, Recording recording) {
    if (recording == EIGHT_MIXED) {
        for (const char* operand : {"E0.0", "A0.0", "AB0", "SM0.5", "T37", "VW0", "AEW0", "MW0"})
            recorder.record(operand);
    } else if (recording != NOTHING) {
        for (int word = 0; word < 8; ++word) recorder.record("MW" + std::to_string(2 * word));
    }
    if (recording == THIRTY_TWO) {
        for (int byte = 0; byte < 3; ++byte)
            for (int bit = 0; bit < 8; ++bit)
                recorder.record("M" + std::to_string(20 + byte) + "." + std::to_string(bit));
    }
}

// Parsed straight into the CPU, past the simulator's load: no scan history
// runs, so that the figures are the recording's alone.
struct Runner : bench::StepRunner {
    explicit Runner(const char* example) : StepRunner(benchmarkProgram(example), example) {}
};

constexpr int STEPS_PER_BLOCK = 2000;

// Two simulators with the same program take turns in blocks of steps, so that
// the load of a shared machine falls on both alike: one records, the other
// does not. `ratio` is the recording one's processor time over the other's.
// With nothing recorded the other one runs bare steps, so the ratio is what
// the simulator's step, with its call to an empty recorder, costs beyond the
// scan and the station's step.
void BM_RecordingCost(benchmark::State& state) {
    const char* example = PROGRAMS[state.range(0)];
    const auto recording = static_cast<Recording>(state.range(1));
    Runner plain(example);
    Runner recorded(example);
    record(recorded.sim.recorder(), recording);
    double plainSeconds = 0;
    double recordedSeconds = 0;
    for (auto _ : state) {
        plainSeconds += plain.run(STEPS_PER_BLOCK, recording == NOTHING);
        recordedSeconds += recorded.run(STEPS_PER_BLOCK, false);
    }
    const double steps = static_cast<double>(state.iterations()) * STEPS_PER_BLOCK;
    state.counters["ratio"] = recordedSeconds / plainSeconds;
    state.counters["ns_per_step"] = recordedSeconds / steps * 1e9;
    state.SetLabel(std::string(example) + ", " + RECORDING_NAMES[recording] + " recorded");
    simClock().switchToAutomatic();
}
BENCHMARK(BM_RecordingCost)
    ->ArgsProduct({{0, 1}, {NOTHING, EIGHT_MIXED, EIGHT_CHANGING, THIRTY_TWO}})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
