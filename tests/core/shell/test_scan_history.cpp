// The scan history: going back to any kept scan gives its state byte for
// byte, running on from there repeats the kept future, and a change from
// outside begins a new one.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "shell/front_end.h"
#include "shell/scan_history.h"
#include "shell/simulator.h"
#include "station/target.h"
#include "support/fault_of.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

using Image = std::vector<std::uint8_t>;

TEST(StateDelta, TurnsOneImageIntoTheOther) {
    std::mt19937 random(7);
    const auto image = [&random](std::size_t size) {
        Image bytes(size);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
        return bytes;
    };
    struct Case {
        const char* name;
        std::size_t fromSize;
        std::size_t toSize;
        std::vector<std::size_t> changed; // offsets changed in the common part
    };
    const std::vector<Case> cases{
        {"equal", 5000, 5000, {}},
        {"one byte", 5000, 5000, {4321}},
        {"first and last byte", 5000, 5000, {0, 4999}},
        {"bytes close together and far apart", 13000, 13000, {8, 9, 20, 700, 701, 12999}},
        {"grows", 100, 260, {3}},
        {"shrinks", 260, 100, {99}},
        {"from nothing", 0, 77, {}},
        {"to nothing", 77, 0, {}},
        {"odd sizes", 13, 13, {12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image from = image(c.fromSize);
        Image to = from;
        to.resize(c.toSize);
        for (std::size_t i = c.fromSize; i < c.toSize; ++i) to[i] = static_cast<std::uint8_t>(random());
        for (const std::size_t at : c.changed) to[at] = static_cast<std::uint8_t>(to[at] + 1);
        const StateDelta delta = StateDelta::between(from, to);
        Image rebuilt = from;
        delta.applyTo(rebuilt);
        EXPECT_EQ(rebuilt, to);
        if (c.changed.empty() && c.fromSize == c.toSize) {
            EXPECT_EQ(delta.bytes(), 0u);
        }
        // A few changed bytes cost a few runs, not the image.
        if (c.changed.size() == 1 && c.fromSize == c.toSize) {
            EXPECT_LT(delta.bytes(), 40u);
        }
    }
}

class SilentLog final : public FrontEnd {
public:
    void showError(const CPUException& error) override { errors.push_back(error.messageText()); }
    void closeStatusWindows() override {}
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo>) override {}
    void breakpointReached(int number, const std::string&, std::uint64_t cycle) override {
        stops.push_back(std::to_string(number) + "@" + std::to_string(cycle));
    }
    void programStopped(std::uint64_t) override {}
    void networkReached(const NetworkPlace&, const NetworkPlace&, bool, int, std::uint64_t) override {}
    void historyMoved(std::uint64_t cycle, std::uint64_t back) override {
        moves.push_back(std::to_string(cycle) + "-" + std::to_string(back));
    }

    std::vector<std::string> errors;
    std::vector<std::string> stops;
    std::vector<std::string> moves;
};

class ScanHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        simClock() = SimClock{};
        simClock().switchToManual();
        seedRandom(1);
    }
    void TearDown() override {
        simClock() = SimClock{};
        std::filesystem::remove(path_);
    }

    void loadText(Simulator& simulator, const std::string& text) {
        std::ofstream(path_) << text;
        simulator.load(path_.string());
        simulator.stop();
    }
    static std::string fileText(const std::filesystem::path& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path path_ = testTempPath("scan_history_test", ".awl");
};

// Something for the station to do between two steps, chosen by `roll`:
// mostly nothing, now and then a switch, a button, the joystick or the
// entry light barrier, as a learner would.
void actOnStation(Target& target, std::uint32_t roll) {
    switch (roll % 16) {
    case 0: target.toggleSwitch(static_cast<int>(roll / 16 % 8)); break;
    case 1: target.toggleButton(static_cast<int>(roll / 16 % 4)); break;
    case 2: target.setJoystick(static_cast<int>(roll / 16 % 60) - 30, static_cast<int>(roll / 1024 % 60) - 30); break;
    case 3: target.toggleEntryBarrier(); break;
    default: break;
    }
}

TEST_F(ScanHistoryTest, ForwardBackAndForwardAgainGiveEveryByteOfEachExample) {
    constexpr int STEPS = 300;
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SPS_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".awl") continue;
        SCOPED_TRACE(entry.path().filename().string());
        SetUp();
        SilentLog log;
        Simulator simulator(log);
        loadText(simulator, fileText(entry.path()));
        std::mt19937 user(static_cast<std::uint32_t>(examples + 1));
        // The state at each cycle: the one the next step starts from.
        std::vector<Image> forward;
        for (int i = 0; i < STEPS; ++i) {
            actOnStation(simulator.target(), static_cast<std::uint32_t>(user()));
            forward.push_back(simulator.stateImage());
            simClock().advance(10);
            simulator.runSteps(1);
        }
        forward.push_back(simulator.stateImage());
        ASSERT_EQ(simulator.cycle(), static_cast<std::uint64_t>(STEPS));
        // Back to each of a few cycles, from the newest and from one another.
        for (const std::uint64_t cycle : {std::uint64_t{STEPS - 1}, std::uint64_t{0}, std::uint64_t{137},
                                          std::uint64_t{64}, std::uint64_t{65}, std::uint64_t{STEPS}}) {
            simulator.goToCycle(cycle);
            EXPECT_EQ(simulator.cycle(), cycle);
            EXPECT_EQ(simulator.stepsBack(), STEPS - cycle);
            EXPECT_TRUE(simulator.stateImage() == forward[cycle]) << "cycle " << cycle;
        }
        // Back 40 steps and forward again one step at a time.
        simulator.stepBack(40);
        for (int i = STEPS - 40 + 1; i <= STEPS; ++i) {
            simulator.singleStep();
            ASSERT_TRUE(simulator.stateImage() == forward[static_cast<std::size_t>(i)]) << "cycle " << i;
        }
        EXPECT_EQ(simulator.stepsBack(), 0u);
        EXPECT_TRUE(log.errors.empty());
        ++examples;
    }
    EXPECT_GE(examples, 5);
}

// Counts VW0 up by one per scan, and by 100 in scans with switch 0 on.
const std::string COUNTER = "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\n"
                            "NETWORK 1\nLD SM0.0\nINCW VW0\n"
                            "NETWORK 2\nLD E0.0\n+I 100, VW0\n"
                            "END_ORGANIZATION_BLOCK\n";

TEST_F(ScanHistoryTest, AChangeInThePastBeginsANewFuture) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.runSteps(20);
    simulator.stepBack(5);
    EXPECT_EQ(simulator.cpu().areaV.readWord(0), 15);
    EXPECT_EQ(simulator.history().newest(), 20u);
    simulator.target().toggleSwitch(0);
    simulator.singleStep();
    EXPECT_EQ(simulator.cpu().areaV.readWord(0), 116);
    EXPECT_EQ(simulator.cycle(), 16u);
    EXPECT_EQ(simulator.history().newest(), 16u);
    EXPECT_EQ(simulator.stepsBack(), 0u);
    // The new future is kept like the old one was.
    simulator.runSteps(4);
    simulator.goToCycle(17);
    EXPECT_EQ(simulator.cpu().areaV.readWord(0), 217);
}

TEST_F(ScanHistoryTest, ForcesAndWritesInThePastBeginANewFutureAndComeBackWithTheirState) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.runSteps(10);
    forceOperand(simulator.cpu(), "MW4", "7");
    simulator.runSteps(10);
    simulator.goToCycle(5);
    EXPECT_TRUE(simulator.cpu().forces.entries().empty());
    simulator.goToCycle(15);
    ASSERT_EQ(simulator.cpu().forces.entries().size(), 1u);
    EXPECT_EQ(simulator.cpu().forces.entries().front().name, "MW4");
    writeOperandOnce(simulator.cpu(), "VW0", "1000");
    simulator.singleStep();
    EXPECT_EQ(simulator.cpu().areaV.readWord(0), 1001);
    EXPECT_EQ(simulator.history().newest(), 16u);
}

TEST_F(ScanHistoryTest, ContinueLeavesTheKeptFutureBehind) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.runSteps(30);
    simulator.goToCycle(10);
    simulator.continueRun();
    EXPECT_EQ(simulator.history().newest(), 10u);
    EXPECT_EQ(simulator.stepsBack(), 0u);
    simulator.runSteps(1);
    EXPECT_EQ(simulator.cycle(), 11u);
    EXPECT_EQ(simulator.cpu().areaV.readWord(0), 11);
}

TEST_F(ScanHistoryTest, TheLimitsSayWhereTheyAreInGerman) {
    SilentLog log;
    Simulator simulator(log);
    const auto refusal = [&simulator](auto&& go) {
        try {
            go();
        } catch (const CPUException& error) {
            return error.messageText();
        }
        return std::string();
    };
    EXPECT_FALSE(simulator.canGoBack()); // no program yet
    loadText(simulator, COUNTER);
    simulator.runSteps(10);
    EXPECT_EQ(refusal([&] { simulator.stepBack(11); }),
              formatMessage("History reaches back to cycle %s", "0"));
    EXPECT_EQ(refusal([&] { simulator.goToCycle(11); }),
              formatMessage("Cycle %s not run yet, the last is %s", "11", "10"));
    simulator.setHistoryLimit(100);
    simulator.runSteps(600);
    const std::uint64_t oldest = simulator.history().oldest();
    EXPECT_GE(simulator.cycle() - oldest, 100u);
    ASSERT_GT(oldest, 0u);
    EXPECT_LE(simulator.cycle() - oldest, 100u + ScanHistory::CHECKPOINT_INTERVAL);
    EXPECT_EQ(refusal([&] { simulator.goToCycle(oldest - 1); }),
              formatMessage("History reaches back to cycle %s", std::to_string(oldest).c_str()));
    simulator.setHistoryLimit(0);
    EXPECT_EQ(refusal([&] { simulator.stepBack(); }), lookupMessage("History off"));
    EXPECT_FALSE(simulator.history().started());
    // Turned on again, it starts from the state now.
    simulator.setHistoryLimit(ScanHistory::DEFAULT_LIMIT);
    EXPECT_EQ(simulator.history().oldest(), simulator.cycle());
    // Running, the state cannot go back.
    simulator.runSteps(3);
    simulator.continueRun();
    EXPECT_FALSE(simulator.canGoBack());
}

TEST_F(ScanHistoryTest, ALoadAndAResetStartTheHistoryAfresh) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.runSteps(50);
    simulator.reset();
    EXPECT_EQ(simulator.history().oldest(), 50u);
    EXPECT_EQ(simulator.history().newest(), 50u);
    loadText(simulator, COUNTER);
    EXPECT_EQ(simulator.history().oldest(), 0u);
    EXPECT_EQ(simulator.history().newest(), 0u);
}

TEST_F(ScanHistoryTest, ABreakpointStopsAgainWhenTheStepsRunAgain) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.breakpoints().add(Condition(simulator.cpu(), "VW0", "== 12"));
    simulator.runSteps(30);
    ASSERT_EQ(log.stops, std::vector<std::string>{"1@12"});
    simulator.runSteps(10);
    simulator.goToCycle(5);
    simulator.runSteps(30);
    EXPECT_EQ(log.stops, (std::vector<std::string>{"1@12", "1@12"}));
    EXPECT_EQ(simulator.stepsBack(), 22u - 12u);
}

TEST_F(ScanHistoryTest, TheRecordingGoesOnFromWhereTheNewFutureBegins) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, COUNTER);
    simulator.recorder().record("E0.0");
    for (int i = 0; i < 20; ++i) {
        simClock().advance(10);
        simulator.runSteps(1);
        if (i == 14) simulator.target().toggleSwitch(0);
    }
    const RecordedSignal& signal = simulator.recorder().signal(0);
    ASSERT_EQ(signal.changes().size(), 2u); // 0 from step 1, 1 from step 16
    EXPECT_EQ(simulator.recorder().stepAt(105)->cycle, 10u);
    EXPECT_EQ(simulator.recorder().stepOf(10)->ms, 100u);
    EXPECT_FALSE(simulator.recorder().stepOf(21));
    simulator.goToCycle(12);
    // Looking back changes nothing of the recording.
    EXPECT_EQ(signal.changes().size(), 2u);
    EXPECT_EQ(simulator.recorder().latest()->cycle, 20u);
    simulator.target().toggleSwitch(1);
    simClock().advance(10);
    simulator.runSteps(1);
    EXPECT_EQ(signal.changes().size(), 1u);
    EXPECT_EQ(simulator.recorder().latest()->cycle, 13u);
    EXPECT_EQ(simulator.recorder().latest()->ms, 130u);
}

// A program that writes the whole variable memory in every scan, with a
// change from outside before every step: the history stays within its bytes.
TEST_F(ScanHistoryTest, MemoryStaysWithinTheBudgetEvenWhenEveryScanChangesEverything) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\n"
                        "NETWORK 1\nLD SM0.0\nINCD VD0\nMOVD VD0, AC0\n"
                        "NETWORK 2\nLD SM0.0\nFOR VW4092, 1, 1020\n"
                        "NETWORK 3\nLD SM0.0\nMOVW 0, VW8\nMOVW VW4092, VW10\n*I 4, VW10\nMOVD &VB0, AC1\n+D VD8, AC1\n"
                        "MOVD AC0, *AC1\n"
                        "NETWORK 4\nNEXT\n"
                        "END_ORGANIZATION_BLOCK\n");
    for (int i = 0; i < 20000; ++i) {
        simulator.target().toggleSwitch(i % 8);
        simulator.runSteps(1);
    }
    ASSERT_TRUE(log.errors.empty()) << log.errors.front();
    EXPECT_LE(simulator.history().bytes(), ScanHistory::BYTE_BUDGET);
    EXPECT_GE(simulator.history().newest() - simulator.history().oldest(), 1000u);
    const std::uint64_t back = simulator.history().oldest() + 3;
    simulator.goToCycle(back);
    EXPECT_EQ(simulator.cpu().areaV.readDword(0), static_cast<std::uint32_t>(back));
}

TEST_F(ScanHistoryTest, TenThousandScansOfTheExamplesFitInTheirBudget) {
    for (const char* name : {"carrier.awl", "joystick.awl", "timer_counter.awl"}) {
        SCOPED_TRACE(name);
        SilentLog log;
        Simulator simulator(log);
        loadText(simulator, fileText(std::filesystem::path(SPS_EXAMPLES_DIR) / name));
        for (int i = 0; i < 12000; ++i) {
            if (i % 50 == 0) simulator.target().toggleSwitch(i / 50 % 8);
            simClock().advance(10);
            simulator.runSteps(1);
        }
        EXPECT_GE(simulator.history().newest() - simulator.history().oldest(), ScanHistory::DEFAULT_LIMIT);
        EXPECT_LT(simulator.history().bytes(), std::size_t{8} << 20);
    }
}

} // namespace

namespace {

} // namespace

// Faults and their running state (bounce times, delay queues, the noise's
// random draws, the master's missing slaves) come back exactly with a cycle.
TEST_F(ScanHistoryTest, FaultsAndTheirStateComeBackWithTheCycle) {
    SilentLog log;
    Simulator simulator(log);
    loadText(simulator, fileText(std::filesystem::path(SPS_EXAMPLES_DIR) / "carrier_faults.awl"));
    Target& target = simulator.target();
    target.setFault(faultOn("Taste0", FaultKind::Bounce, 5, 7));
    target.setFault(faultOn("EndUnten", FaultKind::Delay, 35));
    target.setFault(faultOn("Swt2", FaultKind::Delay, 25));
    target.setFault(faultOn("Sonar", FaultKind::Noise, 30));
    target.setFault(faultOn("JoyRechts", FaultKind::Noise, 9));
    std::vector<Image> forward;
    for (int i = 0; i < 200; ++i) {
        if (i == 3) target.toggleButton(0);
        if (i % 13 == 0) target.toggleSwitch(2);
        if (i == 120) {
            Fault lost;
            lost.input = slaveRow(6);
            lost.kind = FaultKind::SlaveLost;
            target.setFault(lost);
        }
        if (i == 160) target.clearFault(findFaultInput("Sonar"));
        forward.push_back(simulator.stateImage());
        simClock().advance(3);
        simulator.runSteps(1);
    }
    forward.push_back(simulator.stateImage());
    ASSERT_NE(target.asiMaster().missingSlaves(), 0u);
    for (const std::uint64_t cycle : {std::uint64_t{10}, std::uint64_t{119}, std::uint64_t{121}, std::uint64_t{170}}) {
        simulator.goToCycle(cycle);
        EXPECT_TRUE(simulator.stateImage() == forward[cycle]) << "cycle " << cycle;
        EXPECT_EQ(target.faults().has(slaveRow(6)), cycle > 120) << "cycle " << cycle;
    }
    // Forward again from an early cycle, step by step, byte for byte.
    simulator.goToCycle(5);
    for (std::size_t i = 6; i <= 200; ++i) {
        simulator.singleStep();
        ASSERT_TRUE(simulator.stateImage() == forward[i]) << "cycle " << i;
    }
    // A fault set in the past begins a new future.
    simulator.goToCycle(50);
    target.clearFaults();
    simulator.singleStep();
    EXPECT_EQ(simulator.history().newest(), 51u);
    EXPECT_TRUE(target.faults().empty());
    EXPECT_TRUE(log.errors.empty());
}
