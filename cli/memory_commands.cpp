#include <memory>
#include <string>
#include <vector>

#include "base/writer.h"
#include "cli/case_log.h"
#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/operand_access.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cpu/operand_parser.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"

namespace sps {

namespace {

// A number as `set` and `expect` take it: an integer constant as its 32 bits,
// or a real.
struct ScriptValue {
    bool isReal = false;
    float real = 0.0f;
    std::uint32_t bits = 0;
    bool negative = false; // written with a minus sign
};

std::string withoutTrailingLineFeed(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

std::unique_ptr<Parameter> parseArgument(ScriptSession& session, const CommandCall& call, const std::string& word) {
    try {
        return parseOperand(session.simulator.cpu(), word);
    } catch (const CPUException& error) {
        throw ScriptError(std::string(call.spec.name) + ": " + word + ": " +
                          latin1ToUtf8(withoutTrailingLineFeed(error.messageText())));
    }
}

// An operand that has a value to read or write, with its width.
struct SizedOperand {
    std::unique_ptr<Parameter> operand;
    OperandWidth width;
};

// An operand that holds a value: a text operand (a subroutine name, or an
// operand typed in lower case) is refused.
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

ScriptValue valueArgument(ScriptSession& session, const CommandCall& call, std::size_t index) {
    const std::string& word = call.arguments[index];
    const auto operand = parseArgument(session, call, word);
    ScriptValue value;
    if (const auto* real = dynamic_cast<const FloatParameter*>(operand.get())) {
        value.isReal = true;
        value.real = real->value();
    } else if (const auto* number = dynamic_cast<const NumParameter*>(operand.get())) {
        value.bits = static_cast<std::uint32_t>(number->value());
        // Negative as written: 16#FFFFFFFF is a large number, not -1.
        value.negative = word.front() == '-';
    } else if (operand->kind() == PK_CONSTANT) {
        value.bits = operand->getLong();
    } else {
        call.reject("VALUE must be a number, not '" + word + "'");
    }
    return value;
}

// The operand's name as the core prints it, without the leading blank.
std::string operandName(const Parameter& operand) {
    StringWriter writer;
    operand.printName(writer);
    std::string name = writer.takeText();
    if (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name;
}

std::string realText(float value) {
    StringWriter writer;
    writer.putReal(value);
    return writer.takeText();
}

// The format letter of a last word /I, /B, /W, /D or /R; 0 when the last word
// is an operand.
char formatLetter(const CommandCall& call) {
    const std::string& last = call.arguments.back();
    if (last.empty() || last.front() != '/') return 0;
    if (last.size() != 2 || std::string_view("IBWDR").find(last[1]) == std::string_view::npos)
        call.reject("unknown format '" + last + "'");
    if (call.arguments.size() < 2) call.reject("an operand is needed before " + last);
    return last[1];
}

std::string printedLine(Parameter& operand, char letter) {
    StringWriter writer;
    if (letter == 0) {
        operand.dump(writer);
        std::string line = writer.takeText();
        if (!line.empty() && line.front() == ' ') line.erase(0, 1);
        return line;
    }
    formatValue(writer, &operand, letter);
    const std::string value = writer.takeText();
    return value.empty() ? operandName(operand) : operandName(operand) + " " + value;
}

std::string expectFailedPrefix(const ScriptSession& session) {
    return "expect failed (line " + std::to_string(session.lineNumber) + "): ";
}

void expectationFailed(ScriptSession& session, const CommandCall& call, const std::string& actual) {
    const std::string line =
        expectFailedPrefix(session) + call.arguments[0] + " is " + actual + ", expected " + call.arguments[1];
    session.output.line(line);
    session.cases.expectFailed(line);
}

} // namespace

void setCommand(ScriptSession& session, const CommandCall& call) {
    const SizedOperand target = operandArgument(session, call, 0);
    const ScriptValue value = valueArgument(session, call, 1);
    try {
        if (value.isReal)
            target.operand->setReal(value.real);
        else
            writeAtWidth(*target.operand, target.width, value.bits);
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void printCommand(ScriptSession& session, const CommandCall& call) {
    const char letter = formatLetter(call);
    const std::size_t operandCount = call.arguments.size() - (letter != 0 ? 1 : 0);
    std::vector<std::unique_ptr<Parameter>> operands;
    for (std::size_t i = 0; i < operandCount; ++i) operands.push_back(valuedOperand(session, call, call.arguments[i]));
    for (const auto& operand : operands) {
        try {
            session.output.coreLine(printedLine(*operand, letter));
        } catch (const CPUException& error) {
            session.frontEnd.showError(error);
        }
    }
}

void expectCommand(ScriptSession& session, const CommandCall& call) {
    const SizedOperand checked = operandArgument(session, call, 0);
    const ScriptValue expected = valueArgument(session, call, 1);
    session.cases.expectChecked();
    try {
        if (expected.isReal) {
            const float actual = checked.operand->getReal();
            if (!(actual == expected.real)) expectationFailed(session, call, realText(actual));
            return;
        }
        const std::uint32_t actual = readAtWidth(*checked.operand, checked.width);
        if (actual == cutToWidth(expected.bits, checked.width)) return;
        expectationFailed(session, call,
                          expected.negative ? std::to_string(signedAtWidth(actual, checked.width))
                                            : std::to_string(actual));
    } catch (const CPUException& error) {
        // A value that cannot be read does not meet the expectation. The
        // script shows the error as the error box would; the case records
        // which expect it spoilt.
        session.frontEnd.showError(error);
        session.cases.expectFailed(expectFailedPrefix(session) + call.arguments[0] +
                                   " cannot be read: " + latin1ToUtf8(withoutTrailingLineFeed(error.messageText())));
    }
}

} // namespace sps
