#include "base/sim_clock.h"

#include <chrono>

namespace sps {

namespace {

std::uint32_t platformTicks() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

} // namespace

SimClock& simClock() {
    static SimClock clock;
    return clock;
}

std::uint32_t SimClock::now() const {
    if (frozen_) return frozenTime_;
    if (isManual()) return static_cast<std::uint32_t>(manualTime_);
    const std::uint32_t ticks = tickSource_ != nullptr ? tickSource_() : platformTicks();
    return ticks / static_cast<std::uint32_t>(divisor_) + automaticOffset_;
}

void SimClock::freeze(std::uint32_t ms) {
    frozenTime_ = ms;
    frozen_ = true;
}

void SimClock::setTime(std::uint32_t ms) {
    const bool wasFrozen = frozen_;
    frozen_ = false;
    if (isManual())
        // The one value that would read as "automatic" is stepped over, as advance does.
        manualTime_ = static_cast<std::int32_t>(ms == 0xFFFFFFFFu ? 0 : ms);
    else
        automaticOffset_ += ms - now();
    frozenTime_ = now();
    frozen_ = wasFrozen;
}

void SimClock::slower() {
    if (canSlower()) ++divisor_;
}

void SimClock::faster() {
    if (canFaster()) --divisor_;
}

void SimClock::switchToManual() {
    if (canSwitchToManual()) manualTime_ = 0;
}

void SimClock::switchToAutomatic() {
    if (!canSwitchToAutomatic()) return;
    manualTime_ = -1;
    automaticOffset_ = 0;
}

void SimClock::advance(std::uint32_t ms) {
    if (!canAdvance()) return;
    // Wraps like the 32-bit millisecond counter it models; the one value that
    // would read as "automatic" is stepped over.
    std::uint32_t next = static_cast<std::uint32_t>(manualTime_) + ms;
    if (next == 0xFFFFFFFFu) next = 0;
    manualTime_ = static_cast<std::int32_t>(next);
}

} // namespace sps
