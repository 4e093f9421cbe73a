#pragma once

// Access to the bytes of a memory area once an operand has resolved its
// address: words and double words are big-endian in every area, a bit is one
// mask in its byte. Every reader and writer of memory bytes goes through
// these, the operands themselves, the instructions that resolved their
// operands when they were made, and the recorder.

#include <cstdint>

#include "cpu/width.h"

namespace sps {

// The value of `bytes` (1, 2 or 4) bytes from `at` on, highest byte first.
inline std::uint32_t readBigEndian(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
    return value;
}

// Stores the low `bytes` bytes of `value` from `at` on, highest byte first.
inline void writeBigEndian(std::uint8_t* at, int bytes, std::uint32_t value) {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<std::uint8_t>(value);
}

// A value of width W from `at` on; a bit is bit `bit` of the byte at `at`.
inline std::uint32_t readMemoryAt(const std::uint8_t* at, Width w, int bit = 0) {
    if (w == Width::Bit) return (static_cast<std::uint32_t>(*at) >> (bit & 7)) & 1u;
    return readBigEndian(at, widthBytes(w));
}

// One bit of memory that reads and writes go straight to: null bytes where
// they must go through the area (outside it, or where writes are dropped).
struct BitAccess {
    const std::uint8_t* read = nullptr;
    std::uint8_t* write = nullptr;
    std::uint8_t mask = 0;

    int get() const { return (*read & mask) != 0 ? 1 : 0; }
    void set(int value) const { *write = static_cast<std::uint8_t>(value != 0 ? *write | mask : *write & ~mask); }
};

} // namespace sps
