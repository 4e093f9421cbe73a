#pragma once

#include <array>
#include <cstdint>
#include <optional>

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

    // What an analog channel holds now, looked at without the side effects of
    // a read (a recording must not change the run it watches): the input the
    // next read delivers, empty when that read would give a random value; the
    // output the device keeps, empty when it keeps none.
    virtual std::optional<std::uint16_t> peekAnalogInput(int channel);
    virtual std::optional<std::uint16_t> peekAnalogOutput(int channel);
};

// Maps global byte and channel numbers onto its devices: each device gets a
// contiguous range in slot order, empty slots skipped. Owns none of them.
class IOBus final : public IO {
public:
    static constexpr int DEVICE_SLOTS = 32;

    void setDevice(int slot, IO* device);

    int readInput(int byte, int bit) override;
    // The eight bits of global input byte `byte` as readInput gives them,
    // asked of the serving device bit 0 first; 0 when no device serves it.
    std::uint8_t readInputByte(int byte);
    // writeOutput of the eight bits of `value`, bit 0 first.
    void writeOutputByte(int byte, std::uint8_t value);
    int inputBytes() override;
    void writeOutput(int byte, int bit, int value) override;
    int outputBytes() override;
    void writeAnalog(int channel, std::uint16_t value) override;
    // An unserved channel reads a pseudo-random value.
    std::uint16_t readAnalog(int channel) override;
    int analogOutputs() override;
    int analogInputs() override;
    std::optional<std::uint16_t> peekAnalogInput(int channel) override;
    std::optional<std::uint16_t> peekAnalogOutput(int channel) override;

private:
    // The device that serves global number `number` in the range that `count`
    // gives each device (empty slots skipped), with the number local to it;
    // null when no device serves it.
    IO* serving(int (IO::*count)(), int& number) const;
    int total(int (IO::*count)()) const;

    std::array<IO*, DEVICE_SLOTS> devices_{};
    // The devices of the occupied slots in slot order: what every walk visits.
    std::array<IO*, DEVICE_SLOTS> present_{};
    int presentCount_ = 0;
};

} // namespace sps
