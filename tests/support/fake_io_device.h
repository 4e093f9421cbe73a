#pragma once

// A small I/O device with a chosen number of bytes and channels that records
// what the bus forwards to it. Local numbers outside its counts throw
// std::out_of_range, so a bus that forwards an unserved number fails the test.

#include <cstdint>
#include <vector>

#include "cpu/io.h"

namespace sps {

class FakeIODevice final : public IO {
public:
    FakeIODevice(int inputBytes, int outputBytes, int analogInputs, int analogOutputs)
        : inputs(static_cast<std::size_t>(inputBytes)), outputs(static_cast<std::size_t>(outputBytes)),
          analogIn(static_cast<std::size_t>(analogInputs)), analogOut(static_cast<std::size_t>(analogOutputs)) {}

    int readInput(int byte, int bit) override { return (inputs.at(index(byte)) >> bit) & 1; }
    int inputBytes() override { return static_cast<int>(inputs.size()); }
    void writeOutput(int byte, int bit, int value) override {
        std::uint8_t& target = outputs.at(index(byte));
        const auto mask = static_cast<std::uint8_t>(1u << bit);
        target = value != 0 ? static_cast<std::uint8_t>(target | mask) : static_cast<std::uint8_t>(target & ~mask);
    }
    int outputBytes() override { return static_cast<int>(outputs.size()); }
    void writeAnalog(int channel, std::uint16_t value) override { analogOut.at(index(channel)) = value; }
    std::uint16_t readAnalog(int channel) override { return analogIn.at(index(channel)); }
    int analogOutputs() override { return static_cast<int>(analogOut.size()); }
    int analogInputs() override { return static_cast<int>(analogIn.size()); }

    std::vector<std::uint8_t> inputs;
    std::vector<std::uint8_t> outputs;
    std::vector<std::uint16_t> analogIn;
    std::vector<std::uint16_t> analogOut;

private:
    // A negative number becomes huge and fails .at() as well.
    static std::size_t index(int number) { return static_cast<std::size_t>(number); }
};

} // namespace sps
