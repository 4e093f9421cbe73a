// The station's physics: one step after each scan, and the carrier's motion.
//
// Expressions with fractional constants are evaluated in double precision from
// the single-precision values and constants; the station's figures (analog
// position 699 at the top, 3129 at the bottom) depend on that.

#include <algorithm>
#include <cmath>

#include "base/sim_clock.h"
#include "station/target.h"

namespace sps {

namespace {

// A closed window of carrier positions in which a sensor sees the workpiece.
struct Window {
    int first;
    int last;
    bool contains(int pos) const { return pos >= first && pos <= last; }
};

constexpr std::uint32_t MAX_CARRIER_STEP_MS = 1000;
constexpr double CARRIER_UNITS_PER_SPEED_MS = 7.0;
constexpr float DRIVE_SPEED = 10.0f;
constexpr float MIN_ANALOG_SPEED = 1.8f;
// Slave 2's channels scale by 1/345.6.
constexpr float ANALOG_OUT_SCALE = 0.0028935184f;

constexpr int LOWER_END_ABOVE = 1924000;
constexpr int UPPER_END_BELOW = 77000;
constexpr float POSITION_OFFSET = 576131.6875f;
constexpr float POSITION_DIVISOR = 823.0452880859375f;

constexpr Window INDUCTIVE_DETECT{1674618, 1826616};
constexpr Window INDUCTIVE_CENTRE{1712618, 1788616};
// Around the detect window the centre signal drops before it returns.
constexpr int INDUCTIVE_MIDDLE = 1750617;
constexpr int INDUCTIVE_DARK_REACH = 76000;
constexpr Window CAPACITIVE_DETECT{898626, 974624};
constexpr Window OPTICAL_DETECT{338955, 414953};
constexpr Window AT_EJECTOR{500272, 576270};

constexpr long long EJECTOR_UNITS_PER_MS = 100;
constexpr int EJECTOR_RETRACTED_UPTO = 9;
constexpr int EJECTOR_EXTENDED_ABOVE = 9990;
constexpr int EJECTOR_BLOCKS_GLASS_ABOVE = 5000;
constexpr int EJECTOR_EXTEND_VALUE = 1224;
constexpr int EJECTOR_REMOVES_UPTO = 7999;

constexpr int MAGNET_OFF = 0;
constexpr int MAGNET_RELEASED = 1;
constexpr int MAGNET_HOLDING = 2;

// Slave 4 / slave 7 output bits.
constexpr int DRIVE_BIT = 2;
constexpr int DOWN_BIT = 3;
constexpr int EXTEND_BIT = 2;
constexpr int RETRACT_BIT = 3;

enum PartState { PART_IDLE = 0, PART_AWAITED = 1, PART_AT_EJECTOR = 2, PART_PUSHED = 3 };

float scaledAnalogOut(int channelValue) {
    const float value = static_cast<float>(channelValue) * ANALOG_OUT_SCALE;
    return value < 0.0f ? 0.0f : value;
}

} // namespace

void Target::plantStep() {
    const std::uint32_t now = simTime();
    if (state_.lastTime > now) state_.lastTime = now; // the clock went back: measure on from now
    const std::uint32_t dt = now - state_.lastTime;

    if (!faults_.empty()) stepFaults(now);
    asiMaster_->busCycle();
    state_.analogValue = scaledAnalogOut(analogOut2_->channel(0));
    state_.carrierSpeed = scaledAnalogOut(analogOut2_->channel(1));
    driveCarrier(dt);
    senseCarrier();
    state_.partAtEjector = partFlag(PART_EJECTABLE) && AT_EJECTOR.contains(state_.carrierPos) ? 1 : 0;
    state_.inputE10 = state_.partAtEjector != 0 && state_.partState >= PART_AT_EJECTOR ? 0 : 1;
    if (faults_.has(STATION_BIT_ROW)) faults_.observe(STATION_BIT_ROW, state_.inputE10, now);
    moveEjector(dt);
    state_.lastTime = now;
    state_.magnetShown = state_.inputE10 == 0 ? MAGNET_HOLDING : MAGNET_OFF;
    stepWorkpiece();
}

void Target::moveCarrier(std::uint32_t dt, float v) {
    dt = std::min(dt, MAX_CARRIER_STEP_MS);
    if (state_.motionBlocked != 0) return;
    const double delta = std::trunc(static_cast<double>(v) * dt * CARRIER_UNITS_PER_SPEED_MS);
    if (std::isnan(delta)) return;
    // Limited before the conversion so that no speed can make it overflow.
    const auto limited = static_cast<int>(std::clamp(delta, -double{CARRIER_MAX}, double{CARRIER_MAX}));
    state_.carrierPos = std::clamp(state_.carrierPos + limited, 0, CARRIER_MAX);
}

// The fixed-speed drive wins over the analog speed, which must exceed 1.8.
void Target::driveCarrier(std::uint32_t dt) {
    state_.carrierDir = slave4_->output(DOWN_BIT);
    state_.carrierDrive = slave4_->output(DRIVE_BIT);
    if (faults_.has(CARRIER_DRIVE_ROW)) return; // driven, but the drive is stuck
    const float direction = state_.carrierDir != 0 ? 1.0f : -1.0f;
    if (state_.carrierDrive != 0)
        moveCarrier(dt, direction * DRIVE_SPEED);
    else if (state_.carrierSpeed > MIN_ANALOG_SPEED)
        moveCarrier(dt, direction * state_.carrierSpeed);
}

// End switches, the analog position and the proximity sensors along the travel.
void Target::senseCarrier() {
    slave6_->setInput(1, state_.carrierPos > LOWER_END_ABOVE);
    slave6_->setInput(2, state_.carrierPos < UPPER_END_BELOW);
    const double position =
        (static_cast<double>(state_.carrierPos) + double{POSITION_OFFSET}) / double{POSITION_DIVISOR};
    sendAnalog(*analogIn5_, SONAR_ROW, 1, static_cast<int>(position));
    slave8_->setInput(2, true);

    if (partFlag(PART_INDUCTIVE)) {
        const bool detect = INDUCTIVE_DETECT.contains(state_.carrierPos);
        const bool centre = INDUCTIVE_CENTRE.contains(state_.carrierPos) ||
                            std::abs(state_.carrierPos - INDUCTIVE_MIDDLE) > INDUCTIVE_DARK_REACH;
        slave8_->setInput(0, detect);
        slave8_->setInput(1, centre);
        state_.indShown = !detect ? 0 : centre ? 1 : 2;
    } else {
        slave8_->setInput(0, false);
        slave8_->setInput(1, true);
        state_.indShown = 0;
    }

    const bool capacitive = partFlag(PART_CAPACITIVE) && CAPACITIVE_DETECT.contains(state_.carrierPos);
    slave4_->setInput(2, capacitive);
    state_.kapShown = capacitive ? 1 : 0;

    const bool optical = partFlag(PART_OPTICAL) && OPTICAL_DETECT.contains(state_.carrierPos);
    slave4_->setInput(3, optical);
    state_.optShown = optical ? 1 : 0;
}

// The ejector moves for the whole elapsed time (the carrier for at most one
// second); computed wide, so a long pause cannot overflow.
void Target::moveEjector(std::uint32_t dt) {
    const bool extend = slave7_->output(EXTEND_BIT) != 0;
    const bool retract = slave7_->output(RETRACT_BIT) != 0;
    const long long travel = faults_.has(EJECTOR_DRIVE_ROW) ? 0 : static_cast<long long>(dt) * EJECTOR_UNITS_PER_MS;
    long long pos = state_.ejectorPos;
    int extendValue = 0;
    if (retract && !extend) {
        pos -= travel;
    } else if (extend && !retract) {
        pos += travel;
        extendValue = EJECTOR_EXTEND_VALUE;
    }
    state_.ejectorPos = static_cast<int>(std::clamp<long long>(pos, 0, EJECTOR_MAX));
    slave7_->setInput(1, state_.ejectorPos <= EJECTOR_RETRACTED_UPTO);
    slave7_->setInput(0, state_.ejectorPos > EJECTOR_EXTENDED_ABOVE);
    slave6_->setInput(0, state_.ejectorPos > EJECTOR_BLOCKS_GLASS_ABOVE || partFlag(PART_GLASS_VISIBLE));
    sendAnalog(*analogIn5_, EJECTOR_VALUE_ROW, 0, extendValue);
}

// A state entered early in the step is tested again by the later blocks.
void Target::stepWorkpiece() {
    const bool a11 = state_.outputA11 != 0;
    const bool atEjector = state_.partAtEjector != 0;
    if (state_.partState == PART_IDLE) {
        if (!atEjector && a11) state_.partState = PART_AWAITED;
        if (state_.partState == PART_IDLE && atEjector) state_.partState = PART_AT_EJECTOR;
    }
    if (state_.partState == PART_AWAITED) {
        if (!a11 && !atEjector) state_.partState = PART_IDLE;
        if (state_.partState == PART_AWAITED && !a11 && atEjector) state_.partState = PART_AT_EJECTOR;
    }
    if (state_.partState == PART_AT_EJECTOR) {
        if (state_.ejectorPos <= EJECTOR_REMOVES_UPTO && a11) {
            state_.partFlags &= ~(1u << PART_EJECTABLE); // the workpiece is gone
            state_.partState = PART_IDLE;
        }
        if (state_.partState == PART_AT_EJECTOR && state_.ejectorPos > EJECTOR_REMOVES_UPTO && a11)
            state_.partState = PART_PUSHED;
        if (state_.partState == PART_AT_EJECTOR && !atEjector) state_.partState = PART_IDLE;
    }
    if (state_.partState == PART_PUSHED) {
        if (!a11) state_.partState = PART_AT_EJECTOR;
        if (state_.partState == PART_PUSHED && !atEjector) state_.partState = PART_IDLE;
        if (state_.partState == PART_PUSHED && state_.magnetShown == MAGNET_HOLDING)
            state_.magnetShown = MAGNET_RELEASED;
    }
}

} // namespace sps
