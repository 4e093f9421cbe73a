// Faults on the station: setting and clearing them, and their share of each
// step and bus cycle.

#include "base/sim_clock.h"
#include "station/fault_words.h"
#include "station/target.h"

namespace sps {

void Target::setFault(const Fault& fault) {
    checkFault(fault);
    ++userChanges_;
    faults_.set(fault, physicalValue(fault.input), simTime());
    faultsChanged();
}

void Target::clearFault(int input) {
    ++userChanges_;
    if (faults_.clear(input)) faultsChanged();
}

void Target::clearFaults() {
    ++userChanges_;
    faults_.clearAll();
    faultsChanged();
}

// A changed analog fault reaches the joystick's channels at once, as they
// change only when the knob moves.
void Target::faultsChanged() {
    installFaultLine();
    sendJoystickChannels();
}

// The master routes through the station the addresses whose slave is lost or
// has a faulty input.
void Target::installFaultLine() {
    std::uint32_t addresses = 0;
    for (const Fault& fault : faults_.faults()) {
        const FaultInput& input = faultInputs()[static_cast<std::size_t>(fault.input)];
        if (input.place == InputPlace::SlaveBit || input.place == InputPlace::Slave) addresses |= 1u << input.address;
    }
    asiMaster_->setFaultLine(addresses != 0 ? this : nullptr, addresses);
}

void Target::stepFaults(std::uint32_t now) {
    for (int k = 0; k < SWITCHES; ++k)
        if (faults_.has(FIRST_SWITCH_ROW + k))
            faults_.observe(FIRST_SWITCH_ROW + k, state_.switchIn[static_cast<std::size_t>(k)], now);
    // Fresh noise for the knob's channels in every cycle.
    if (faults_.has(JOYSTICK_UP_ROW) || faults_.has(JOYSTICK_RIGHT_ROW)) sendJoystickChannels();
}

DigitalASI* Target::digitalSlave(int address) const {
    for (DigitalASI* slave : {slave1_.get(), slave4_.get(), slave6_.get(), slave7_.get(), slave8_.get(), slave9_.get()})
        if (slave->address() == address) return slave;
    return nullptr;
}

int Target::physicalValue(int input) const {
    const FaultInput& place = faultInputs()[static_cast<std::size_t>(input)];
    switch (place.place) {
    case InputPlace::Switch: return state_.switchIn[static_cast<std::size_t>(place.index)];
    case InputPlace::StationBit: return state_.inputE10;
    case InputPlace::SlaveBit: {
        const DigitalASI* slave = digitalSlave(place.address);
        return slave != nullptr ? slave->input(place.index) : 0;
    }
    default: return 0;
    }
}

bool Target::answers(int address) {
    const int row = slaveRow(address);
    return row < 0 || !faults_.has(row);
}

int Target::arriving(int address, int answer) {
    const std::uint32_t now = simTime();
    for (int d = 0; d < DigitalASI::BITS; ++d) {
        const int row = slaveBitRow(address, d);
        if (row < 0 || !faults_.has(row)) continue;
        const int bit = faults_.deliver(row, (answer >> d) & 1, now);
        answer = (answer & ~(1 << d)) | (bit << d);
    }
    return answer;
}

} // namespace sps
