#include <bit>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/writer.h"
#include "cli/case_log.h"
#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/operand_arguments.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "cpu/value_format.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"

namespace sps {

namespace {

// The last word of `print` that chooses a format: the letters that pick a
// width (a value that cannot be read so shows every readable width), and the
// display formats at the operand's own width.
struct PrintFormat {
    std::string_view word;
    char letter;                        // the width's letter, or 0
    std::optional<ValueFormat> display; // or the display format
};

constexpr PrintFormat PRINT_FORMATS[] = {
    {"/I", 'I', {}},
    {"/B", 'B', {}},
    {"/W", 'W', {}},
    {"/D", 'D', {}},
    {"/R", 'R', {}},
    {"/S", 0, ValueFormat::SignedDecimal},
    {"/U", 0, ValueFormat::Decimal},
    {"/H", 0, ValueFormat::Hex},
    {"/2", 0, ValueFormat::Binary},
};

// The format of a last word that begins with "/"; null when the last word is
// an operand.
const PrintFormat* printFormat(const CommandCall& call) {
    const std::string& last = call.arguments.back();
    if (last.empty() || last.front() != '/') return nullptr;
    const PrintFormat* found = nullptr;
    for (const PrintFormat& format : PRINT_FORMATS)
        if (format.word == last) found = &format;
    if (found == nullptr) call.reject("unknown format '" + last + "'");
    if (call.arguments.size() < 2) call.reject("an operand is needed before " + last);
    return found;
}

std::string printedLine(Parameter& operand, const PrintFormat* format) {
    StringWriter writer;
    if (format == nullptr) {
        operand.dump(writer);
        std::string line = writer.takeText();
        if (!line.empty() && line.front() == ' ') line.erase(0, 1);
        return line;
    }
    if (format->display) return operandName(operand) + " " + formatOperand(operand, *format->display);
    formatValue(writer, &operand, format->letter);
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
    const ConstantValue value = valueArgument(session, call, 1);
    try {
        if (value.isReal)
            target.operand->setReal(value.real());
        else
            writeAtWidth(*target.operand, target.width, value.bits);
        session.simulator.noteOutsideWrite();
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void printCommand(ScriptSession& session, const CommandCall& call) {
    const PrintFormat* format = printFormat(call);
    const std::size_t operandCount = call.arguments.size() - (format != nullptr ? 1 : 0);
    std::vector<std::unique_ptr<Parameter>> operands;
    for (std::size_t i = 0; i < operandCount; ++i) operands.push_back(valuedOperand(session, call, call.arguments[i]));
    for (const auto& operand : operands) {
        try {
            session.output.coreLine(printedLine(*operand, format));
        } catch (const CPUException& error) {
            session.frontEnd.showError(error);
        }
    }
}

void expectCommand(ScriptSession& session, const CommandCall& call) {
    const SizedOperand checked = operandArgument(session, call, 0);
    const ConstantValue expected = valueArgument(session, call, 1);
    session.cases.expectChecked();
    try {
        if (expected.isReal) {
            const float actual = checked.operand->getReal();
            if (!(actual == expected.real()))
                expectationFailed(session, call,
                                  formatNumber(std::bit_cast<std::uint32_t>(actual), Width::Dword, ValueFormat::Real));
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
                                   " cannot be read: " + messageLine(error));
    }
}

} // namespace sps
