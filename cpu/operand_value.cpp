#include "cpu/operand_value.h"

#include "base/writer.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

std::optional<OperandWidth> operandWidth(const Parameter& operand) {
    if (operand.kind() == PK_TIMER || operand.kind() == PK_COUNTER) return OperandWidth::Word;
    const Capabilities capabilities = operand.capabilities();
    const std::uint8_t access = capabilities.direct;
    if (access & (CAP_READ_DWORD | CAP_WRITE_DWORD)) return OperandWidth::DoubleWord;
    if (access & (CAP_READ_WORD | CAP_WRITE_WORD)) return OperandWidth::Word;
    if (access & (CAP_READ_BYTE | CAP_WRITE_BYTE)) return OperandWidth::Byte;
    if (access & (CAP_READ_BIT | CAP_WRITE_BIT)) return OperandWidth::Bit;
    return std::nullopt;
}

std::uint8_t readCapabilityAt(OperandWidth width) {
    static constexpr std::uint8_t READ[] = {CAP_READ_BIT, CAP_READ_BYTE, CAP_READ_WORD, CAP_READ_DWORD};
    return READ[static_cast<int>(width)];
}

std::uint8_t writeCapabilityAt(OperandWidth width) {
    static constexpr std::uint8_t WRITE[] = {CAP_WRITE_BIT, CAP_WRITE_BYTE, CAP_WRITE_WORD, CAP_WRITE_DWORD};
    return WRITE[static_cast<int>(width)];
}

std::uint32_t cutToWidth(std::uint32_t value, OperandWidth width) {
    switch (width) {
    case OperandWidth::Bit: return value & 1u;
    case OperandWidth::Byte: return value & 0xFFu;
    case OperandWidth::Word: return value & 0xFFFFu;
    case OperandWidth::DoubleWord: return value;
    }
    return value;
}

std::int32_t signedAtWidth(std::uint32_t value, OperandWidth width) {
    const std::uint32_t cut = cutToWidth(value, width);
    switch (width) {
    case OperandWidth::Bit: return static_cast<std::int32_t>(cut);
    case OperandWidth::Byte: return static_cast<std::int8_t>(cut);
    case OperandWidth::Word: return static_cast<std::int16_t>(cut);
    case OperandWidth::DoubleWord: return static_cast<std::int32_t>(cut);
    }
    return static_cast<std::int32_t>(cut);
}

std::uint32_t readAtWidth(Parameter& operand, OperandWidth width) {
    switch (width) {
    case OperandWidth::Bit: return cutToWidth(static_cast<std::uint32_t>(operand.getBit()), width);
    case OperandWidth::Byte: return cutToWidth(static_cast<std::uint32_t>(operand.getByte()), width);
    case OperandWidth::Word: return cutToWidth(static_cast<std::uint32_t>(operand.getWord()), width);
    case OperandWidth::DoubleWord: return operand.getLong();
    }
    return 0;
}

void writeAtWidth(Parameter& operand, OperandWidth width, std::uint32_t value) {
    const int cut = static_cast<int>(cutToWidth(value, width) & 0xFFFFu);
    switch (width) {
    case OperandWidth::Bit: return operand.setBit(cut);
    case OperandWidth::Byte: return operand.setByte(cut);
    case OperandWidth::Word: return operand.setWord(cut);
    case OperandWidth::DoubleWord: return operand.setLong(value);
    }
}

std::string operandName(const Parameter& operand) {
    StringWriter writer;
    operand.printName(writer);
    std::string name = writer.takeText();
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name;
}

bool ConstantValue::fits(OperandWidth width) const {
    if (isReal) return width == OperandWidth::DoubleWord;
    const std::int64_t value = negative ? static_cast<std::int32_t>(bits) : static_cast<std::int64_t>(bits);
    switch (width) {
    case OperandWidth::Bit: return value == 0 || value == 1;
    case OperandWidth::Byte: return value >= -128 && value <= 0xFF;
    case OperandWidth::Word: return value >= -32768 && value <= 0xFFFF;
    case OperandWidth::DoubleWord: return true;
    }
    return false;
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
        value.negative = !text.empty() && text.front() == '-';
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

void checkValueFits(const ConstantValue& value, OperandWidth width) {
    if (value.fits(width)) return;
    throwMessage(value.isReal ? "Can't write a dword on parameter" : "Value out of range");
}

} // namespace sps
