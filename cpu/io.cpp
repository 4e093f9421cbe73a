#include "cpu/io.h"

#include "shell/random_source.h"

int IO::readInput(int, int) { return 0; }
int IO::inputBytes() { return 0; }
void IO::writeOutput(int, int, int) {}
int IO::outputBytes() { return 0; }
void IO::writeAnalog(int, std::uint16_t) {}
std::uint16_t IO::readAnalog(int) { return 0; }
int IO::analogOutputs() { return 0; }
int IO::analogInputs() { return 0; }

int IOBus::readInput(int byte, int bit) {
    int base = 0;
    for (IO* device : devices_) {
        if (device == nullptr) continue;
        const int n = device->inputBytes();
        if (byte >= base && byte < base + n) return device->readInput(byte - base, bit);
        base += n;
    }
    return 0;
}

int IOBus::inputBytes() {
    int total = 0;
    for (IO* device : devices_)
        if (device != nullptr) total += device->inputBytes();
    return total;
}

void IOBus::writeOutput(int byte, int bit, int value) {
    int base = 0;
    for (IO* device : devices_) {
        if (device == nullptr) continue;
        const int n = device->outputBytes();
        if (byte >= base && byte < base + n) {
            device->writeOutput(byte - base, bit, value);
            return;
        }
        base += n;
    }
}

int IOBus::outputBytes() {
    int total = 0;
    for (IO* device : devices_)
        if (device != nullptr) total += device->outputBytes();
    return total;
}

void IOBus::writeAnalog(int channel, std::uint16_t value) {
    int base = 0;
    for (IO* device : devices_) {
        if (device == nullptr) continue;
        const int n = device->analogOutputs();
        if (channel >= base && channel < base + n) {
            device->writeAnalog(channel - base, value);
            return;
        }
        base += n;
    }
}

std::uint16_t IOBus::readAnalog(int channel) {
    int base = 0;
    for (IO* device : devices_) {
        if (device == nullptr) continue;
        const int n = device->analogInputs();
        if (channel >= base && channel < base + n) return device->readAnalog(channel - base);
        base += n;
    }
    return static_cast<std::uint16_t>(nextRandom() & 0xFFFF);
}

int IOBus::analogOutputs() {
    int total = 0;
    for (IO* device : devices_)
        if (device != nullptr) total += device->analogOutputs();
    return total;
}

int IOBus::analogInputs() {
    int total = 0;
    for (IO* device : devices_)
        if (device != nullptr) total += device->analogInputs();
    return total;
}
