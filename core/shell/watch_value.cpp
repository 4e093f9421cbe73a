#include "shell/watch_value.h"

#include <optional>

#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

bool isAnalog(const Parameter& operand) { return operand.kind() == PK_ANALOG_IN || operand.kind() == PK_ANALOG_OUT; }

bool isWordFormat(ValueFormat format) { return format != ValueFormat::Bit && format != ValueFormat::Real; }

// The value of an analog word without reading it: an unserved input's read
// would draw from the random source, and an output cannot be read at all.
std::optional<std::uint16_t> analogValue(CPU& cpu, const Parameter& operand) {
    if (const auto* input = dynamic_cast<const AEParameter*>(&operand)) {
        if (cpu.forces.analogInputForced(input->channel())) return cpu.forces.analogInputValue(input->channel());
        return cpu.bus != nullptr ? cpu.bus->peekAnalogInput(input->channel()) : std::optional<std::uint16_t>{0};
    }
    const auto& output = dynamic_cast<const AAParameter&>(operand);
    return cpu.bus != nullptr ? cpu.bus->peekAnalogOutput(output.channel()) : std::nullopt;
}

} // namespace

std::vector<ValueFormat> watchFormats(const Parameter& operand) {
    std::vector<ValueFormat> formats;
    if (operand.kind() == PK_TEXT || operand.kind() == PK_CONSTANT) return formats;
    for (const ValueFormatInfo& info : VALUE_FORMATS)
        if (isAnalog(operand) ? isWordFormat(info.format) : formatReadable(operand, info.format))
            formats.push_back(info.format);
    return formats;
}

void checkWatchable(Parameter& operand) {
    if (watchFormats(operand).empty()) throwMessage("Parametertype not possible");
    switch (operand.kind()) {
    case PK_E:
    case PK_A:
    case PK_M:
    case PK_V:
    case PK_S:
    case PK_SM:
        if (const auto width = operandWidth(operand)) readAtWidth(operand, *width);
        break;
    default: break;
    }
}

std::string watchValue(CPU& cpu, Parameter& operand, ValueFormat format) {
    if (!isAnalog(operand)) return formatOperand(operand, format);
    if (!isWordFormat(format))
        throwMessage(widthFacts(format == ValueFormat::Bit ? Width::Bit : Width::Dword).readMissing);
    const auto value = analogValue(cpu, operand);
    return value ? formatNumber(*value, Width::Word, format) : "?";
}

} // namespace sps
