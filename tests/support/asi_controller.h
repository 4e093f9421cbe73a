#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "asi/asi_master.h"

namespace sps {

// What a controller program does to talk to an analog AS-i slave: one request
// nibble at a time, the toggle bit (bit 3) alternating from request to request.
class AnalogProtocol {
public:
    // Sends one request nibble and returns the slave's answer nibble.
    using Exchange = std::function<int(int request)>;

    explicit AnalogProtocol(Exchange exchange) : exchange_(std::move(exchange)) {}

    // A new request with the data bits `data`.
    int request(int data) {
        last_ = toggle_ * 8 + data;
        toggle_ ^= 1;
        return exchange_(last_);
    }
    // The previous request once more (same toggle bit).
    int repeat() { return exchange_(last_); }

    // Channel number, four 3-bit groups of the magnitude, then sign and accept.
    std::vector<int> write(int channel, int value, bool accept = true) {
        const int magnitude = value < 0 ? -value : value;
        std::vector<int> answers{request(channel)};
        for (int shift = 9; shift >= 0; shift -= 3) answers.push_back(request((magnitude >> shift) & 7));
        answers.push_back(request((value < 0 ? 4 : 0) | (accept ? 1 : 0)));
        return answers;
    }

    struct Reading {
        int channel;
        int value;  // 12-bit magnitude with the sign applied
        int status; // bit 0 valid, bit 1 overflow, bit 2 negative
        std::vector<int> answers;
    };
    // Requests 7, 4, 3, 2, 1, 0 and assembles the answers' data bits.
    Reading read() {
        Reading r{};
        for (int step : {7, 4, 3, 2, 1, 0}) r.answers.push_back(request(step));
        r.channel = r.answers[0] & 7;
        int magnitude = 0;
        for (int i = 1; i <= 4; ++i) magnitude = magnitude * 8 + (r.answers[static_cast<std::size_t>(i)] & 7);
        r.status = r.answers[5] & 7;
        r.value = (r.status & 4) != 0 ? -magnitude : magnitude;
        return r;
    }

private:
    Exchange exchange_;
    int toggle_ = 1;
    int last_ = 0;
};

// Exchanges one nibble with the slave at `address` the way a controller
// program does it: waits until the master is online (data access works only
// then), writes the nibble into the master's output word (other addresses'
// nibbles kept), runs bus cycles until one has exchanged, and takes the answer
// from the input word. Needs the master enabled on bank 0.
inline int exchangeThroughMaster(ASIMaster& master, int address, int request, const std::function<void()>& cycle) {
    const int channel = ASIMaster::nibbleWord(address) * 2;
    const int shift = ASIMaster::nibbleShift(address);
    while (master.online() == 0) cycle();
    const int word = master.outputData()[static_cast<std::size_t>(channel / 2)];
    master.writeAnalog(channel, static_cast<std::uint16_t>((word & ~(0xF << shift)) | ((request & 0xF) << shift)));
    do cycle();
    while (master.online() == 0);
    return (master.readAnalog(channel) >> shift) & 0xF;
}

} // namespace sps
