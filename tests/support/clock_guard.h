#pragma once

// The simulation clock is one process-wide object. A test that changes it
// holds a ClockGuard (or derives its fixture from ClockTest), which afterwards
// restores automatic mode, divisor 1 and the platform tick source, so that no
// test sees the clock as another one left it.

#include <cstdint>

#include <gtest/gtest.h>

#include "base/sim_clock.h"

namespace sps {

class ClockGuard {
public:
    ClockGuard() { restore(); }
    ~ClockGuard() { restore(); }
    ClockGuard(const ClockGuard&) = delete;
    ClockGuard& operator=(const ClockGuard&) = delete;

    // The tick count that the clock reads while setFakeTicks is active.
    static inline std::uint32_t fakeTicks = 0;

    static void useFakeTicks(std::uint32_t ticks) {
        fakeTicks = ticks;
        simClock().setTickSource([] { return fakeTicks; });
    }

    // Manual mode at the given time: restarts at 0, then steps forward.
    static void manualAt(std::uint32_t ms) {
        SimClock& clock = simClock();
        clock.switchToAutomatic();
        clock.switchToManual();
        clock.advance(ms);
    }

private:
    static void restore() {
        SimClock& clock = simClock();
        clock.switchToAutomatic();
        while (clock.canFaster()) clock.faster();
        clock.setTickSource(nullptr);
    }
};

class ClockTest : public ::testing::Test {
private:
    ClockGuard guard_;
};

} // namespace sps
