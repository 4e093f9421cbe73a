#include "cpu/mem_field.h"

#include "messages/cpu_exception.h"

namespace sps {

MemField::MemField(int size, bool writeProtected)
    : bytes_(static_cast<std::size_t>(size > 0 ? size : 0), 0), writeProtected_(writeProtected) {}

int MemField::readBit(int index, int bit) { return (readByte(index) >> (bit & 7)) & 1; }

int MemField::readByte(int index) {
    if (index < 0 || index >= size()) throwMessage("Out of field read");
    return bytes_[static_cast<std::size_t>(index)];
}

int MemField::readWord(int index) {
    const int high = readByte(index);
    return high * 256 + readByte(areaIndex(index + 1LL));
}

std::uint32_t MemField::readDword(int index) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint32_t>(readByte(areaIndex(static_cast<long long>(index) + i)));
    }
    return value;
}

void MemField::writeBit(int index, int bit, int value) {
    if (writeProtected_) throwMessage("Field is writeprotected");
    int byte = readByte(index);
    const int mask = 1 << (bit & 7);
    byte = value != 0 ? (byte | mask) : (byte & ~mask);
    writeByte(index, byte);
}

void MemField::writeByte(int index, int value) {
    if (writeProtected_) throwMessage("Field is writeprotected");
    if (index < 0 || index >= size()) throwMessage("Out of field write");
    bytes_[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value & 0xFF);
}

void MemField::writeWord(int index, int value) {
    if (writeProtected_) throwMessage("Field is writeprotected");
    writeByte(index, (value >> 8) & 0xFF);
    writeByte(areaIndex(index + 1LL), value & 0xFF);
}

void MemField::writeDword(int index, std::uint32_t value) {
    if (writeProtected_) throwMessage("Field is writeprotected");
    for (int i = 0; i < 4; ++i) {
        writeByte(areaIndex(static_cast<long long>(index) + i), static_cast<int>((value >> (24 - 8 * i)) & 0xFF));
    }
}

void MemField::clear() {
    for (auto& byte : bytes_) byte = 0;
}

const std::uint8_t* MemField::directRead(int index, int count) const {
    if (index < 0 || count < 1 || index > size() - count) return nullptr;
    return bytes_.data() + index;
}

std::uint8_t* MemField::directWrite(int index, int count) {
    if (writeProtected_ || index < 0 || count < 1 || index > size() - count) return nullptr;
    return bytes_.data() + index;
}

void SMField::writeByte(int index, int value) {
    if (index < SM_READ_ONLY_BYTES) return;
    MemField::writeByte(index, value);
}

std::uint8_t* SMField::directWrite(int index, int count) {
    return index < SM_READ_ONLY_BYTES ? nullptr : MemField::directWrite(index, count);
}

void SMField::systemWriteBit(int index, int bit, int value) {
    int byte = readByte(index);
    const int mask = 1 << (bit & 7);
    byte = value != 0 ? (byte | mask) : (byte & ~mask);
    systemWriteByte(index, byte);
}

void SMField::systemWriteByte(int index, int value) {
    if (index < 0 || index >= size()) throwMessage("Out of field write");
    rawBytes()[index] = static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace sps
