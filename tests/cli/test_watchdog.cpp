#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/watchdog.h"

using namespace sps;

namespace {

using namespace std::chrono_literals;

// A script stuck where the runner never looks at the clock, here asleep as
// if it waited for input that never comes: the run ends with the complaint
// the runner would print (check_stuck_timeout.cmake runs spsrun so).
TEST(WatchdogDeathTest, EndsTheRunWithTheTimeoutComplaintWhenTheScriptIsStuck) {
    EXPECT_EXIT(
        {
            std::fputs("printed before", stdout);
            // The alarm a moment ahead, so that the line is known by then.
            Watchdog watchdog(Watchdog::Clock::now() + 100ms, "spsrun: s.sps: ", 3, 0s);
            watchdog.atLine(7);
            for (;;) std::this_thread::sleep_for(1h);
        },
        testing::ExitedWithCode(2), "^spsrun: s\\.sps: line 7: timeout after 3 s\n$");
}

} // namespace
