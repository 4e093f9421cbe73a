#pragma once

#include <cstdint>

#include "base/random_source.h"
#include "base/sim_clock.h"

namespace sps {

// Puts the simulation clock into manual mode at 0 ms and seeds the random
// source for the lifetime of a test; restores automatic mode afterwards.
class ManualClock {
public:
    explicit ManualClock(std::uint32_t seed = 1) {
        simClock().switchToAutomatic();
        simClock().switchToManual();
        seedRandom(seed);
    }
    ~ManualClock() { simClock().switchToAutomatic(); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void advance(std::uint32_t ms) { simClock().advance(ms); }
};

} // namespace sps
