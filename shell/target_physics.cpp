// The station's physics: one step after each scan, and the carrier's motion.
//
// Expressions with fractional constants are evaluated in double precision from
// the single-precision values and constants; the station's figures (analog
// position 699 at the top, 3129 at the bottom) depend on that.

#include <algorithm>
#include <cmath>

#include "base/sim_clock.h"
#include "shell/target.h"

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
    if (lastTime_ > now) lastTime_ = now; // the clock went back: measure on from now
    const std::uint32_t dt = now - lastTime_;

    asiMaster_->busCycle();
    analogValue_ = scaledAnalogOut(analogOut2_->channel(0));
    carrierSpeed_ = scaledAnalogOut(analogOut2_->channel(1));
    driveCarrier(dt);
    senseCarrier();
    partAtEjector_ = partFlag(PART_EJECTABLE) && AT_EJECTOR.contains(carrierPos_) ? 1 : 0;
    inputE10_ = partAtEjector_ != 0 && partState_ >= PART_AT_EJECTOR ? 0 : 1;
    moveEjector(dt);
    lastTime_ = now;
    magnetShown_ = inputE10_ == 0 ? MAGNET_HOLDING : MAGNET_OFF;
    stepWorkpiece();
}

void Target::moveCarrier(std::uint32_t dt, float v) {
    dt = std::min(dt, MAX_CARRIER_STEP_MS);
    if (motionBlocked_ != 0) return;
    const double delta = std::trunc(static_cast<double>(v) * dt * CARRIER_UNITS_PER_SPEED_MS);
    if (std::isnan(delta)) return;
    // Limited before the conversion so that no speed can make it overflow.
    const auto limited = static_cast<int>(std::clamp(delta, -double{CARRIER_MAX}, double{CARRIER_MAX}));
    carrierPos_ = std::clamp(carrierPos_ + limited, 0, CARRIER_MAX);
}

// The fixed-speed drive wins over the analog speed, which must exceed 1.8.
void Target::driveCarrier(std::uint32_t dt) {
    carrierDir_ = slave4_->output(DOWN_BIT);
    carrierDrive_ = slave4_->output(DRIVE_BIT);
    const float direction = carrierDir_ != 0 ? 1.0f : -1.0f;
    if (carrierDrive_ != 0)
        moveCarrier(dt, direction * DRIVE_SPEED);
    else if (carrierSpeed_ > MIN_ANALOG_SPEED)
        moveCarrier(dt, direction * carrierSpeed_);
}

// End switches, the analog position and the proximity sensors along the travel.
void Target::senseCarrier() {
    slave6_->setInput(1, carrierPos_ > LOWER_END_ABOVE);
    slave6_->setInput(2, carrierPos_ < UPPER_END_BELOW);
    const double position = (static_cast<double>(carrierPos_) + double{POSITION_OFFSET}) / double{POSITION_DIVISOR};
    analogIn5_->setChannel(1, static_cast<int>(position));
    slave8_->setInput(2, true);

    if (partFlag(PART_INDUCTIVE)) {
        const bool detect = INDUCTIVE_DETECT.contains(carrierPos_);
        const bool centre =
            INDUCTIVE_CENTRE.contains(carrierPos_) || std::abs(carrierPos_ - INDUCTIVE_MIDDLE) > INDUCTIVE_DARK_REACH;
        slave8_->setInput(0, detect);
        slave8_->setInput(1, centre);
        indShown_ = !detect ? 0 : centre ? 1 : 2;
    } else {
        slave8_->setInput(0, false);
        slave8_->setInput(1, true);
        indShown_ = 0;
    }

    const bool capacitive = partFlag(PART_CAPACITIVE) && CAPACITIVE_DETECT.contains(carrierPos_);
    slave4_->setInput(2, capacitive);
    kapShown_ = capacitive ? 1 : 0;

    const bool optical = partFlag(PART_OPTICAL) && OPTICAL_DETECT.contains(carrierPos_);
    slave4_->setInput(3, optical);
    optShown_ = optical ? 1 : 0;
}

// The ejector moves for the whole elapsed time (the carrier for at most one
// second); computed wide, so a long pause cannot overflow.
void Target::moveEjector(std::uint32_t dt) {
    const bool extend = slave7_->output(EXTEND_BIT) != 0;
    const bool retract = slave7_->output(RETRACT_BIT) != 0;
    const long long travel = static_cast<long long>(dt) * EJECTOR_UNITS_PER_MS;
    long long pos = ejectorPos_;
    int extendValue = 0;
    if (retract && !extend) {
        pos -= travel;
    } else if (extend && !retract) {
        pos += travel;
        extendValue = EJECTOR_EXTEND_VALUE;
    }
    ejectorPos_ = static_cast<int>(std::clamp<long long>(pos, 0, EJECTOR_MAX));
    slave7_->setInput(1, ejectorPos_ <= EJECTOR_RETRACTED_UPTO);
    slave7_->setInput(0, ejectorPos_ > EJECTOR_EXTENDED_ABOVE);
    slave6_->setInput(0, ejectorPos_ > EJECTOR_BLOCKS_GLASS_ABOVE || partFlag(PART_GLASS_VISIBLE));
    analogIn5_->setChannel(0, extendValue);
}

// A state entered early in the step is tested again by the later blocks.
void Target::stepWorkpiece() {
    const bool a11 = outputA11_ != 0;
    const bool atEjector = partAtEjector_ != 0;
    if (partState_ == PART_IDLE) {
        if (!atEjector && a11) partState_ = PART_AWAITED;
        if (partState_ == PART_IDLE && atEjector) partState_ = PART_AT_EJECTOR;
    }
    if (partState_ == PART_AWAITED) {
        if (!a11 && !atEjector) partState_ = PART_IDLE;
        if (partState_ == PART_AWAITED && !a11 && atEjector) partState_ = PART_AT_EJECTOR;
    }
    if (partState_ == PART_AT_EJECTOR) {
        if (ejectorPos_ <= EJECTOR_REMOVES_UPTO && a11) {
            partFlags_ &= ~(1u << PART_EJECTABLE); // the workpiece is gone
            partState_ = PART_IDLE;
        }
        if (partState_ == PART_AT_EJECTOR && ejectorPos_ > EJECTOR_REMOVES_UPTO && a11) partState_ = PART_PUSHED;
        if (partState_ == PART_AT_EJECTOR && !atEjector) partState_ = PART_IDLE;
    }
    if (partState_ == PART_PUSHED) {
        if (!a11) partState_ = PART_AT_EJECTOR;
        if (partState_ == PART_PUSHED && !atEjector) partState_ = PART_IDLE;
        if (partState_ == PART_PUSHED && magnetShown_ == MAGNET_HOLDING) magnetShown_ = MAGNET_RELEASED;
    }
}

} // namespace sps
