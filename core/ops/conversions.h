#pragma once

// Number conversions (integer widths, BCD, rounding, decoding, seven-segment
// patterns) and the real functions. Like every data box they act only while
// the top of the logic stack is 1; a value that does not fit its result
// writes nothing.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::conversions {

enum class Conversion : std::uint8_t {
    WordToDword,  // ITD: sign-extended
    DwordToWord,  // DTI: only -32768..32767
    ByteToWord,   // BTI
    WordToByte,   // ITB: only 0..255
    Round,        // ROUND: real to the nearest double word, halves away from zero
    Decode,       // DECO: the bit IN mod 16 of a word set
    Encode,       // ENCO: the number of the lowest set bit
    SevenSegment, // SEG: the segments gfedcba of the low nibble
    Sine,         // SIN (radians)
    Cosine,       // COS
    Tangent,      // TAN
    NaturalLog,   // LN: only above 0
    Exponential,  // EXP
};

struct ConversionRow {
    Name mnemonic;
    Name label;
    Width in;
    char inLetter;
    Width out;
    char outLetter;
    Conversion conversion;
};

inline constexpr ConversionRow CONVERSIONS[] = {
    {"ITD", "I_DI", Width::Word, 'W', Width::Dword, 'D', Conversion::WordToDword},
    {"DTI", "DI_I", Width::Dword, 'D', Width::Word, 'W', Conversion::DwordToWord},
    {"ROUND", "ROUND", Width::Dword, 'R', Width::Dword, 'D', Conversion::Round},
    {"BTI", "B_I", Width::Byte, 'B', Width::Word, 'W', Conversion::ByteToWord},
    {"ITB", "I_B", Width::Word, 'W', Width::Byte, 'B', Conversion::WordToByte},
    {"DECO", "DECO", Width::Byte, 'B', Width::Word, 'W', Conversion::Decode},
    {"ENCO", "ENCO", Width::Word, 'W', Width::Byte, 'B', Conversion::Encode},
    {"SEG", "SEG", Width::Byte, 'B', Width::Byte, 'B', Conversion::SevenSegment},
    {"SIN", "SIN", Width::Dword, 'R', Width::Dword, 'R', Conversion::Sine},
    {"COS", "COS", Width::Dword, 'R', Width::Dword, 'R', Conversion::Cosine},
    {"TAN", "TAN", Width::Dword, 'R', Width::Dword, 'R', Conversion::Tangent},
    {"LN", "LN", Width::Dword, 'R', Width::Dword, 'R', Conversion::NaturalLog},
    {"EXP", "EXP", Width::Dword, 'R', Width::Dword, 'R', Conversion::Exponential},
};

// The reference line of each conversion, in the order of Conversion.
inline constexpr const char* CONVERSION_SUMMARIES[] = {
    "Word to double word, sign-extended",
    "Double word to word; nothing outside -32768..32767",
    "Byte to word",
    "Word to byte; nothing outside 0..255",
    "Real to double word, to the nearest, halves away from zero",
    "Sets the bit IN mod 16 of the word OUT and clears the others",
    "The number of the lowest set bit of IN; nothing for 0",
    "The seven-segment pattern (gfedcba) of the low hex digit of IN",
    "Sine of IN (radians)",
    "Cosine of IN (radians)",
    "Tangent of IN (radians)",
    "Natural logarithm of IN; nothing for IN <= 0",
    "e to the power of IN",
};

// The segments gfedcba that show the hexadecimal digits 0..F.
inline constexpr std::array<std::uint8_t, 16> SEVEN_SEGMENTS{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                                             0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71};

// A real result computed in double, stored as single precision: beyond the
// single range it becomes the infinity of its sign, as the conversion of an
// IEEE processor gives it, without relying on it.
inline std::uint32_t singleBits(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::bit_cast<std::uint32_t>(std::numeric_limits<float>::infinity());
    if (value < -largest) return std::bit_cast<std::uint32_t>(-std::numeric_limits<float>::infinity());
    return std::bit_cast<std::uint32_t>(static_cast<float>(value));
}

// IN (tested first) read at its width, OUT written at its width.
template <ConversionRow C> class ConversionOp final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = C.mnemonic.c_str(),
        .label = C.label.c_str(),
        .ladderKind = LK_BOX1,
        .operandCount = 2,
        .checks = {needs(1, readCapability(C.in)), needs(2, writeCapability(C.out))},
        .pins = {pinShows(3, 1, C.inLetter), pinShows(5, 2, C.outLetter)},
        .summary = CONVERSION_SUMMARIES[static_cast<int>(C.conversion)],
    };

    explicit ConversionOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        if (const auto result = converted(in_.get()))
            out_.set(static_cast<typename WidthTraits<C.out>::Value>(*result));
    }

private:
    static std::optional<std::uint32_t> converted(std::uint32_t in) {
        const auto real = [in] { return static_cast<double>(std::bit_cast<float>(in)); };
        if constexpr (C.conversion == Conversion::WordToDword) {
            return static_cast<std::uint32_t>(signedAtWidth(in, Width::Word));
        } else if constexpr (C.conversion == Conversion::DwordToWord) {
            const std::int32_t value = signedAtWidth(in, Width::Dword);
            if (value < -32768 || value > 32767) return std::nullopt;
            return static_cast<std::uint32_t>(value);
        } else if constexpr (C.conversion == Conversion::ByteToWord) {
            return in;
        } else if constexpr (C.conversion == Conversion::WordToByte) {
            const std::int32_t value = signedAtWidth(in, Width::Word);
            if (value < 0 || value > 255) return std::nullopt;
            return static_cast<std::uint32_t>(value);
        } else if constexpr (C.conversion == Conversion::Round) {
            // Not a number and values beyond the signed range give the
            // smallest value, as TRUNC does.
            const double rounded = std::round(real());
            if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return 0x80000000u;
            return static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded));
        } else if constexpr (C.conversion == Conversion::Decode) {
            return 1u << (in % 16u);
        } else if constexpr (C.conversion == Conversion::Encode) {
            if (in == 0) return std::nullopt;
            return static_cast<std::uint32_t>(std::countr_zero(in));
        } else if constexpr (C.conversion == Conversion::SevenSegment) {
            return SEVEN_SEGMENTS[in & 0x0Fu];
        } else if constexpr (C.conversion == Conversion::Sine) {
            return singleBits(std::sin(real()));
        } else if constexpr (C.conversion == Conversion::Cosine) {
            return singleBits(std::cos(real()));
        } else if constexpr (C.conversion == Conversion::Tangent) {
            return singleBits(std::tan(real()));
        } else if constexpr (C.conversion == Conversion::NaturalLog) {
            const double x = real();
            if (!(x > 0.0)) return std::nullopt;
            return singleBits(std::log(x));
        } else {
            return singleBits(std::exp(real()));
        }
    }

    WidthOperand<C.in> in_{operand1_.get()};
    WidthOperand<C.out> out_{operand2_.get()};
};

// BCDI and IBCD convert one word in place: its write is tested first.
enum class Bcd : std::uint8_t { ToInteger, FromInteger };

struct BcdRow {
    Name mnemonic;
    Name label;
    Bcd direction;
};

inline constexpr BcdRow BCD_CONVERSIONS[] = {
    {"BCDI", "BCD_I", Bcd::ToInteger},
    {"IBCD", "I_BCD", Bcd::FromInteger},
};

// Four BCD digits to the integer 0..9999 and back; a digit above 9, or an
// integer outside 0..9999, writes nothing.
template <BcdRow B> class BcdOp final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = B.mnemonic.c_str(),
        .label = B.label.c_str(),
        .ladderKind = LK_BOX1,
        .operandCount = 1,
        .checks = {needs(1, CAP_WRITE_WORD), needs(1, CAP_READ_WORD)},
        .pins = {pinShows(3, 1, 'W'), pinShows(5, 1, 'W')},
        .summary = B.direction == Bcd::ToInteger ? "Four BCD digits to an integer in place; nothing for a digit above 9"
                                                 : "An integer 0..9999 to four BCD digits in place",
    };

    explicit BcdOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        if (const auto result = converted(inOut_.get())) inOut_.set(*result);
    }

private:
    static std::optional<std::uint16_t> converted(std::uint16_t in) {
        std::uint32_t result = 0;
        if constexpr (B.direction == Bcd::ToInteger) {
            for (int shift = 12; shift >= 0; shift -= 4) {
                const std::uint32_t digit = (static_cast<std::uint32_t>(in) >> shift) & 0x0Fu;
                if (digit > 9) return std::nullopt;
                result = result * 10u + digit;
            }
        } else {
            const std::int32_t value = signedAtWidth(in, Width::Word);
            if (value < 0 || value > 9999) return std::nullopt;
            auto rest = static_cast<std::uint32_t>(value);
            for (int shift = 0; shift <= 12; shift += 4, rest /= 10u) result |= (rest % 10u) << shift;
        }
        return static_cast<std::uint16_t>(result);
    }

    WidthOperand<Width::Word> inOut_{operand1_.get()};
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(familyEntries<ConversionOp, CONVERSIONS>(), familyEntries<BcdOp, BCD_CONVERSIONS>());
}

} // namespace sps::conversions
