#pragma once

#include <cstdint>
#include <optional>

namespace sps {

class Parameter;

// The width an operand is read and written at by `set` and `expect`: timers
// and counters their value (a word), every other operand its widest access.
enum class OperandWidth { Bit, Byte, Word, DoubleWord };

// Empty for operands that can be neither read nor written (subroutine names).
std::optional<OperandWidth> operandWidth(const Parameter& operand);

// `value` cut to the width's low bits.
std::uint32_t cutToWidth(std::uint32_t value, OperandWidth width);
// A value cut to the width, read back as a signed number of that width.
std::int32_t signedAtWidth(std::uint32_t value, OperandWidth width);

// Throw the CPUException of the operand when the access fails.
std::uint32_t readAtWidth(Parameter& operand, OperandWidth width);
void writeAtWidth(Parameter& operand, OperandWidth width, std::uint32_t value);

} // namespace sps
