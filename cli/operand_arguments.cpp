#include "cli/operand_arguments.h"

#include "cli/command_table.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "messages/message_key.h"
#include "shell/simulator.h"

namespace sps {

std::string messageLine(const CPUException& error) {
    std::string text = error.messageText();
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return latin1ToUtf8(text);
}

std::unique_ptr<Parameter> parseArgument(ScriptSession& session, const CommandCall& call, const std::string& word) {
    try {
        return parseOperand(session.simulator.cpu(), word);
    } catch (const CPUException& error) {
        throw ScriptError(std::string(call.spec.name) + ": " + word + ": " + messageLine(error));
    }
}

std::unique_ptr<Parameter> valuedOperand(ScriptSession& session, const CommandCall& call, const std::string& word) {
    auto operand = parseArgument(session, call, word);
    if (operand->kind() == PK_TEXT)
        call.reject("'" + word +
                    "' is a name, not an operand with a value (operands are written in capitals: E0.0, MW4)");
    return operand;
}

SizedOperand operandArgument(ScriptSession& session, const CommandCall& call, std::size_t index) {
    auto operand = valuedOperand(session, call, call.arguments[index]);
    const auto width = operandWidth(*operand);
    if (!width) call.reject("'" + call.arguments[index] + "' has no value");
    return {std::move(operand), *width};
}

ConstantValue valueArgument(ScriptSession& session, const CommandCall& call, std::size_t index) {
    const std::string& word = call.arguments[index];
    const auto operand = parseArgument(session, call, word);
    const auto value = constantValue(*operand, word);
    if (!value) call.reject("VALUE must be a number, not '" + word + "'");
    // set and expect cut a value to the operand's width, force and write check
    // it against the width: both from the value as written, not from its low
    // 32 bits.
    if (value->beyond32Bits)
        throw ScriptError(std::string(call.spec.name) + ": " + word + ": " +
                          latin1ToUtf8(MessageKey("Value out of range").text()));
    return *value;
}

} // namespace sps
