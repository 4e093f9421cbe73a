#pragma once

#include <cstdint>
#include <memory>

#include "asi/analog_slaves.h"
#include "cpu/io.h"
#include "station/target.h"
#include "support/asi_controller.h"
#include "support/manual_clock.h"

namespace sps {

// A station on its standard bus with the clock in manual mode at 0 ms. With
// the AS-i master stopped, tests may set the slaves' actuator bits directly.
struct StationBench {
    ManualClock clock;
    Target target;
    std::unique_ptr<IOBus> bus = target.createBus();

    // Lets `ms` of simulated time pass, then runs one plant step.
    void step(std::uint32_t ms) {
        clock.advance(ms);
        target.plantStep();
    }
    // Puts the carrier at `pos` and lets the sensors see it (no time passes).
    void at(int pos) {
        target.placeCarrier(pos);
        target.plantStep();
    }
    // Sends `value` to channel `channel` of the analog output slave 2 as the
    // controller's protocol does.
    void analogOut(int channel, int value) {
        AnalogOutASI& slave = target.analogOut2();
        AnalogProtocol([&slave](int request) { return slave.exchange(request); }).write(channel, value);
    }
};

} // namespace sps
