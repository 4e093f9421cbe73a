#include <gtest/gtest.h>

#include "base/sim_clock.h"
#include "support/clock_guard.h"

using namespace sps;

namespace {

class SimClockTest : public ClockTest {
protected:
    SimClock& clock = simClock();

    void setDivisor(int divisor) {
        while (clock.clockDivisor() < divisor) clock.slower();
        while (clock.clockDivisor() > divisor) clock.faster();
        ASSERT_EQ(clock.clockDivisor(), divisor);
    }
};

TEST_F(SimClockTest, StartsAutomaticWithDivisorOneFollowingTheTicks) {
    EXPECT_FALSE(clock.isManual());
    EXPECT_EQ(clock.manualTime(), -1);
    EXPECT_EQ(clock.clockDivisor(), 1);
    ClockGuard::useFakeTicks(123456);
    EXPECT_EQ(simTime(), 123456u);
}

TEST_F(SimClockTest, DividesTheTicksDroppingTheRemainder) {
    ClockGuard::useFakeTicks(10);
    setDivisor(3);
    EXPECT_EQ(simTime(), 3u);
    ClockGuard::useFakeTicks(0xFFFFFFFFu);
    EXPECT_EQ(simTime(), 0xFFFFFFFFu / 3);
}

TEST_F(SimClockTest, SlowerAndFasterStopAtTheDivisorLimits) {
    EXPECT_FALSE(clock.canFaster());
    clock.faster();
    EXPECT_EQ(clock.clockDivisor(), 1);
    EXPECT_TRUE(clock.canSlower());

    setDivisor(1000);
    EXPECT_FALSE(clock.canSlower());
    clock.slower();
    EXPECT_EQ(clock.clockDivisor(), 1000);
    EXPECT_TRUE(clock.canFaster());
    clock.faster();
    EXPECT_EQ(clock.clockDivisor(), 999);
}

TEST_F(SimClockTest, ManualModeRestartsAtZeroAndMovesOnlyByTheSteps) {
    ClockGuard::useFakeTicks(90000);
    setDivisor(3);
    clock.switchToManual();
    EXPECT_TRUE(clock.isManual());
    EXPECT_EQ(simTime(), 0u);
    ClockGuard::useFakeTicks(95000);
    EXPECT_EQ(simTime(), 0u);
    for (int step = 0; step < 4; ++step) clock.advance(1000);
    EXPECT_EQ(simTime(), 4000u);
    clock.advance(1);
    clock.advance(10);
    clock.advance(100);
    EXPECT_EQ(simTime(), 4111u);

    clock.switchToAutomatic();
    EXPECT_FALSE(clock.isManual());
    EXPECT_EQ(simTime(), 95000u / 3);
}

TEST_F(SimClockTest, SwitchingToManualAgainRestartsAtZero) {
    clock.switchToManual();
    clock.advance(1000);
    clock.switchToAutomatic();
    clock.switchToManual();
    EXPECT_EQ(simTime(), 0u);
}

TEST_F(SimClockTest, CommandsOfTheOtherModeDoNothing) {
    ClockGuard::useFakeTicks(5000);
    clock.advance(1000); // automatic: no manual steps
    clock.switchToAutomatic();
    EXPECT_FALSE(clock.isManual());
    EXPECT_EQ(simTime(), 5000u);

    setDivisor(2);
    clock.switchToManual();
    clock.advance(10);
    EXPECT_FALSE(clock.canSlower());
    EXPECT_FALSE(clock.canFaster());
    EXPECT_FALSE(clock.canSwitchToManual());
    clock.slower();
    clock.faster();
    clock.switchToManual(); // would restart at 0
    EXPECT_EQ(clock.clockDivisor(), 2);
    EXPECT_EQ(simTime(), 10u);
}

TEST_F(SimClockTest, ManualTimeNeverReadsAsAutomaticWhenItWraps) {
    clock.switchToManual();
    clock.advance(0xFFFFFFFEu);
    EXPECT_EQ(simTime(), 0xFFFFFFFEu);
    clock.advance(1);
    EXPECT_TRUE(clock.isManual());
}

} // namespace
