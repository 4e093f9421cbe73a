#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "asi/asi_slave.h"

namespace sps {

// Analog slaves move 12-bit values with a sign through the 4-bit nibbles of
// the bus cycle. Every request carries a toggle bit (bit 3) that alternates
// from one request to the next; a request with the toggle bit of the previous
// one is a repetition (the master exchanges in every cycle, the controller
// changes its request only now and then) and leaves the slave as it is.
// Every answer carries the toggle bit the slave expects next in bit 3.

// Receives values from the controller. Requests: the channel number (0 or 1),
// four 3-bit groups of the magnitude (most significant first), then a final
// nibble with bit 2 = negative and bit 0 = accept. The answer's data bits are
// the protocol step.
class AnalogOutASI final : public ASISlave {
public:
    static constexpr int CHANNELS = 2;
    // Without an accepted value for longer than this, both channels drop to 0.
    static constexpr std::uint32_t HOLD_TIME_MS = 5000;

    explicit AnalogOutASI(int address);

    int channel(int c) const { return channels_.at(static_cast<std::size_t>(c)); }
    int selectedChannel() const { return selectedChannel_; }
    int step() const { return step_; }
    int toggle() const { return toggle_; }
    int lastRequest() const { return lastRequest_; }
    std::uint32_t acceptedAt() const { return acceptedAt_; }
    int value() const { return value_; }

    int exchange(int request) override;
    void drawStatus(KOPDraw& canvas, int y) const override;
    void visitState(StateArchive& archive) override;
    void connectionLost() override { channels_ = {}; }

private:
    std::array<int, CHANNELS> channels_{};
    int selectedChannel_ = 0;
    int step_ = 7;
    int toggle_ = 1;
    int lastRequest_ = 0;
    std::uint32_t acceptedAt_;
    int value_ = 0;
};

// Sends values to the controller. The controller requests 7, 4, 3, 2, 1, 0 (the
// step the slave is at); the answers are the channel number, four 3-bit groups
// of the magnitude (most significant first) and a final status: bit 0 valid,
// bit 1 magnitude beyond 12 bits, bit 2 negative. Then the other channel is
// next. A request for a different step restarts at channel 0.
class AnalogInASI final : public ASISlave {
public:
    static constexpr int CHANNELS = 2;

    using ASISlave::ASISlave;

    int channel(int c) const { return channels_.at(static_cast<std::size_t>(c)); }
    // Written by the station.
    void setChannel(int c, int value) { channels_.at(static_cast<std::size_t>(c)) = value; }
    int sendChannel() const { return sendChannel_; }
    int step() const { return step_; }
    int toggle() const { return toggle_; }
    int lastRequest() const { return lastRequest_; }
    int value() const { return value_; }
    int response() const { return response_; }

    int exchange(int request) override;
    void drawStatus(KOPDraw& canvas, int y) const override;
    void visitState(StateArchive& archive) override;

private:
    std::array<int, CHANNELS> channels_{};
    int sendChannel_ = 0;
    int step_ = 7;
    int toggle_ = 1;
    int lastRequest_ = 0;
    int value_ = 0;
    int response_ = 0;
};

} // namespace sps
