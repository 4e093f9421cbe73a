#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/sim_clock.h"
#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/force_table.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "shell/breakpoints.h"
#include "shell/front_end.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "station/target.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

// Records what the simulator asks of its front end.
class RecordingFrontEnd final : public FrontEnd {
public:
    std::vector<std::string> errors;
    int closes = 0;
    int repaints = 0;
    std::unique_ptr<TraceInfo> trace;
    // Runs while the first error box is open, as the box's own message loop
    // delivers timer ticks.
    std::function<void()> whileFirstErrorShown;

    void showError(const CPUException& error) override {
        errors.push_back(error.messageText());
        if (errors.size() == 1 && whileFirstErrorShown) whileFirstErrorShown();
    }
    void closeStatusWindows() override { ++closes; }
    void repaintMain() override { ++repaints; }
    void openTrace(std::unique_ptr<TraceInfo> t) override { trace = std::move(t); }
    void breakpointReached(int number, const std::string& condition, std::uint64_t cycle) override {
        breakpoints.push_back(std::to_string(number) + ": " + condition + " @" + std::to_string(cycle));
    }
    void programStopped(std::uint64_t cycle) override { stops.push_back(cycle); }
    void networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                        std::uint64_t cycle) override {
        const NetworkPlace& shown = step ? last : next;
        pauses.push_back((step ? std::string("step ") : "break " + std::to_string(breakpoint) + " ") +
                         shown.block->label + " " + std::to_string(shown.block->networks[shown.network].number) + " @" +
                         std::to_string(cycle));
    }
    std::vector<std::string> pauses;
    std::vector<std::string> breakpoints;
    std::vector<std::uint64_t> stops;
};

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override { simClock().switchToManual(); }
    void TearDown() override {
        simClock().switchToAutomatic();
        for (const auto& path : files_) std::filesystem::remove(path);
    }

    std::string writeProgram(const std::string& text) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("simulator_test_" + std::to_string(files_.size()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".awl");
        std::ofstream(path) << text;
        files_.push_back(path);
        return path.string();
    }

    static std::string organizationBlock(const std::string& networks) {
        return "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n" + networks + "END_ORGANIZATION_BLOCK\n";
    }

    int m(int byte, int bit) { return sim.cpu().areaM.readBit(byte, bit); }

    RecordingFrontEnd frontEnd;
    Simulator sim{frontEnd};

private:
    std::vector<std::filesystem::path> files_;
};

// Sets M0.0 in every scan.
const char* const kSetsM00 = "NETWORK 1\nLD SM0.0\n= M0.0\n";

TEST_F(SimulatorTest, StartsStoppedWithTheStationOnTheBus) {
    EXPECT_FALSE(sim.running());
    EXPECT_TRUE(sim.canContinue());
    EXPECT_FALSE(sim.canStop());
    ASSERT_NE(sim.cpu().bus, nullptr);
    EXPECT_EQ(sim.cpu().bus->inputBytes(), 3);
    EXPECT_EQ(sim.cpu().bus->analogInputs(), 16);
}

TEST_F(SimulatorTest, AGoodLoadResetsAndStartsRunning) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    EXPECT_TRUE(frontEnd.errors.empty());
    EXPECT_EQ(frontEnd.closes, 1);
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(sim.cpu().areaSM.readBit(0, 1), 1) << "the reset marks the first scan";
    sim.timerTick();
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(frontEnd.repaints, 1);
}

TEST_F(SimulatorTest, TheCycleCountsEveryStepSinceTheLastGoodLoad) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    sim.timerTick();
    sim.stop();
    sim.singleStep();
    sim.trace();
    EXPECT_EQ(sim.cycle(), 5u) << "three steps of a tick, one single step, one traced step";
    sim.load("nowhere.awl");
    EXPECT_EQ(sim.cycle(), 5u) << "a failed load keeps the count";
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    EXPECT_EQ(sim.cycle(), 0u);
}

TEST_F(SimulatorTest, AMissingFileKeepsTheProgramAndStopsTheRun) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    const std::string missing = std::string(300, 'x') + "/nowhere.awl";
    sim.load(missing);
    ASSERT_EQ(frontEnd.errors.size(), 1u);
    EXPECT_EQ(frontEnd.errors[0], formatMessage("File %s not found\n", missing.c_str()));
    EXPECT_EQ(frontEnd.closes, 2) << "the status windows close once a file was chosen";
    EXPECT_FALSE(sim.running());
    sim.singleStep();
    EXPECT_EQ(m(0, 0), 1) << "the previous program still runs";
}

// The desktop program and spsrun load through here: a folder or a pipe
// without a writer must not keep them waiting in the open.
TEST_F(SimulatorTest, AFolderOrAPipeIsRefusedAndKeepsTheProgram) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    const auto folder = testTempPath("simulator_test_folder");
    std::filesystem::create_directories(folder);
    const std::string pipe = (folder / "pipe.awl").string();
    std::filesystem::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    sim.load(folder.string());
    sim.load(pipe);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(frontEnd.errors.size(), 2u);
    EXPECT_EQ(frontEnd.errors[0], formatMessage("Path %s is a folder", folder.c_str()));
    EXPECT_EQ(frontEnd.errors[1], formatMessage("File %s is no regular file", pipe.c_str()));
    EXPECT_FALSE(sim.running());
    sim.singleStep();
    EXPECT_EQ(m(0, 0), 1) << "the previous program still runs";
}

TEST_F(SimulatorTest, AnErrorInTheLastBlockKeepsThePreviousProgramInFull) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLD SM0.0\n= M0.1\n") +
                          "SUBROUTINE_BLOCK SBR0:SUB\nBEGIN\nNETWORK 1\nLD E0.9\nEND_SUBROUTINE_BLOCK\n"));
    ASSERT_EQ(frontEnd.errors.size(), 1u);
    EXPECT_NE(frontEnd.errors[0].find(lookupMessage("Bitnumber out of range")), std::string::npos);
    EXPECT_FALSE(sim.running());
    sim.singleStep();
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(m(0, 1), 0);
}

TEST_F(SimulatorTest, AnErrorInTheSecondStepOfATickSkipsTheThird) {
    // Network 1 toggles M1.0 in every scan; network 2 fails once M0.0 is set,
    // which network 3 does in the first scan.
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLDN M1.0\n= M1.0\n"
                                            "NETWORK 2\nLD M0.0\nU M40.0\n"
                                            "NETWORK 3\nLD SM0.0\n= M0.0\n")));
    sim.timerTick();
    ASSERT_EQ(frontEnd.errors.size(), 1u);
    EXPECT_EQ(frontEnd.errors[0], std::string(lookupMessage("Out of field read")) + "\nin MAIN, Netzwerk 2: U M40.0");
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(m(1, 0), 0) << "two scans ran, not three";
    EXPECT_EQ(frontEnd.repaints, 0);
}

// The error box keeps the message as it is and says below it where it
// happened: the block's label, the network's number as written and the
// instruction as the program writes it; in a subroutine the instruction
// there, not the call.
TEST_F(SimulatorTest, AnErrorOfAScanNamesItsInstruction) {
    const std::string main = "ORGANIZATION_BLOCK main:OB1\nBEGIN\n";
    const std::string callsSbr0 = main + "NETWORK 1\nLD SM0.0\nCALL SBR0\nEND_ORGANIZATION_BLOCK\n";
    const std::string sbr0 = "SUBROUTINE_BLOCK SBR0:SBR0\nBEGIN\n";
    struct Row {
        std::string program;
        const char* key;
        const char* place;
    };
    const Row rows[] = {
        {main + "NETWORK 1\nLD SM0.0\nU M99.0\n= A0.0\nEND_ORGANIZATION_BLOCK\n", "Out of field read",
         "in OB1, Netzwerk 1: U M99.0"},
        {main + "NETWORK 007\nLD SM0.0\nMOVB 16#FF, VB5000\nEND_ORGANIZATION_BLOCK\n", "Out of field write",
         "in OB1, Netzwerk 7: MOVB 16#FF, VB5000"},
        {main + "NETWORK 1\nLD SM0.0\nMOVD *VD0, VD4\nEND_ORGANIZATION_BLOCK\n", "Pointer out of range",
         "in OB1, Netzwerk 1: MOVD *VD0, VD4"},
        {main + "NETWORK 1\nLD SM0.0\nJMP 5\nNETWORK 2\nLBL 4\nEND_ORGANIZATION_BLOCK\n", "Label not found",
         "in OB1, Netzwerk 1: JMP 5"},
        {callsSbr0 + sbr0 + "NETWORK 1\nLD SM0.0\nNETWORK 4\nLD SM0.0\nU M40.0\nEND_SUBROUTINE_BLOCK\n",
         "Out of field read", "in SBR0, Netzwerk 4: U M40.0"},
        {callsSbr0 + sbr0 + "NETWORK 2\nLD SM0.0\nCALL SBR0\nEND_SUBROUTINE_BLOCK\n", "Subroutines nested too deeply",
         "in SBR0, Netzwerk 2: CALL SBR0"},
        {callsSbr0 + sbr0 + "NETWORK 3\nLD SM0.0\nJMP 9\nEND_SUBROUTINE_BLOCK\n", "Label not found",
         "in SBR0, Netzwerk 3: JMP 9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.place);
        frontEnd.errors.clear();
        sim.load(writeProgram(row.program));
        ASSERT_TRUE(frontEnd.errors.empty()) << frontEnd.errors.front();
        sim.runSteps(1);
        ASSERT_EQ(frontEnd.errors.size(), 1u);
        EXPECT_EQ(frontEnd.errors[0], std::string(lookupMessage(row.key)) + "\n" + row.place);
    }
}

// The place belongs to the scan that failed: the next one, run without an
// error, leaves nothing behind, and a trace shows the message alone.
TEST_F(SimulatorTest, ThePlaceIsThatOfTheFailedScanOnly) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLD M0.0\nU M40.0\n")));
    sim.cpu().areaM.writeBit(0, 0, 1);
    sim.runSteps(1);
    EXPECT_EQ(sim.cpu().faultPlace, "in MAIN, Netzwerk 1: U M40.0");
    sim.cpu().areaM.writeBit(0, 0, 0);
    sim.runSteps(1);
    EXPECT_EQ(sim.cpu().faultPlace, "");
    EXPECT_EQ(frontEnd.errors.size(), 1u);
}

TEST_F(SimulatorTest, TicksDuringTheErrorBoxRunNothing) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLDN M1.0\n= M1.0\n"
                                            "NETWORK 2\nLD SM0.0\nU M40.0\n")));
    bool runningWhileShown = true;
    frontEnd.whileFirstErrorShown = [this, &runningWhileShown] {
        runningWhileShown = sim.running();
        sim.timerTick();
    };
    sim.timerTick();
    EXPECT_FALSE(runningWhileShown);
    EXPECT_EQ(frontEnd.errors.size(), 1u);
    EXPECT_EQ(m(1, 0), 1) << "only the failing scan ran";

    frontEnd.errors.clear();
    sim.continueRun();
    sim.load("/nowhere/missing.awl");
    EXPECT_FALSE(runningWhileShown) << "a failed load stops the run before its box too";
    EXPECT_EQ(m(1, 0), 1);
}

TEST_F(SimulatorTest, TicksWhileStoppedDoNothing) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLDN M1.0\n= M1.0\n")));
    sim.stop();
    sim.timerTick();
    EXPECT_EQ(m(1, 0), 0);
    EXPECT_EQ(frontEnd.repaints, 0);
    sim.continueRun();
    sim.timerTick();
    EXPECT_EQ(m(1, 0), 1) << "three toggles";
}

TEST_F(SimulatorTest, SingleStepIsOfferedOnlyWhileStopped) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLDN M1.0\n= M1.0\n")));
    EXPECT_FALSE(sim.canSingleStep());
    sim.singleStep();
    EXPECT_EQ(m(1, 0), 0);
    sim.stop();
    sim.singleStep();
    EXPECT_EQ(m(1, 0), 1);
    EXPECT_EQ(frontEnd.repaints, 1);
}

TEST_F(SimulatorTest, ResetWhileRunningKeepsRunningAndKeepsMemories) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLD SM0.0\n= A0.0\n= M0.0\n")));
    sim.target().toggleSwitch(2);
    sim.timerTick();
    sim.cpu().areaV.writeByte(100, 7);
    sim.cpu().counters[3].value = 9;
    sim.reset();
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(sim.cpu().areaA.readBit(0, 0), 0) << "outputs drop until the next scan";
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(sim.cpu().areaV.readByte(100), 7);
    EXPECT_EQ(sim.cpu().counters[3].value, 9);
    EXPECT_EQ(sim.cpu().areaE.readBit(0, 2), 1);
    sim.timerTick();
    EXPECT_EQ(sim.cpu().areaA.readBit(0, 0), 1);
}

TEST_F(SimulatorTest, TheHalfSecondClockFollowsManualTimeSteps) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    sim.stop();
    simClock().advance(1000);
    sim.singleStep();
    EXPECT_EQ(sim.cpu().areaSM.readBit(0, 5), 0) << "1000 mod 1000 = 0";
    for (int i = 0; i < 5; ++i) simClock().advance(100);
    sim.singleStep();
    EXPECT_EQ(sim.cpu().areaSM.readBit(0, 5), 1);
}

TEST_F(SimulatorTest, TraceOpensTheTraceOfOneScanWithoutChangingTheRunState) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    sim.stop();
    sim.trace();
    ASSERT_NE(frontEnd.trace, nullptr);
    const auto& lines = frontEnd.trace->lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "SStack: 000->LD()    SM0.0 1 ");
    EXPECT_EQ(lines[4], "");
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(sim.cpu().traceSink, nullptr);
}

TEST_F(SimulatorTest, AFailedTraceShowsTheErrorAsItsOnlyLine) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLD SM0.0\nU M40.0\n")));
    sim.trace();
    ASSERT_NE(frontEnd.trace, nullptr);
    ASSERT_EQ(frontEnd.trace->lines().size(), 1u);
    EXPECT_EQ(frontEnd.trace->lines()[0], lookupMessage("Out of field read"));
    EXPECT_TRUE(frontEnd.errors.empty());
    EXPECT_TRUE(sim.running());
}

// Counts up MW0 in every scan.
const char* const kCountsMW0 = "NETWORK 1\nLD SM0.0\nINCW MW0\n";

int mw0(Simulator& sim) { return sim.cpu().areaM.readWord(0); }

TEST_F(SimulatorTest, ABreakpointStopsInTheStepItBecomesTrueNotWhileItStaysTrue) {
    sim.load(writeProgram(organizationBlock(kCountsMW0)));
    sim.breakpoints().add(Condition(sim.cpu(), "MW0", ">= 3"));
    sim.breakpoints().add(Condition(sim.cpu(), "MW0", "== 5"));
    EXPECT_FALSE(sim.runSteps(10));
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(mw0(sim), 3);
    EXPECT_FALSE(sim.runSteps(10)) << "MW0 >= 3 still holds and does not stop again";
    EXPECT_TRUE(sim.runSteps(10));
    EXPECT_EQ(frontEnd.breakpoints, (std::vector<std::string>{"1: MW0 >= 3 @3", "2: MW0 == 5 @5"}));
    EXPECT_TRUE(frontEnd.errors.empty());
}

TEST_F(SimulatorTest, ABreakpointInTheSecondStepOfATickSkipsTheThird) {
    sim.load(writeProgram(organizationBlock(kCountsMW0)));
    sim.breakpoints().add(Condition(sim.cpu(), "MW0", "= 2"));
    sim.timerTick();
    EXPECT_EQ(mw0(sim), 2);
    EXPECT_EQ(sim.cycle(), 2u);
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(frontEnd.repaints, 1) << "the stop repaints the station once";
    EXPECT_EQ(frontEnd.breakpoints, std::vector<std::string>{"1: MW0 == 2 @2"});
}

TEST_F(SimulatorTest, AnEdgeStopsInEveryStepInWhichTheBitChangesThatWay) {
    sim.load(writeProgram(organizationBlock("NETWORK 1\nLDN M0.0\n= M0.0\n")));
    sim.breakpoints().add(Condition(sim.cpu(), "M0.0", "steigt"));
    sim.stop();
    for (int i = 0; i < 4; ++i) sim.singleStep();
    sim.trace();
    EXPECT_EQ(frontEnd.breakpoints,
              (std::vector<std::string>{"1: M0.0 steigt @1", "1: M0.0 steigt @3", "1: M0.0 steigt @5"}))
        << "single steps and the traced step are checked alike";
}

TEST_F(SimulatorTest, ResetAndLoadKeepBreakpointsALoadClearsTheForces) {
    const std::string program = writeProgram(organizationBlock(kCountsMW0));
    sim.load(program);
    sim.breakpoints().add(Condition(sim.cpu(), "MW0", "== 2"));
    forceOperand(sim.cpu(), "M1.0", "1");
    sim.reset();
    EXPECT_EQ(sim.cpu().forces.entries().size(), 1u);
    sim.load(program);
    EXPECT_TRUE(sim.cpu().forces.entries().empty());
    EXPECT_EQ(sim.breakpoints().list().size(), 1u);
    sim.cpu().areaM.writeWord(0, 0);
    EXPECT_FALSE(sim.runSteps(5));
    EXPECT_EQ(frontEnd.breakpoints, std::vector<std::string>{"1: MW0 == 2 @2"}) << "the cycle counts from the load";
}

TEST_F(SimulatorTest, ABreakpointWhoseOperandCannotBeReadStopsTheRunWithItsError) {
    sim.load(writeProgram(organizationBlock(kSetsM00)));
    sim.cpu().areaV.writeDword(0, POINTER_BASE_V);
    sim.breakpoints().add(Condition(sim.cpu(), "*VD0", "== 1"));
    EXPECT_TRUE(sim.runSteps(2));
    sim.cpu().areaV.writeDword(0, 100);
    EXPECT_FALSE(sim.runSteps(2));
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(frontEnd.errors, std::vector<std::string>{lookupMessage("Pointer out of range")});
    EXPECT_EQ(sim.cycle(), 3u);
}

TEST(Breakpoints, NumbersFollowTheHighestAndStopAtThirtyTwo) {
    CPU cpu;
    Breakpoints breakpoints;
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(breakpoints.add(Condition(cpu, "M0.0", "== 1")), i);
    EXPECT_TRUE(breakpoints.remove(2));
    EXPECT_FALSE(breakpoints.remove(2));
    EXPECT_EQ(breakpoints.add(Condition(cpu, "M0.0", "== 1")), 4);
    breakpoints.clear();
    for (int i = 1; i <= 32; ++i) EXPECT_EQ(breakpoints.add(Condition(cpu, "M0.0", "== 1")), i);
    try {
        breakpoints.add(Condition(cpu, "M0.0", "== 1"));
        ADD_FAILURE() << "a 33rd breakpoint";
    } catch (const CPUException& error) {
        EXPECT_EQ(error.messageText(), lookupMessage("Too many breakpoints"));
    }
}

} // namespace
