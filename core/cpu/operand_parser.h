#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "cpu/mnemonic_set.h"

namespace sps {

class CPU;
class Parameter;

// Turns the text of one operand, as the user types it, into a new operand
// bound to the memory of `cpu`, with the letters of cpu.operandEntry; throws
// CPUException with the catalog text of the first error. The first
// characters decide the form.
std::unique_ptr<Parameter> parseOperand(CPU& cpu, std::string_view text);
// The same with the letters of either set or both (they do not collide).
std::unique_ptr<Parameter> parseOperand(CPU& cpu, std::string_view text, const OperandSyntax& syntax);

// The set whose letters an operand text is written in; none for letters both
// sets share (M, V, S, SM, T, AC, constants, names).
std::optional<MnemonicSet> operandLetters(std::string_view text);

// '0'..'9' give 0..9, letters of either case 10..35, anything else -1.
int digitValue(char c);

} // namespace sps
