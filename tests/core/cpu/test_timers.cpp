#include <cstdint>

#include <gtest/gtest.h>

#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "support/clock_guard.h"

using namespace sps;

namespace {

class TimerTest : public ClockTest {
protected:
    // A running timer of the given resolution that last counted at `lastUpdate`.
    static TimerRecord runningTimer(std::uint16_t resolution, std::uint32_t lastUpdate, std::uint16_t value = 0) {
        TimerRecord timer;
        timer.resolution = resolution;
        timer.running = true;
        timer.lastUpdate = lastUpdate;
        timer.value = value;
        return timer;
    }
};

TEST_F(TimerTest, FreshCpuIsZeroedWithEveryTimerAndCounterBitSet) {
    ClockGuard::manualAt(1234);
    CPU cpu;
    for (std::uint32_t accumulator : cpu.accumulators) EXPECT_EQ(accumulator, 0u);
    struct Area {
        const char* name;
        MemField& field;
        int size;
    };
    const Area areas[] = {{"E", cpu.areaE, 8},    {"A", cpu.areaA, 8},  {"M", cpu.areaM, 32},
                          {"V", cpu.areaV, 4096}, {"S", cpu.areaS, 16}, {"SM", cpu.areaSM, 86}};
    for (const Area& area : areas) {
        SCOPED_TRACE(area.name);
        EXPECT_EQ(area.field.size(), area.size);
        EXPECT_NO_THROW(area.field.writeByte(area.size - 1, 0)) << "unprotected";
        for (int i = 0; i < area.size; ++i) ASSERT_EQ(area.field.readByte(i), 0) << "byte " << i;
    }
    for (int n = 0; n < CPU::TIMER_COUNT; ++n) {
        TimerRecord& timer = cpu.timers[static_cast<std::size_t>(n)];
        EXPECT_EQ(timer.value, 0);
        EXPECT_EQ(timer.preset, 0);
        EXPECT_FALSE(timer.running);
        EXPECT_EQ(timer.lastUpdate, 1234u);
        EXPECT_EQ(TimerParameter(timer, n).getBit(), 1) << "T" << n;
    }
    for (int n = 0; n < CPU::COUNTER_COUNT; ++n) {
        CounterRecord& counter = cpu.counters[static_cast<std::size_t>(n)];
        EXPECT_EQ(counter.value, 0);
        EXPECT_EQ(counter.preset, 0);
        EXPECT_EQ(CounterParameter(counter, n).getBit(), 1) << "Z" << n;
    }
    EXPECT_EQ(cpu.bus, nullptr);
    EXPECT_EQ(cpu.program, nullptr);
    EXPECT_EQ(cpu.traceSink, nullptr);
}

TEST_F(TimerTest, ResolutionFollowsTheTimerNumber) {
    struct Range {
        int first, last;
        std::uint16_t resolution;
    };
    const Range ranges[] = {
        {0, 0, 1},   {1, 4, 10},   {5, 31, 100},  {32, 32, 1}, {33, 36, 10},  {37, 63, 100},
        {64, 64, 1}, {65, 68, 10}, {69, 95, 100}, {96, 96, 1}, {97, 100, 10}, {101, 127, 100},
    };
    CPU cpu;
    int covered = 0;
    for (const Range& range : ranges) {
        for (int n = range.first; n <= range.last; ++n, ++covered) {
            EXPECT_EQ(timerResolution(n), range.resolution) << "T" << n;
            EXPECT_EQ(cpu.timers[static_cast<std::size_t>(n)].resolution, range.resolution) << "T" << n;
        }
    }
    EXPECT_EQ(covered, CPU::TIMER_COUNT);
}

TEST_F(TimerTest, CountsWholeTicksAndCarriesTheRemainder) {
    ClockGuard::manualAt(1025);
    TimerRecord timer = runningTimer(10, 1000);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 2);
    EXPECT_EQ(timer.lastUpdate, 1020u);
    simClock().advance(4);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 2);
    simClock().advance(1);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 3);
    EXPECT_EQ(timer.lastUpdate, 1030u);
}

TEST_F(TimerTest, CountsAtMost6000TicksPerUpdate) {
    struct Case {
        std::uint16_t resolution;
        std::uint32_t elapsed;
        std::uint16_t ticks;
        std::uint32_t lastUpdateBehindNow;
    };
    const Case cases[] = {
        {100, 1000000, 6000, 0}, // 1000 s behind: the remaining 400 s are dropped
        {100, 600050, 6000, 50}, // exactly 6000 ticks: the remainder is kept
        {100, 600100, 6000, 0},  // 6001 ticks
        {1, 6001, 6000, 0},      {10, 59999, 5999, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.resolution << " ms, " << c.elapsed << " ms behind");
        ClockGuard::manualAt(1000 + c.elapsed);
        TimerRecord timer = runningTimer(c.resolution, 1000);
        updateTimer(timer);
        EXPECT_EQ(timer.value, c.ticks);
        EXPECT_EQ(timer.lastUpdate, simTime() - c.lastUpdateBehindNow);
    }
}

TEST_F(TimerTest, ValueSaturatesAt65535) {
    ClockGuard::manualAt(100000);
    TimerRecord full = runningTimer(1, 99000, 65535);
    updateTimer(full);
    EXPECT_EQ(full.value, 65535);
    EXPECT_EQ(full.lastUpdate, 100000u);

    TimerRecord almost = runningTimer(10, 99900, 65530);
    updateTimer(almost);
    EXPECT_EQ(almost.value, 65535);
    EXPECT_EQ(almost.lastUpdate, 100000u);
}

TEST_F(TimerTest, StoppedTimerIsLeftAlone) {
    ClockGuard::manualAt(900000);
    TimerRecord timer = runningTimer(1, 5, 7);
    timer.running = false;
    updateTimer(timer);
    EXPECT_EQ(timer.value, 7);
    EXPECT_EQ(timer.lastUpdate, 5u);
}

TEST_F(TimerTest, LastUpdateInTheFutureRestartsTheMeasurement) {
    ClockGuard::manualAt(0); // the clock jumped back from 50 s to 0
    TimerRecord timer = runningTimer(100, 50000, 3);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 3);
    EXPECT_EQ(timer.lastUpdate, 0u);
    simClock().advance(100);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 4);
    EXPECT_EQ(timer.lastUpdate, 100u);
}

TEST_F(TimerTest, AMoreSlowlyDividedClockAlsoMovesTimeBack) {
    ClockGuard::useFakeTicks(300000);
    TimerRecord timer = runningTimer(10, simTime());
    simClock().slower(); // 150000 ms now
    updateTimer(timer);
    EXPECT_EQ(timer.value, 0);
    EXPECT_EQ(timer.lastUpdate, 150000u);
    ClockGuard::useFakeTicks(300040);
    updateTimer(timer);
    EXPECT_EQ(timer.value, 2);
}

} // namespace
