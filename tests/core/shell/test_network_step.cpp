// Network steps and network breakpoints: a scan held before one of its
// networks, across blocks and subroutines, and finished later with the same
// result as a scan that ran through.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "messages/cpu_exception.h"
#include "shell/front_end.h"
#include "shell/simulator.h"
#include "shell/stepped_scan.h"
#include "shell/trace_info.h"
#include "station/station_fields.h"
#include "station/target.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

class PauseLog final : public FrontEnd {
public:
    void showError(const CPUException&) override { ++errors; }
    void closeStatusWindows() override {}
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo>) override {}
    void breakpointReached(int, const std::string&, std::uint64_t) override {}
    void programStopped(std::uint64_t) override {}
    void networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                        std::uint64_t cycle) override {
        const NetworkPlace& shown = step ? last : next;
        pauses.push_back((step ? std::string("step ") : "break " + std::to_string(breakpoint) + " ") +
                         shown.block->label + " " + std::to_string(shown.block->networks[shown.network].number) + " @" +
                         std::to_string(cycle));
    }
    void updateTrace(std::unique_ptr<TraceInfo> trace) override { traceLines = trace->lines().size(); }

    std::vector<std::string> pauses;
    std::size_t traceLines = 0;
    int errors = 0;
};

class NetworkStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        simClock() = SimClock{};
        simClock().switchToManual();
        seedRandom(1);
    }
    void TearDown() override {
        simClock().switchToAutomatic();
        std::filesystem::remove(path_);
    }

    void load(Simulator& simulator, const std::string& text) {
        std::ofstream(path_) << text;
        simulator.load(path_.string());
        simulator.stop();
    }

    std::filesystem::path path_ = testTempPath("network_step_test", ".awl");
};

// OB1: network 1 counts VW0, 2 calls SBR0 (two networks that count VW2 and
// VW4), 3 counts VW6.
const std::string PROGRAM = "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\n"
                            "NETWORK 1\nLD SM0.0\nINCW VW0\n"
                            "NETWORK 2\nLD SM0.0\nCALL SBR0\n"
                            "NETWORK 3\nLD SM0.0\nINCW VW6\n"
                            "END_ORGANIZATION_BLOCK\n"
                            "SUBROUTINE_BLOCK SBR0:SBR0\nBEGIN\n"
                            "NETWORK 1\nINCW VW2\nNETWORK 2\nINCW VW4\n"
                            "END_SUBROUTINE_BLOCK\n";

TEST_F(NetworkStepTest, StepsThroughTheNetworksIntoTheSubroutineAndOut) {
    PauseLog log;
    Simulator simulator(log);
    load(simulator, PROGRAM);
    const auto word = [&](int address) { return simulator.cpu().areaV.readWord(address); };
    simulator.networkStep();
    EXPECT_TRUE(simulator.scanPaused());
    EXPECT_EQ(word(0), 1);
    EXPECT_EQ(word(2), 0);
    simulator.networkStep();
    simulator.networkStep();
    EXPECT_EQ(word(2), 1);
    EXPECT_EQ(word(4), 0) << "held before the subroutine's second network";
    simulator.networkStep();
    simulator.networkStep();
    EXPECT_FALSE(simulator.scanPaused()) << "the last network ends the scan";
    EXPECT_EQ(word(6), 1);
    EXPECT_EQ(log.pauses,
              (std::vector<std::string>{"step OB1 1 @1", "step OB1 2 @1", "step SBR0 1 @1", "step SBR0 2 @1"}));
    EXPECT_GT(log.traceLines, 0u) << "the trace of the scan so far follows the steps";
    EXPECT_EQ(simulator.cycle(), 1u);
}

TEST_F(NetworkStepTest, ABreakpointStopsBeforeItsNetworkInEveryScan) {
    PauseLog log;
    Simulator simulator(log);
    load(simulator, PROGRAM);
    simulator.breakpoints().addNetwork(*simulator.cpu().program, "SBR0", 2);
    EXPECT_FALSE(simulator.runSteps(10));
    EXPECT_EQ(simulator.cpu().areaV.readWord(2), 1);
    EXPECT_EQ(simulator.cpu().areaV.readWord(4), 0);
    EXPECT_FALSE(simulator.runSteps(10)) << "the second scan stops there again";
    EXPECT_EQ(simulator.cpu().areaV.readWord(4), 1);
    EXPECT_EQ(log.pauses, (std::vector<std::string>{"break 1 SBR0 2 @1", "break 1 SBR0 2 @2"}));
    // A breakpoint on a network the program lacks is refused.
    EXPECT_THROW(simulator.breakpoints().addNetwork(*simulator.cpu().program, "OB1", 9), CPUException);
    EXPECT_THROW(simulator.breakpoints().addNetwork(*simulator.cpu().program, "OB2", 1), CPUException);
}

TEST_F(NetworkStepTest, ALoadOrAResetDropsAPausedScan) {
    PauseLog log;
    Simulator simulator(log);
    load(simulator, PROGRAM);
    simulator.networkStep();
    ASSERT_TRUE(simulator.scanPaused());
    simulator.reset();
    EXPECT_FALSE(simulator.scanPaused());
    simulator.networkStep();
    ASSERT_TRUE(simulator.scanPaused());
    load(simulator, PROGRAM);
    EXPECT_FALSE(simulator.scanPaused());
    EXPECT_EQ(log.errors, 0);
}

// What a program leaves after `steps` steps, the last one taken network by
// network when `stepped`: memory, timers, counters and the station.
std::string stateAfter(const std::string& program, int steps, bool stepped) {
    simClock() = SimClock{};
    simClock().switchToManual();
    seedRandom(1);
    PauseLog log;
    Simulator simulator(log);
    const auto path = testTempPath("network_step_property", ".awl");
    std::ofstream(path) << program;
    simulator.load(path.string());
    std::filesystem::remove(path);
    simulator.stop();
    for (int i = 0; i < steps; ++i) {
        simClock().advance(10);
        if (stepped && i == steps - 1) {
            for (int n = 0; n < 1000 && (n == 0 || simulator.scanPaused()); ++n) simulator.networkStep();
        } else {
            simulator.runSteps(1);
        }
    }
    std::ostringstream state;
    CPU& cpu = simulator.cpu();
    for (MemField* area :
         {&cpu.areaE, &cpu.areaA, &cpu.areaM, &cpu.areaV, &cpu.areaS, static_cast<MemField*>(&cpu.areaSM)})
        for (int i = 0; i < area->size(); ++i) state << area->readByte(i) << ',';
    for (const TimerRecord& timer : cpu.timers) state << timer.value << ':' << timer.running << ',';
    for (const CounterRecord& counter : cpu.counters) state << counter.value << ',';
    for (const auto& [name, value] : stationFields(simulator.target())) state << name << '=' << value << ';';
    return state.str();
}

TEST_F(NetworkStepTest, SteppingThroughAScanEndsAsTheScanWouldHave) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SPS_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".awl") continue;
        SCOPED_TRACE(entry.path().string());
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_EQ(stateAfter(text.str(), 25, true), stateAfter(text.str(), 25, false));
        ++examples;
    }
    EXPECT_GE(examples, 5);
}

} // namespace
