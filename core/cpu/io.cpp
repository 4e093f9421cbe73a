#include "cpu/io.h"

#include "base/random_source.h"

namespace sps {

int IO::readInput(int, int) { return 0; }
int IO::inputBytes() { return 0; }
void IO::writeOutput(int, int, int) {}
int IO::outputBytes() { return 0; }
void IO::writeAnalog(int, std::uint16_t) {}
std::uint16_t IO::readAnalog(int) { return 0; }
int IO::analogOutputs() { return 0; }
int IO::analogInputs() { return 0; }
std::optional<std::uint16_t> IO::peekAnalogInput(int) { return std::nullopt; }
std::optional<std::uint16_t> IO::peekAnalogOutput(int) { return std::nullopt; }

void IOBus::setDevice(int slot, IO* device) {
    devices_.at(static_cast<std::size_t>(slot)) = device;
    presentCount_ = 0;
    for (IO* present : devices_)
        if (present != nullptr) present_[static_cast<std::size_t>(presentCount_++)] = present;
}

IO* IOBus::serving(int (IO::*count)(), int& number) const {
    int base = 0;
    for (int i = 0; i < presentCount_; ++i) {
        IO* device = present_[static_cast<std::size_t>(i)];
        const int n = (device->*count)();
        if (number >= base && number < base + n) {
            number -= base;
            return device;
        }
        base += n;
    }
    return nullptr;
}

int IOBus::total(int (IO::*count)()) const {
    int sum = 0;
    for (int i = 0; i < presentCount_; ++i) sum += (present_[static_cast<std::size_t>(i)]->*count)();
    return sum;
}

int IOBus::readInput(int byte, int bit) {
    IO* device = serving(&IO::inputBytes, byte);
    return device != nullptr ? device->readInput(byte, bit) : 0;
}

std::uint8_t IOBus::readInputByte(int byte) {
    IO* device = serving(&IO::inputBytes, byte);
    if (device == nullptr) return 0;
    unsigned value = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (device->readInput(byte, bit) != 0) value |= 1u << bit;
    return static_cast<std::uint8_t>(value);
}

void IOBus::writeOutputByte(int byte, std::uint8_t value) {
    IO* device = serving(&IO::outputBytes, byte);
    if (device == nullptr) return;
    for (int bit = 0; bit < 8; ++bit) device->writeOutput(byte, bit, (value >> bit) & 1);
}

int IOBus::inputBytes() { return total(&IO::inputBytes); }

void IOBus::writeOutput(int byte, int bit, int value) {
    if (IO* device = serving(&IO::outputBytes, byte)) device->writeOutput(byte, bit, value);
}

int IOBus::outputBytes() { return total(&IO::outputBytes); }

void IOBus::writeAnalog(int channel, std::uint16_t value) {
    if (IO* device = serving(&IO::analogOutputs, channel)) device->writeAnalog(channel, value);
}

// An unserved channel reads a changing pseudo-random value.
std::uint16_t IOBus::readAnalog(int channel) {
    IO* device = serving(&IO::analogInputs, channel);
    return device != nullptr ? device->readAnalog(channel) : static_cast<std::uint16_t>(nextRandom() & 0xFFFF);
}

int IOBus::analogOutputs() { return total(&IO::analogOutputs); }

int IOBus::analogInputs() { return total(&IO::analogInputs); }

std::optional<std::uint16_t> IOBus::peekAnalogInput(int channel) {
    IO* device = serving(&IO::analogInputs, channel);
    return device != nullptr ? device->peekAnalogInput(channel) : std::nullopt;
}

std::optional<std::uint16_t> IOBus::peekAnalogOutput(int channel) {
    IO* device = serving(&IO::analogOutputs, channel);
    return device != nullptr ? device->peekAnalogOutput(channel) : std::nullopt;
}

} // namespace sps
