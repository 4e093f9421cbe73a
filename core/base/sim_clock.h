#pragma once

#include <cstdint>

namespace sps {

// The one simulation clock. In automatic mode it follows the platform's
// monotonic milliseconds divided by `clockDivisor`; in manual mode it stands
// at `manualTime` until the user steps it. Everything that measures time in
// the simulation reads `simTime()` and nothing else.
class SimClock {
public:
    static constexpr int MIN_DIVISOR = 1;
    static constexpr int MAX_DIVISOR = 1000;

    std::uint32_t now() const;

    int clockDivisor() const { return divisor_; }
    // -1 in automatic mode, otherwise the current simulated time in ms.
    std::int32_t manualTime() const { return manualTime_; }
    bool isManual() const { return manualTime_ != -1; }

    // Availability of the clock commands; a command that is not available
    // does nothing.
    bool canSlower() const { return !isManual() && divisor_ < MAX_DIVISOR; }
    bool canFaster() const { return !isManual() && divisor_ >= 2; }
    bool canSwitchToManual() const { return !isManual(); }
    bool canSwitchToAutomatic() const { return isManual(); }
    bool canAdvance() const { return isManual(); }

    void slower();
    void faster();
    void switchToManual(); // simulated time restarts at 0 ms
    void switchToAutomatic();
    void advance(std::uint32_t ms);

    // Holds the reading at `ms` until thaw(), so that everything one
    // simulation step measures sees one time, and a step can be repeated.
    void freeze(std::uint32_t ms);
    void thaw() { frozen_ = false; }
    // Puts the reading at `ms` (going back in the scan history): the manual
    // clock stands there, the automatic clock runs on from there.
    void setTime(std::uint32_t ms);

    // Replaces the platform tick source (tests); null restores the platform's.
    using TickSource = std::uint32_t (*)();
    void setTickSource(TickSource source) { tickSource_ = source; }
    bool hasTickSource() const { return tickSource_ != nullptr; }

private:
    int divisor_ = 1;
    std::int32_t manualTime_ = -1;
    TickSource tickSource_ = nullptr;
    std::uint32_t automaticOffset_ = 0; // added to the automatic reading, modulo 2^32
    bool frozen_ = false;
    std::uint32_t frozenTime_ = 0;
};

// The process-wide clock.
SimClock& simClock();

inline std::uint32_t simTime() { return simClock().now(); }

} // namespace sps
