#include "cli/operand_access.h"

#include "cpu/parameter.h"

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

} // namespace sps
