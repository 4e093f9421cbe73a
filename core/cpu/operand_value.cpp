#include "cpu/operand_value.h"

#include <algorithm>
#include <cstdint>

#include "base/writer.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// An integer constant as parseOperand accepted it ("+" and "-" signs, a base
// before "#"), read again without its wrap-around modulo 2^32.
struct WrittenInteger {
    bool negative = false;
    bool beyond32Bits = false;
};

WrittenInteger writtenInteger(std::string_view text) {
    WrittenInteger written;
    if (text.starts_with('+')) text.remove_prefix(1);
    written.negative = text.starts_with('-');
    if (written.negative) text.remove_prefix(1);
    std::uint64_t base = 10;
    if (const std::size_t hash = text.find('#'); hash != std::string_view::npos) {
        // The parser took only bases from 2 to 35.
        base = 0;
        for (const char c : text.substr(0, hash))
            base = std::min<std::uint64_t>(base * 10 + static_cast<std::uint64_t>(digitValue(c)), 36);
        text.remove_prefix(hash + 1);
    }
    const std::uint64_t limit = written.negative ? std::uint64_t{1} << 31 : UINT32_MAX;
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        const int digit = digitValue(c);
        if (digit < 0) break;
        // At most (2^32 - 1) * 36 + 35 here: no overflow.
        magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            written.beyond32Bits = true;
            break;
        }
    }
    return written;
}

} // namespace

std::optional<Width> operandWidth(const Parameter& operand) {
    if (operand.kind() == PK_TIMER || operand.kind() == PK_COUNTER) return Width::Word;
    return widestAccess(operand.capabilities().direct);
}

std::uint32_t readAtWidth(Parameter& operand, Width width) {
    switch (width) {
    case Width::Bit: return cutToWidth(static_cast<std::uint32_t>(operand.getBit()), width);
    case Width::Byte: return cutToWidth(static_cast<std::uint32_t>(operand.getByte()), width);
    case Width::Word: return cutToWidth(static_cast<std::uint32_t>(operand.getWord()), width);
    case Width::Dword: return operand.getLong();
    }
    return 0;
}

void writeAtWidth(Parameter& operand, Width width, std::uint32_t value) {
    const int cut = static_cast<int>(cutToWidth(value, width) & 0xFFFFu);
    switch (width) {
    case Width::Bit: return operand.setBit(cut);
    case Width::Byte: return operand.setByte(cut);
    case Width::Word: return operand.setWord(cut);
    case Width::Dword: return operand.setLong(value);
    }
}

std::string operandName(const Parameter& operand) {
    StringWriter writer;
    operand.printName(writer);
    std::string name = writer.takeText();
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name;
}

bool ConstantValue::fits(Width width) const {
    if (isReal) return width == Width::Dword;
    if (beyond32Bits) return false;
    const std::int64_t value = negative ? static_cast<std::int32_t>(bits) : static_cast<std::int64_t>(bits);
    return fitsWidth(value, width);
}

std::optional<ConstantValue> constantValue(Parameter& operand, std::string_view text) {
    if (operand.kind() != PK_CONSTANT) return std::nullopt;
    ConstantValue value;
    if (const auto* real = dynamic_cast<const FloatParameter*>(&operand)) {
        value.isReal = true;
        value.bits = std::bit_cast<std::uint32_t>(real->value());
    } else if (const auto* number = dynamic_cast<const NumParameter*>(&operand)) {
        value.bits = static_cast<std::uint32_t>(number->value());
        // Negative as written: 16#FFFFFFFF is a large number, not -1.
        const WrittenInteger written = writtenInteger(text);
        value.negative = written.negative;
        value.beyond32Bits = written.beyond32Bits;
    } else {
        // An address (&VB100) is the pointer value it stands for.
        value.bits = operand.getLong();
    }
    return value;
}

ConstantValue parseConstant(CPU& cpu, std::string_view text) {
    const auto operand = parseOperand(cpu, text);
    const auto value = constantValue(*operand, text);
    if (!value) throwMessage("Constant expected");
    return *value;
}

void checkValueFits(const ConstantValue& value, Width width) {
    if (value.fits(width)) return;
    throwMessage(value.isReal ? MessageKey("Can't write a dword on parameter") : MessageKey("Value out of range"));
}

} // namespace sps
