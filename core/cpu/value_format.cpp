#include "cpu/value_format.h"

#include <algorithm>

#include "base/writer.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// "BASE#" and the value with leading zeros up to the width's digit count.
std::string based(std::uint32_t value, int base, int digits) {
    static constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0 && value != 0; --i) {
        text[static_cast<std::size_t>(i)] = DIGITS[value % static_cast<std::uint32_t>(base)];
        value /= static_cast<std::uint32_t>(base);
    }
    return std::to_string(base) + "#" + text;
}

std::string realText(float value) {
    StringWriter writer;
    writer.putReal(value);
    return writer.takeText();
}

} // namespace

const char* formatName(ValueFormat format) {
    for (const ValueFormatInfo& info : VALUE_FORMATS)
        if (info.format == format) return info.name;
    return "";
}

std::optional<ValueFormat> formatNamed(std::string_view latin1Name) {
    const auto found = std::find_if(VALUE_FORMATS.begin(), VALUE_FORMATS.end(),
                                    [latin1Name](const ValueFormatInfo& info) { return latin1Name == info.name; });
    if (found == VALUE_FORMATS.end()) return std::nullopt;
    return found->format;
}

bool formatReadable(const Parameter& operand, ValueFormat format) {
    const std::uint8_t readable = operand.capabilities().direct;
    switch (format) {
    case ValueFormat::Bit: return (readable & CAP_READ_BIT) != 0;
    case ValueFormat::Real: return (readable & CAP_READ_DWORD) != 0;
    default: break;
    }
    const auto width = operandWidth(operand);
    if (!width) return false;
    return (readable & readCapability(*width)) != 0;
}

ValueFormat defaultFormat(Width width) {
    switch (width) {
    case Width::Bit: return ValueFormat::Bit;
    case Width::Byte: return ValueFormat::Decimal;
    case Width::Word:
    case Width::Dword: return ValueFormat::SignedDecimal;
    }
    return ValueFormat::Decimal;
}

std::string formatNumber(std::uint32_t bits, Width width, ValueFormat format) {
    const std::uint32_t value = cutToWidth(bits, width);
    const int digits = widthBits(width);
    switch (format) {
    case ValueFormat::Bit: return (value & 1u) != 0 ? "1" : "0";
    case ValueFormat::Binary: return based(value, 2, digits);
    case ValueFormat::SignedDecimal: return std::to_string(signedAtWidth(value, width));
    case ValueFormat::Decimal: return std::to_string(value);
    case ValueFormat::Hex: return based(value, 16, (digits + 3) / 4);
    case ValueFormat::Real: return realText(std::bit_cast<float>(bits));
    }
    return std::to_string(value);
}

std::string formatOperand(Parameter& operand, ValueFormat format) {
    switch (format) {
    case ValueFormat::Bit: return operand.getBit() != 0 ? "1" : "0";
    case ValueFormat::Real: return realText(operand.getReal());
    default: break;
    }
    const auto width = operandWidth(operand);
    if (!width) throwMessage("Parametertype not possible");
    return formatNumber(readAtWidth(operand, *width), *width, format);
}

} // namespace sps
