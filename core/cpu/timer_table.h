#pragma once

// Which timer number counts at which resolution and serves which timer
// instructions: the one table from which the CPU's timer records, the
// engine's update lists and the instructions' operand checks are derived.

#include <array>
#include <cstddef>
#include <cstdint>

namespace sps {

inline constexpr int TIMER_NUMBERS = 128;

// The instructions a timer number serves: the retentive on-delay timer
// (TONR) or the on-delay timer (TON).
enum class TimerFamily : std::uint8_t { Retentive, OnDelay };

// When a running timer of a resolution is brought up to date: before every
// instruction of the scan and when its instruction runs (1 ms), once at the
// start of every scan (10 ms), or only when its instruction runs (100 ms).
enum class TimerUpdate : std::uint8_t { BeforeEveryInstruction, AtScanStart, WhenExecuted };

struct TimerRange {
    int first;
    int last;
    std::uint16_t resolution; // milliseconds per tick
    TimerFamily family;
};

inline constexpr std::array<TimerRange, 12> TIMER_RANGES{{
    {0, 0, 1, TimerFamily::Retentive},
    {1, 4, 10, TimerFamily::Retentive},
    {5, 31, 100, TimerFamily::Retentive},
    {32, 32, 1, TimerFamily::OnDelay},
    {33, 36, 10, TimerFamily::OnDelay},
    {37, 63, 100, TimerFamily::OnDelay},
    {64, 64, 1, TimerFamily::Retentive},
    {65, 68, 10, TimerFamily::Retentive},
    {69, 95, 100, TimerFamily::Retentive},
    {96, 96, 1, TimerFamily::OnDelay},
    {97, 100, 10, TimerFamily::OnDelay},
    {101, 127, 100, TimerFamily::OnDelay},
}};

// The range of a timer number (0..127).
constexpr const TimerRange& timerRange(int number) {
    for (const TimerRange& range : TIMER_RANGES)
        if (number >= range.first && number <= range.last) return range;
    return TIMER_RANGES.back();
}

constexpr std::uint16_t timerResolution(int number) { return timerRange(number).resolution; }
constexpr TimerFamily timerFamily(int number) { return timerRange(number).family; }

constexpr TimerUpdate timerUpdate(std::uint16_t resolution) {
    return resolution == 1    ? TimerUpdate::BeforeEveryInstruction
           : resolution == 10 ? TimerUpdate::AtScanStart
                              : TimerUpdate::WhenExecuted;
}

// Whether a timer's own instruction brings it up to date when it runs.
constexpr bool updatedWhenExecuted(std::uint16_t resolution) {
    return timerUpdate(resolution) != TimerUpdate::AtScanStart;
}

// The timer numbers that are brought up to date at `When`, in ascending order.
template <TimerUpdate When> constexpr auto timersUpdated() {
    constexpr auto updated = [](int t) { return timerUpdate(timerResolution(t)) == When; };
    constexpr std::size_t count = [updated] {
        std::size_t n = 0;
        for (int t = 0; t < TIMER_NUMBERS; ++t)
            if (updated(t)) ++n;
        return n;
    }();
    std::array<int, count> numbers{};
    std::size_t at = 0;
    for (int t = 0; t < TIMER_NUMBERS; ++t)
        if (updated(t)) numbers[at++] = t;
    return numbers;
}

} // namespace sps
