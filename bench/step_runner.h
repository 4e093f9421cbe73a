#pragma once

// What the step benchmarks share: a front end that ends the run on an error,
// and a simulator on a clock of its own that runs blocks of steps and says
// how much processor time they took.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "loader/parser.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"
#include "shell/front_end.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "station/target.h"

namespace sps::bench {

class QuietFrontEnd final : public FrontEnd {
public:
    void showError(const CPUException& error) override {
        std::fprintf(stderr, "benchmark step failed: %s\n", error.messageText().c_str());
        std::exit(1);
    }
    void closeStatusWindows() override {}
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo>) override {}
    void breakpointReached(int, const std::string&, std::uint64_t) override {}
    void programStopped(std::uint64_t) override {}
    void networkReached(const NetworkPlace&, const NetworkPlace&, bool, int, std::uint64_t) override {}
};

inline std::string exampleText(const char* example) {
    std::ifstream file(std::string(SPS_EXAMPLES_DIR "/") + example);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One simulator on a clock of its own: every block of steps continues its
// time where its last block ended, 1 ms per step, so that timers, clock bits
// and the station move as they do while the simulation runs.
class StepRunner {
public:
    StepRunner(const std::string& program, const char* name) {
        try {
            StringRead reader(program);
            Parser().parseProgram(sim.cpu(), reader);
            resetCpu(sim.cpu());
        } catch (const CPUException& error) {
            std::fprintf(stderr, "%s does not load: %s\n", name, error.messageText().c_str());
            std::exit(1);
        }
    }

    // Thread processor seconds of `steps` steps, bare (the scan and the
    // station's step called directly) or as the simulator runs them; with
    // `inputEvery`, a switch of the station toggled before every such step.
    double run(int steps, bool bare, int inputEvery = 0) {
        simClock().switchToAutomatic();
        simClock().switchToManual();
        simClock().advance(time_);
        const double start = threadSeconds();
        for (int i = 0; i < steps; ++i) {
            simClock().advance(1);
            if (inputEvery > 0 && ++sinceInput_ == inputEvery) {
                sinceInput_ = 0;
                sim.target().toggleSwitch(nextSwitch_);
                nextSwitch_ = (nextSwitch_ + 1) % 8;
            }
            if (bare) {
                scanCycle(sim.cpu());
                sim.target().plantStep();
            } else {
                sim.runSteps(1);
            }
        }
        time_ += static_cast<std::uint32_t>(steps);
        return threadSeconds() - start;
    }

    QuietFrontEnd frontEnd;
    Simulator sim{frontEnd};

private:
    std::uint32_t time_ = 0;
    int sinceInput_ = 0;
    int nextSwitch_ = 0;
};

} // namespace sps::bench
