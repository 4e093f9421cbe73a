#include "asi/analog_slaves.h"

#include "base/sim_clock.h"
#include "base/state_archive.h"

namespace sps {

namespace {

constexpr int NIBBLE_MASK = 0xF;
constexpr int DATA_MASK = 0x7;
constexpr int TOGGLE_BIT = 3;
constexpr int TOGGLE_WEIGHT = 1 << TOGGLE_BIT;

constexpr int STEP_CHANNEL = 7;
constexpr int STEP_FIRST_GROUP = 4;
constexpr int STEP_FINAL = 0;

constexpr int FINAL_ACCEPT = 0x1;
constexpr int FINAL_NEGATIVE = 0x4;

constexpr int STATUS_VALID = 0x1;
constexpr int STATUS_OVERFLOW = 0x2;
constexpr int STATUS_NEGATIVE = 0x4;
constexpr unsigned MAX_MAGNITUDE = 4095;

int toggleBit(int nibble) { return (nibble >> TOGGLE_BIT) & 1; }

// |value| without overflow for the most negative int.
unsigned magnitude(int value) { return value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value); }

} // namespace

AnalogOutASI::AnalogOutASI(int address) : ASISlave(address), acceptedAt_(simTime()) {}

int AnalogOutASI::exchange(int request) {
    const int q = request & NIBBLE_MASK;
    lastRequest_ = q;

    const std::uint32_t now = simTime();
    if (now < acceptedAt_) acceptedAt_ = now; // the clock went back: measure on from now
    if (now - acceptedAt_ > HOLD_TIME_MS) channels_ = {};

    if (toggleBit(q) != toggle_) return toggle_ * TOGGLE_WEIGHT + step_; // repetition

    toggle_ = toggleBit(q) ^ 1;
    const int data = q & DATA_MASK;
    switch (step_) {
    case STEP_CHANNEL:
        if (data < CHANNELS) {
            selectedChannel_ = data;
            value_ = 0;
            step_ = STEP_FIRST_GROUP;
        } else {
            selectedChannel_ = 0;
        }
        break;
    case 4:
    case 3:
    case 2:
    case 1:
        value_ = value_ * 8 + data;
        --step_;
        break;
    case STEP_FINAL:
        if ((data & FINAL_NEGATIVE) != 0) value_ = -value_;
        if ((data & FINAL_ACCEPT) != 0) {
            channels_[static_cast<std::size_t>(selectedChannel_)] = value_;
            acceptedAt_ = now;
        }
        step_ = STEP_CHANNEL;
        break;
    default:
        selectedChannel_ = 0;
        step_ = STEP_CHANNEL;
        break;
    }
    return toggle_ * TOGGLE_WEIGHT + step_;
}

int AnalogInASI::exchange(int request) {
    const int q = request & NIBBLE_MASK;
    lastRequest_ = q;

    if (toggleBit(q) == toggle_) {
        toggle_ = toggleBit(q) ^ 1;
        const int data = q & DATA_MASK;
        if (data != step_) {
            step_ = STEP_CHANNEL;
            sendChannel_ = 0;
            response_ = 0;
        } else if (step_ == STEP_CHANNEL) {
            value_ = channels_[static_cast<std::size_t>(sendChannel_)];
            response_ = sendChannel_;
            step_ = STEP_FIRST_GROUP;
        } else if (step_ > STEP_FINAL) {
            response_ = static_cast<int>((magnitude(value_) >> (3 * (step_ - 1))) & DATA_MASK);
            --step_;
        } else {
            response_ = value_ < 0 ? STATUS_VALID | STATUS_NEGATIVE : STATUS_VALID;
            if (magnitude(value_) > MAX_MAGNITUDE) response_ |= STATUS_OVERFLOW;
            sendChannel_ ^= 1;
            step_ = STEP_CHANNEL;
        }
    }
    return toggle_ * TOGGLE_WEIGHT + response_;
}

void AnalogOutASI::visitState(StateArchive& archive) {
    archive.value(channels_);
    archive.value(selectedChannel_);
    archive.value(step_);
    archive.value(toggle_);
    archive.value(lastRequest_);
    archive.value(acceptedAt_);
    archive.value(value_);
}

void AnalogInASI::visitState(StateArchive& archive) {
    archive.value(channels_);
    archive.value(sendChannel_);
    archive.value(step_);
    archive.value(toggle_);
    archive.value(lastRequest_);
    archive.value(value_);
    archive.value(response_);
}

} // namespace sps
