#include "cpu/cpu.h"

#include "base/sim_clock.h"
#include "cpu/io.h"
#include "cpu/timer_table.h"

namespace sps {

CPU::CPU() : CPU(nullptr) {}

CPU::CPU(IOBus& wiredBus) : CPU(&wiredBus) {}

CPU::CPU(IOBus* wiredBus) : bus(wiredBus) {
    const std::uint32_t now = simTime();
    for (int n = 0; n < TIMER_COUNT; ++n) {
        TimerRecord& timer = timers[static_cast<std::size_t>(n)];
        timer.resolution = timerResolution(n);
        timer.lastUpdate = now;
    }
}

CPU::~CPU() = default;

std::uint16_t CPU::readAnalogInput(int channel) {
    if (forces.analogInputForced(channel)) return forces.analogInputValue(channel);
    return bus != nullptr ? bus->readAnalog(channel) : 0;
}

void resetTimer(TimerRecord& timer) {
    timer.value = 0;
    timer.running = false;
    timer.held = false;
}

void resetCounter(CounterRecord& counter) {
    counter.value = 0;
    counter.downBit = false;
}

void updateTimer(TimerRecord& timer) {
    if (timer.running) updateTimer(timer, simTime());
}

void updateTimer(TimerRecord& timer, std::uint32_t now) {
    if (!timer.running) return;
    if (now < timer.lastUpdate) timer.lastUpdate = now;
    const std::uint32_t elapsed = now - timer.lastUpdate;
    // A record without a tick length (never one of the CPU's) does not count.
    if (timer.resolution == 0 || elapsed < timer.resolution) return;
    std::uint32_t ticks = elapsed / timer.resolution;
    if (ticks > MAX_TIMER_CATCHUP) {
        ticks = MAX_TIMER_CATCHUP;
        timer.lastUpdate = now - timer.resolution * MAX_TIMER_CATCHUP;
    }
    timer.lastUpdate += timer.resolution * ticks;
    const std::uint32_t value = timer.value + ticks;
    timer.value = static_cast<std::uint16_t>(value > 65535 ? 65535 : value);
    if (timer.offDelay && timer.value >= timer.preset) {
        timer.value = timer.preset;
        timer.running = false;
    }
}

} // namespace sps
