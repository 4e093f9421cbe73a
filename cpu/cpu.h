#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "cpu/mem_field.h"
#include "cpu/program.h"

namespace sps {

class IOBus;
class Writer;
class Parameter;

// The state of one timer; `value` counts ticks of `resolution` milliseconds.
struct TimerRecord {
    std::uint16_t value = 0;
    std::uint16_t preset = 0;
    std::uint16_t resolution = 100;
    int running = 0;
    std::uint32_t lastUpdate = 0;
};

// The state of one counter.
struct CounterRecord {
    std::int16_t preset = 0;
    std::int16_t value = 0;
};

// The simulated controller: memory areas, timers, counters, accumulators, the
// loaded program and the state of the execution engine.
class CPU {
public:
    static constexpr int TIMER_COUNT = 128;
    static constexpr int COUNTER_COUNT = 256;
    static constexpr int ACCUMULATOR_COUNT = 4;

    CPU();
    ~CPU();
    CPU(const CPU&) = delete;
    CPU& operator=(const CPU&) = delete;

    MemField areaM{32, false};
    MemField areaV{4096, false};
    MemField areaS{16, false};
    std::array<TimerRecord, TIMER_COUNT> timers;
    std::array<CounterRecord, COUNTER_COUNT> counters;
    IOBus* bus = nullptr; // not owned; set by the shell after construction
    std::array<std::uint32_t, ACCUMULATOR_COUNT> accumulators{};
    int instructionCount = 0;
    // None until a program is loaded. Shared and immutable, so that whatever
    // was made from a program (a ladder view) keeps it after a new load.
    std::shared_ptr<const Program> program;
    Writer* traceSink = nullptr; // set only around a traced scan
    std::uint32_t logicStack = 0;
    MemField areaA{8, false};
    MemField areaE{8, false};
    SMField areaSM{86};
    int scrState = -1;
    int jumpLabel = -1;
    int callState = 0;
    Parameter* scrBit = nullptr; // the S bit of the open sequence segment
    int callDepth = 0;           // subroutine frames currently open
};

// Timer resolution in milliseconds by timer number: 1, 10 or 100.
std::uint16_t timerResolution(int timerNumber);

// At most this many ticks are counted in one update; time beyond is dropped.
inline constexpr std::uint32_t MAX_TIMER_CATCHUP = 6000;

// Advances a running timer by the whole ticks elapsed since its last update;
// the remainder carries into the next call and the value saturates at 65535.
void updateTimer(TimerRecord& timer);

} // namespace sps
