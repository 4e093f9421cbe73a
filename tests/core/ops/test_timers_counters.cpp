// Timers on the manual clock for each resolution, and the up and up/down
// counters, run through small programs the way the scan runs them.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/sim_clock.h"
#include "cpu/engine.h"
#include "messages/latin1.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::installProgram;
using harness::loadError;

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override { simClock().switchToManual(); }
    void TearDown() override {
        simClock().setTickSource(nullptr);
        simClock().switchToAutomatic();
    }

    void load(const std::vector<std::vector<std::string>>& networks) {
        installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", networks}});
        resetCpu(cpu);
    }
    void scanAt(std::uint32_t advanceMs) {
        simClock().advance(advanceMs);
        scanCycle(cpu);
    }
    void input(int bit, int value) { cpu.areaM.writeBit(0, bit, value); }
    int flag(int bit) { return cpu.areaM.readBit(1, bit); }

    CPU cpu;
};

// TON on the 100-ms timer T37: 9 ticks after 950 ms, the bit at 1000 ms,
// cleared at once when the input drops.
TEST_F(TimerTest, OnDelayCountsWhileTheInputHolds) {
    load({{"LD M0.0", "TON T37, 10"}, {"LD T37", "= M1.0"}});
    input(0, 1);
    scanAt(0);
    scanAt(950);
    EXPECT_EQ(cpu.timers[37].value, 9);
    EXPECT_EQ(flag(0), 0);
    scanAt(50);
    EXPECT_EQ(cpu.timers[37].value, 10);
    EXPECT_EQ(flag(0), 1);
    scanAt(500);
    EXPECT_EQ(cpu.timers[37].value, 15) << "counts on past the preset";
    input(0, 0);
    scanAt(0);
    EXPECT_EQ(cpu.timers[37].value, 0);
    EXPECT_FALSE(cpu.timers[37].running);
    EXPECT_EQ(flag(0), 0);
}

// TONR on the 10-ms timer T1 keeps its value while the input is 0 and
// starts a new period when it returns, so the pause does not count.
TEST_F(TimerTest, RetentiveTimerAddsUpPeriods) {
    load({{"LD M0.0", "TONR T1, 50"}, {"LD T1", "= M1.0"}});
    input(0, 1);
    scanAt(0);
    scanAt(200);
    EXPECT_EQ(cpu.timers[1].value, 20);
    input(0, 0);
    scanAt(0);
    scanAt(1000);
    EXPECT_EQ(cpu.timers[1].value, 20);
    EXPECT_EQ(flag(0), 0);
    input(0, 1);
    scanAt(0);
    scanAt(300);
    EXPECT_EQ(cpu.timers[1].value, 50);
    EXPECT_EQ(flag(0), 1);
}

// A 100-ms timer moves only when its own instruction runs; a 10-ms timer
// is brought up to date once at the start of the scan.
TEST_F(TimerTest, HundredAndTenMillisecondTimersAdvanceAtTheirOwnPlaces) {
    load({{"LD SM0.0", "MOVW T37, VW0", "MOVW T33, VW4"},
          {"LD SM0.0", "TON T37, 100", "TON T33, 100"},
          {"LD SM0.0", "MOVW T37, VW2", "MOVW T33, VW6"}});
    scanAt(0);
    scanAt(500);
    EXPECT_EQ(cpu.areaV.readWord(0), 0);
    EXPECT_EQ(cpu.areaV.readWord(2), 5);
    EXPECT_EQ(cpu.areaV.readWord(4), 50);
    EXPECT_EQ(cpu.areaV.readWord(6), 50);
}

// Every timer number under the one instruction its number takes (the other
// is refused) counts 300 ms in ticks of its own resolution, whichever part
// of the scan brings it up to date.
TEST_F(TimerTest, EveryTimerNumberCountsAtItsResolution) {
    struct Range {
        int first, last;
        std::uint16_t resolution;
        const char* instruction;
        const char* refused;
    };
    const Range ranges[] = {
        {0, 0, 1, "TONR", "TON"},   {1, 4, 10, "TONR", "TON"},    {5, 31, 100, "TONR", "TON"},
        {32, 32, 1, "TON", "TONR"}, {33, 36, 10, "TON", "TONR"},  {37, 63, 100, "TON", "TONR"},
        {64, 64, 1, "TONR", "TON"}, {65, 68, 10, "TONR", "TON"},  {69, 95, 100, "TONR", "TON"},
        {96, 96, 1, "TON", "TONR"}, {97, 100, 10, "TON", "TONR"}, {101, 127, 100, "TON", "TONR"},
    };
    int covered = 0;
    for (const Range& range : ranges) {
        for (int n = range.first; n <= range.last; ++n, ++covered) {
            const std::string timer = "T" + std::to_string(n);
            SCOPED_TRACE(std::string(range.instruction) + " " + timer);
            EXPECT_NE(loadError(cpu, std::string(range.refused) + " " + timer + ", 1000"), "");
            load({{"LD SM0.0", std::string(range.instruction) + " " + timer + ", 1000"}});
            scanAt(0);
            scanAt(300);
            EXPECT_EQ(cpu.timers[static_cast<std::size_t>(n)].value, 300 / range.resolution);
        }
    }
    EXPECT_EQ(covered, CPU::TIMER_COUNT);
}

// A clock that moves 10 ms with every executed instruction, so that time
// passes during one scan.
const CPU* clockedCpu = nullptr;
std::uint32_t instructionClock() { return static_cast<std::uint32_t>(clockedCpu->instructionCount) * 10u; }

// The engine updates the 1-ms timers before every instruction, so they
// advance during a long scan. A 100-ms timer advances when its own
// instruction runs again; a 10-ms timer not even then.
TEST_F(TimerTest, OneMillisecondTimerAdvancesDuringALongScan) {
    std::vector<std::string> idle(20, "NOP 0");
    load({{"LD SM0.0", "TON T32, 30000", "TON T33, 30000", "TON T37, 30000"},
          idle,
          {"LD SM0.0", "TON T33, 30000", "TON T37, 30000", "MOVW T32, VW0", "MOVW T33, VW2", "MOVW T37, VW4"}});
    simClock().switchToAutomatic();
    clockedCpu = &cpu;
    simClock().setTickSource(instructionClock);
    scanCycle(cpu);
    // T32 started at the 2nd instruction (10 ms) and is read before the
    // 28th (270 ms); T37 started at 30 ms and was updated at 260 ms.
    EXPECT_EQ(cpu.areaV.readWord(0), 260);
    EXPECT_EQ(cpu.areaV.readWord(2), 0);
    EXPECT_EQ(cpu.areaV.readWord(4), 2);
}

// On the platform's clock the engine reads the time every few hundred
// instruction nodes, so a long scan still sees a 1-ms timer advance: this
// loop ends once T32 has counted 3 ms, long before the loop guard.
TEST_F(TimerTest, OneMillisecondTimerFollowsThePlatformClockDuringALongScan) {
    load({{"LD SM0.0", "TON T32, 30000"}, {"LBL 1"}, {"LDNW>= T32, 3", "JMP 1"}, {"LD SM0.0", "MOVW T32, VW0"}});
    simClock().switchToAutomatic();
    scanCycle(cpu);
    EXPECT_GE(cpu.areaV.readWord(0), 3);
}

TEST(TimerChecks, TimerAndCounterOperandsAreChecked) {
    CPU cpu;
    EXPECT_EQ(loadError(cpu, "TON T5, 10"), L1("Der ausgewählte Zähler unterstützt nur die Funktion TONR"));
    EXPECT_EQ(loadError(cpu, "TONR T37, 10"), L1("Der ausgewählte Zähler unterstützt nur die Funktion TON"));
    EXPECT_EQ(loadError(cpu, "TON Z0, 10"), L1("Es wird ein Timer als Parameter erwartet "));
    EXPECT_EQ(loadError(cpu, "ZV T37, 3"), L1("Es wird ein Zähler als Parameter erwartet"));
    EXPECT_EQ(loadError(cpu, "ZVR M0.0, 3"), L1("Es wird ein Zähler als Parameter erwartet"));
    // The boundaries of the two number ranges.
    for (const char* line : {"TON T32, 1", "TON T63, 1", "TON T96, 1", "TON T127, 1", "TONR T0, 1", "TONR T31, 1",
                             "TONR T64, 1", "TONR T95, 1"})
        EXPECT_EQ(loadError(cpu, line), "") << line;
    for (const char* line : {"TON T31, 1", "TON T64, 1", "TONR T32, 1", "TONR T96, 1"})
        EXPECT_NE(loadError(cpu, line), "") << line;
}

// ---- counters ----

// ZV on Z0: M0.0 counts up, M0.1 resets. After the counter the stack still
// holds the reset on top and the count input below it.
class CounterTest : public TimerTest {
protected:
    void SetUp() override {
        TimerTest::SetUp();
        load({{"LD M0.0", "LD M0.1", "ZV Z0, 3", "= M1.0", "LPP", "= M1.1"}, {"LD Z0", "= M1.2"}});
    }
    void scanWith(int up, int reset) {
        input(0, up);
        input(1, reset);
        scanCycle(cpu);
    }
    int value() const { return cpu.counters[0].value; }
};

TEST_F(CounterTest, CountsRisingEdgesOnly) {
    scanWith(0, 0);
    for (int i = 0; i < 3; ++i) {
        scanWith(1, 0);
        scanWith(0, 0);
    }
    EXPECT_EQ(value(), 3);
    EXPECT_EQ(flag(2), 1);
    scanWith(1, 0);
    scanWith(1, 0);
    scanWith(1, 0);
    EXPECT_EQ(value(), 4) << "a held input counts once";
}

TEST_F(CounterTest, ResetComesBeforeTheCount) {
    scanWith(0, 0);
    scanWith(1, 0);
    scanWith(0, 0);
    scanWith(1, 1);
    EXPECT_EQ(value(), 1);
    scanWith(1, 1);
    EXPECT_EQ(value(), 0);
}

TEST_F(CounterTest, InputAlreadyOneAfterResetDoesNotCount) {
    scanWith(1, 0);
    EXPECT_EQ(value(), 0);
    scanWith(0, 0);
    scanWith(1, 0);
    EXPECT_EQ(value(), 1);
    resetCpu(cpu);
    scanWith(1, 0);
    EXPECT_EQ(value(), 1) << "the reset keeps the count but forgets the input";
}

TEST_F(CounterTest, WrapsAtSixteenBits) {
    scanWith(0, 0);
    cpu.counters[0].value = 32767;
    scanWith(1, 0);
    EXPECT_EQ(value(), -32768);
    EXPECT_EQ(flag(2), 0);
}

TEST_F(CounterTest, StackIsUnchanged) {
    scanWith(1, 0);
    EXPECT_EQ(flag(0), 0);
    EXPECT_EQ(flag(1), 1);
    scanWith(0, 1);
    EXPECT_EQ(flag(0), 1);
    EXPECT_EQ(flag(1), 0);
}

// ZVR on Z1: M0.0 up, M0.2 down, M0.1 reset.
class UpDownCounterTest : public TimerTest {
protected:
    void SetUp() override {
        TimerTest::SetUp();
        load({{"LD M0.0", "LD M0.2", "LD M0.1", "ZVR Z1, 5", "= M1.0", "LPP", "= M1.1", "LPP", "= M1.2"}});
        scanWith(0, 0, 0);
    }
    void scanWith(int up, int down, int reset) {
        input(0, up);
        input(2, down);
        input(1, reset);
        scanCycle(cpu);
    }
    int value() const { return cpu.counters[1].value; }
};

TEST_F(UpDownCounterTest, CountsBothWaysAndWraps) {
    scanWith(0, 1, 0);
    EXPECT_EQ(value(), -1);
    scanWith(1, 0, 0);
    EXPECT_EQ(value(), 0);
    scanWith(0, 0, 0);
    scanWith(1, 1, 0);
    EXPECT_EQ(value(), 0) << "both edges at once cancel";
    cpu.counters[1].value = -32768;
    scanWith(0, 0, 0);
    scanWith(0, 1, 0);
    EXPECT_EQ(value(), 32767);
}

TEST_F(UpDownCounterTest, ResetThenEdgesAndStackUnchanged) {
    scanWith(0, 1, 0);
    scanWith(0, 0, 0);
    scanWith(0, 1, 1);
    EXPECT_EQ(value(), -1);
    EXPECT_EQ(flag(0), 1);
    EXPECT_EQ(flag(1), 1);
    EXPECT_EQ(flag(2), 0);
}

// Inside a closed sequence segment the counter reads 0 and keeps its edge
// memory: after reopening it counts only if its input was 0 when the segment
// was last active.
TEST_F(TimerTest, CounterEdgeMemoryFollowsTheSegmentGate) {
    load({{"LSCR S0.0"}, {"LD M0.0", "LD M0.1", "ZV Z2, 10"}, {"SCRE"}});
    const auto scanWith = [&](int segment, int up) {
        cpu.areaS.writeBit(0, 0, segment);
        input(0, up);
        scanCycle(cpu);
    };
    scanWith(1, 0);
    scanWith(1, 1);
    EXPECT_EQ(cpu.counters[2].value, 1);
    scanWith(0, 0);
    scanWith(1, 1);
    EXPECT_EQ(cpu.counters[2].value, 1) << "the input was 1 when the segment was last active";
    scanWith(1, 0);
    scanWith(0, 1);
    EXPECT_EQ(cpu.counters[2].value, 1) << "a closed segment does not count";
    scanWith(1, 1);
    EXPECT_EQ(cpu.counters[2].value, 2);
}

// TOF on a timer of each resolution, preset 50 ticks: bit 1 while the input
// is 1, counting from the fall, bit 0 and the value held at the preset once
// it is reached, bit 1 and value 0 again at once when the input returns.
TEST_F(TimerTest, OffDelayHoldsItsBitForThePresetAfterTheInputFalls) {
    const std::pair<int, std::uint32_t> timers[] = {{32, 1}, {33, 10}, {37, 100}};
    for (const auto& [number, resolution] : timers) {
        SCOPED_TRACE("T" + std::to_string(number));
        const std::string timer = "T" + std::to_string(number);
        load({{"LD M0.0", "TOF " + timer + ", 50"}, {"LD " + timer, "= M1.0"}});
        const TimerRecord& record = cpu.timers[static_cast<std::size_t>(number)];
        input(0, 0);
        scanAt(0);
        EXPECT_EQ(flag(0), 0) << "after a reset the bit is 0";
        scanAt(100 * resolution);
        EXPECT_EQ(record.value, 0) << "no timing before the input was 1";
        input(0, 1);
        scanAt(0);
        EXPECT_EQ(flag(0), 1);
        EXPECT_EQ(record.value, 0);
        input(0, 0);
        scanAt(0);
        scanAt(20 * resolution);
        EXPECT_EQ(record.value, 20);
        EXPECT_EQ(flag(0), 1);
        scanAt(30 * resolution);
        EXPECT_EQ(record.value, 50);
        EXPECT_EQ(flag(0), 0);
        scanAt(40 * resolution);
        EXPECT_EQ(record.value, 50) << "stops at the preset";
        input(0, 1);
        scanAt(0);
        EXPECT_EQ(flag(0), 1);
        EXPECT_EQ(record.value, 0);
    }
}

TEST_F(TimerTest, ResetCoilStopsAnOffDelayTimer) {
    load({{"LD M0.0", "TOF T40, 10"}, {"LD M0.1", "R T40, 1"}, {"LD T40", "= M1.0"}});
    input(0, 1);
    scanAt(0);
    input(0, 0);
    scanAt(0);
    scanAt(300);
    EXPECT_EQ(flag(0), 1);
    input(1, 1);
    scanAt(0);
    EXPECT_EQ(flag(0), 0);
    EXPECT_EQ(cpu.timers[40].value, 0);
    input(1, 0);
    scanAt(5000);
    EXPECT_EQ(cpu.timers[40].value, 0) << "a reset timer waits for its input again";
}

// ZR on Z5: M0.0 count-down, M0.1 load (the top), which the next
// instruction still sees.
TEST_F(TimerTest, DownCounterLoadsThePresetAndStopsAtZero) {
    load({{"LD M0.0", "LD M0.1", "ZR Z5, 3", "= M1.1"}, {"LD Z5", "= M1.0"}});
    const auto pulse = [&] {
        input(0, 1);
        scanCycle(cpu);
        input(0, 0);
        scanCycle(cpu);
    };
    input(1, 1);
    scanCycle(cpu);
    EXPECT_EQ(cpu.counters[5].value, 3);
    EXPECT_EQ(flag(0), 0) << "the load input holds the bit at 0";
    EXPECT_EQ(flag(1), 1) << "the stack is left as it was";
    input(1, 0);
    scanCycle(cpu);
    for (int expected : {2, 1, 0, 0}) {
        pulse();
        EXPECT_EQ(cpu.counters[5].value, expected);
    }
    EXPECT_EQ(flag(0), 1);
    EXPECT_EQ(flag(1), 0);
    load({{"LD M0.0", "LD M0.1", "ZR Z5, 3"}, {"LD M0.2", "R Z5, 1"}, {"LD Z5", "= M1.0"}});
    input(1, 1);
    scanCycle(cpu);
    input(1, 0);
    input(2, 1);
    scanCycle(cpu);
    EXPECT_EQ(cpu.counters[5].value, 0);
    EXPECT_EQ(flag(0), 0) << "R gives value 0 and bit 0";
}

TEST_F(TimerTest, OffDelayAndDownCounterTakeOnlyTheirNumbers) {
    EXPECT_EQ(loadError(cpu, "TOF T0, 5"), L1("Der ausgewählte Zähler unterstützt nur die Funktion TONR"));
    EXPECT_EQ(loadError(cpu, "TOF T101, 5"), "");
    EXPECT_EQ(loadError(cpu, "ZR T1, 5"), L1("Es wird ein Zähler als Parameter erwartet"));
    EXPECT_EQ(loadError(cpu, "ZR Z255, VW0"), "");
}

} // namespace
