#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cpu/width.h"

namespace sps {

class CPU;
class Parameter;

// The width at which an operand's value is taken as a whole, by the user's
// commands rather than by instructions (writing and checking values, forcing,
// stop conditions, the display formats): timers and counters their value (a
// word), every other operand its widest access. Empty for operands that can
// be neither read nor written (subroutine names).
std::optional<Width> operandWidth(const Parameter& operand);

// Throw the CPUException of the operand when the access fails.
std::uint32_t readAtWidth(Parameter& operand, Width width);
void writeAtWidth(Parameter& operand, Width width, std::uint32_t value);

// The operand's name as a program writes it ("E0.3", "MW4", "16#FF"): its
// printed name without the leading blank.
std::string operandName(const Parameter& operand);

// A constant as the user types a value: an integer as its 32 bits, or a real.
struct ConstantValue {
    std::uint32_t bits = 0; // an integer's two's complement, a real's single-precision bits
    bool isReal = false;
    bool negative = false; // an integer written with a minus sign
    // An integer beyond 32 bits (above 4294967295 or below -2147483648): the
    // operand syntax keeps only its low 32 bits, which the user did not mean.
    bool beyond32Bits = false;

    float real() const { return std::bit_cast<float>(bits); }
    // Whether the value can stand at `width` as a signed or an unsigned number
    // (a byte takes -128 to 255, a bit only 0 and 1); a real only in a double
    // word; an integer beyond 32 bits nowhere.
    bool fits(Width width) const;
};

// The value of `operand`, parsed from `text`, when it is a constant; none for
// every other operand. "-5" is negative, 16#FFFFFFFF is not, 4294967296 is
// beyond 32 bits.
std::optional<ConstantValue> constantValue(Parameter& operand, std::string_view text);

// `text` parsed in the operand syntax as a constant; throws the CPUException
// of the syntax error, or "Constant expected" for an operand that is no constant.
ConstantValue parseConstant(CPU& cpu, std::string_view text);

// `value` checked against the operand's `width`: throws "Can't write a dword on
// parameter" for a real in anything but a double word, "Value out of range"
// for an integer that does not fit.
void checkValueFits(const ConstantValue& value, Width width);

} // namespace sps
