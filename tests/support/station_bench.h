#pragma once

#include <cstdint>
#include <memory>

#include "asi/analog_slaves.h"
#include "asi/asi_master.h"
#include "cpu/io.h"
#include "station/target.h"
#include "support/asi_controller.h"
#include "support/manual_clock.h"

namespace sps {

// A station on its standard bus with the clock in manual mode at 0 ms. With
// the AS-i master stopped, tests may set the slaves' actuator bits directly.
struct StationBench {
    static constexpr int ASI_OUTPUT_BYTE = 2;

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
    // The controller starts the AS-i bus: bank 0, enable (output byte 2).
    void startAsi() {
        for (int bit = 0; bit < ASIMaster::BANK_BITS; ++bit) bus->writeOutput(ASI_OUTPUT_BYTE, bit, 0);
        bus->writeOutput(ASI_OUTPUT_BYTE, 7, 1);
    }
    // Sends `value` to channel `channel` of the analog output slave 2 as the
    // controller's protocol does.
    void analogOut(int channel, int value) {
        AnalogOutASI& slave = target.analogOut2();
        AnalogProtocol([&slave](int request) { return slave.exchange(request); }).write(channel, value);
    }
};

} // namespace sps
