#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "messages/message_key.h"

namespace sps {

// The width of a data access: a bit, a byte, a word or a double word. Reals
// are double words. Instructions work on bytes, words and double words; the
// user's commands (writing, forcing, conditions, display formats) on bits too.
enum class Width : std::uint8_t { Bit, Byte, Word, Dword };

// Bits of one capability mask of an operand.
enum Capability : std::uint8_t {
    CAP_READ_BIT = 0x01,
    CAP_READ_BYTE = 0x02,
    CAP_READ_WORD = 0x04,
    CAP_READ_DWORD = 0x08,
    CAP_WRITE_BIT = 0x10,
    CAP_WRITE_BYTE = 0x20,
    CAP_WRITE_WORD = 0x40,
    CAP_WRITE_DWORD = 0x80,
};

// Everything that depends on a width alone.
struct WidthFacts {
    int bytes;               // the bytes an access touches (a bit: its byte)
    int bits;                // the bits a value holds
    char letter;             // the format letter of ladder pins and traces
    std::uint32_t mask;      // the value's bits
    std::int32_t signedMin;  // the smallest signed value a constant may have
    std::uint8_t read;       // the capability to read at this width
    std::uint8_t write;      // the capability to write at this width
    MessageKey readMissing;  // the message of an operand that cannot be read so
    MessageKey writeMissing; // the message of an operand that cannot be written so
};

inline constexpr std::array<WidthFacts, 4> WIDTH_FACTS{{
    {1, 1, 'I', 0x1u, 0, CAP_READ_BIT, CAP_WRITE_BIT, "Can't read a bit on parameter",
     "Can't write a bit on parameter"},
    {1, 8, 'B', 0xFFu, -128, CAP_READ_BYTE, CAP_WRITE_BYTE, "Can't read a byte on parameter",
     "Can't write a byte on parameter"},
    {2, 16, 'W', 0xFFFFu, -32768, CAP_READ_WORD, CAP_WRITE_WORD, "Can't read a word on parameter",
     "Can't write a word on parameter"},
    {4, 32, 'D', 0xFFFFFFFFu, INT32_MIN, CAP_READ_DWORD, CAP_WRITE_DWORD, "Can't read a dword on parameter",
     "Can't write a dword on parameter"},
}};

constexpr const WidthFacts& widthFacts(Width w) { return WIDTH_FACTS[static_cast<std::size_t>(w)]; }

constexpr int widthBytes(Width w) { return widthFacts(w).bytes; }
constexpr int widthBits(Width w) { return widthFacts(w).bits; }
constexpr char widthLetter(Width w) { return widthFacts(w).letter; }
constexpr std::uint8_t readCapability(Width w) { return widthFacts(w).read; }
constexpr std::uint8_t writeCapability(Width w) { return widthFacts(w).write; }
constexpr std::uint8_t readWriteCapability(Width w) {
    return static_cast<std::uint8_t>(readCapability(w) | writeCapability(w));
}

// `value` cut to the width's low bits.
constexpr std::uint32_t cutToWidth(std::uint32_t value, Width w) { return value & widthFacts(w).mask; }

// A value cut to the width, read back as a signed number of that width (a
// bit stays 0 or 1).
constexpr std::int32_t signedAtWidth(std::uint32_t value, Width w) {
    const std::uint32_t cut = cutToWidth(value, w);
    if (w == Width::Bit) return static_cast<std::int32_t>(cut);
    const std::uint32_t sign = 1u << (widthBits(w) - 1);
    // Two's complement without a conversion of an out-of-range unsigned value.
    return (cut & sign) != 0 ? -static_cast<std::int32_t>(~cut & widthFacts(w).mask) - 1
                             : static_cast<std::int32_t>(cut);
}

// Whether an integer can stand at the width as a signed or an unsigned
// number: a byte takes -128 to 255, a bit only 0 and 1.
constexpr bool fitsWidth(std::int64_t value, Width w) {
    return value >= widthFacts(w).signedMin && value <= static_cast<std::int64_t>(widthFacts(w).mask);
}

// The widest access, read or write, in a capability mask; none when it
// holds no access at all.
constexpr std::optional<Width> widestAccess(std::uint8_t capabilities) {
    for (Width w : {Width::Dword, Width::Word, Width::Byte, Width::Bit})
        if (capabilities & readWriteCapability(w)) return w;
    return std::nullopt;
}

} // namespace sps
