#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "cpu/operand_value.h"

namespace sps {

class CPUException;
class Parameter;
struct CommandCall;
struct ScriptSession;

// A German text of the core as one line of spsrun: UTF-8, without the line
// feeds at its end.
std::string messageLine(const CPUException& error);

// The argument `word` parsed as an operand; a syntax error makes the line
// invalid ("NAME: WORD: TEXT").
std::unique_ptr<Parameter> parseArgument(ScriptSession& session, const CommandCall& call, const std::string& word);

// An operand that holds a value: a text operand (a subroutine name, or an
// operand typed in lower case) makes the line invalid.
std::unique_ptr<Parameter> valuedOperand(ScriptSession& session, const CommandCall& call, const std::string& word);

// An operand that has a value to read or write, with its width.
struct SizedOperand {
    std::unique_ptr<Parameter> operand;
    Width width;
};

SizedOperand operandArgument(ScriptSession& session, const CommandCall& call, std::size_t index);

// The argument at `index` as a constant; anything else, and an integer beyond
// 32 bits, makes the line invalid.
ConstantValue valueArgument(ScriptSession& session, const CommandCall& call, std::size_t index);

} // namespace sps
