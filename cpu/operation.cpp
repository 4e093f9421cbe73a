#include "cpu/operation.h"

#include "base/writer.h"
#include "cpu/parameter.h"

namespace sps {

Operation::Operation(Operands operands)
    : operand1_(std::move(operands.operand1)), operand2_(std::move(operands.operand2)),
      operand3_(std::move(operands.operand3)) {}

Operation::~Operation() = default;

void Operation::pinName(Writer&, int, int, Parameter*) const {}
void Operation::pinValue(Writer&, int, int, Parameter*) const {}

void formatValue(Writer& writer, Parameter* operand, char letter) {
    if (operand == nullptr) return;
    const int kind = operand->kind();
    if (kind == PK_TEXT || kind == PK_CONSTANT) return;
    if (kind == PK_TIMER || kind == PK_COUNTER) {
        writer.putInt(operand->getBit());
        writer.putChar(':');
        writer.putInt(operand->getWord());
        return;
    }
    const std::uint8_t readable = operand->capabilities().direct;
    switch (letter) {
    case 'I':
        if (readable & CAP_READ_BIT) return writer.putInt(operand->getBit());
        break;
    case 'B':
        if (readable & CAP_READ_BYTE) return writer.putInt(operand->getByte());
        break;
    case 'W':
        if (readable & CAP_READ_WORD) return writer.putInt(operand->getWord());
        break;
    case 'D':
        if (readable & CAP_READ_DWORD) return writer.putUnsigned(operand->getLong());
        break;
    case 'R':
        if (readable & CAP_READ_DWORD) return writer.putReal(operand->getReal());
        break;
    default: break;
    }
    bool first = true;
    const auto separate = [&] {
        if (!first) writer.putChar(':');
        first = false;
    };
    if (readable & CAP_READ_BIT) {
        separate();
        writer.putInt(operand->getBit());
    }
    if (readable & CAP_READ_BYTE) {
        separate();
        writer.putInt(operand->getByte());
    }
    if (readable & CAP_READ_WORD) {
        separate();
        writer.putInt(operand->getWord());
    }
    if (readable & CAP_READ_DWORD) {
        separate();
        writer.putUnsigned(operand->getLong());
    }
}

} // namespace sps
