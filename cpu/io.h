#pragma once

#include <array>
#include <cstdint>

namespace sps {

// An I/O device of the CPU's bus: digital input and output bytes and analog
// channels, numbered from 0 within the device.
class IO {
public:
    virtual ~IO() = default;

    virtual int readInput(int byte, int bit);
    virtual int inputBytes();
    virtual void writeOutput(int byte, int bit, int value);
    virtual int outputBytes();
    virtual void writeAnalog(int channel, std::uint16_t value);
    virtual std::uint16_t readAnalog(int channel);
    virtual int analogOutputs();
    virtual int analogInputs();
};

// Maps global byte and channel numbers onto its devices: each device gets a
// contiguous range in slot order, empty slots skipped. Owns none of them.
class IOBus final : public IO {
public:
    static constexpr int DEVICE_SLOTS = 32;

    void setDevice(int slot, IO* device) { devices_.at(static_cast<std::size_t>(slot)) = device; }

    int readInput(int byte, int bit) override;
    int inputBytes() override;
    void writeOutput(int byte, int bit, int value) override;
    int outputBytes() override;
    void writeAnalog(int channel, std::uint16_t value) override;
    // An unserved channel reads a pseudo-random value.
    std::uint16_t readAnalog(int channel) override;
    int analogOutputs() override;
    int analogInputs() override;

private:
    // The device that serves global number `number` in the range that `count`
    // gives each device (empty slots skipped), with the number local to it;
    // null when no device serves it.
    IO* serving(int (IO::*count)(), int& number) const;
    int total(int (IO::*count)()) const;

    std::array<IO*, DEVICE_SLOTS> devices_{};
};

} // namespace sps
