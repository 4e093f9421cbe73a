#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cpu/operand_value.h"

namespace sps {

class Parameter;

// How a value is shown to the user, at the operand's own width.
enum class ValueFormat : std::uint8_t {
    Bit,           // the operand read as a bit: 0 or 1 (a timer's or counter's bit)
    Binary,        // 2#00000101, one digit per bit of the width
    SignedDecimal, // -1 for the word 16#FFFF
    Decimal,       // 65535 for the word 16#FFFF
    Hex,           // 16#FFFF, two digits per byte of the width
    Real,          // the double word read as a real: +1.5
};

struct ValueFormatInfo {
    ValueFormat format;
    const char* name; // German, ISO-8859-1, as the user chooses it
};

// Every format in the order a user is offered them.
inline constexpr std::array<ValueFormatInfo, 6> VALUE_FORMATS{{
    {ValueFormat::Bit, "Bit"},
    {ValueFormat::Binary, "Bin\xE4r"},
    {ValueFormat::SignedDecimal, "Dezimal mit Vorzeichen"},
    {ValueFormat::Decimal, "Dezimal"},
    {ValueFormat::Hex, "Hex"},
    {ValueFormat::Real, "Real"},
}};

const char* formatName(ValueFormat format);
// The format of that German name; none for any other text.
std::optional<ValueFormat> formatNamed(std::string_view latin1Name);

// Whether `operand` can be shown in `format`: Bit needs a bit read, Real a
// double-word read, the others a read at the operand's width.
bool formatReadable(const Parameter& operand, ValueFormat format);
// The format an operand of that width is shown in unless the user chooses
// another: bits as Bit, bytes as Decimal, words and double words as SignedDecimal.
ValueFormat defaultFormat(Width width);

// `bits` cut to `width` and written in `format`. Bit shows the lowest bit,
// Real the 32 bits read as a real.
std::string formatNumber(std::uint32_t bits, Width width, ValueFormat format);
// The operand's current value in `format`; throws the operand's CPUException
// when it cannot be read so (an address beyond its area, a word read as a real).
std::string formatOperand(Parameter& operand, ValueFormat format);

} // namespace sps
