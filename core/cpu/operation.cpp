#include "cpu/operation.h"

#include "base/writer.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

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
    // Every value is read before anything is written, so a read that fails
    // leaves no half-written text behind.
    if (kind == PK_TIMER || kind == PK_COUNTER) {
        const int bit = operand->getBit();
        const int word = operand->getWord();
        writer.putInt(bit);
        writer.putChar(':');
        writer.putInt(word);
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
    const int bit = (readable & CAP_READ_BIT) ? operand->getBit() : 0;
    const int byte = (readable & CAP_READ_BYTE) ? operand->getByte() : 0;
    const int word = (readable & CAP_READ_WORD) ? operand->getWord() : 0;
    const std::uint32_t dword = (readable & CAP_READ_DWORD) ? operand->getLong() : 0;
    bool first = true;
    const auto separate = [&] {
        if (!first) writer.putChar(':');
        first = false;
    };
    if (readable & CAP_READ_BIT) {
        separate();
        writer.putInt(bit);
    }
    if (readable & CAP_READ_BYTE) {
        separate();
        writer.putInt(byte);
    }
    if (readable & CAP_READ_WORD) {
        separate();
        writer.putInt(word);
    }
    if (readable & CAP_READ_DWORD) {
        separate();
        writer.putUnsigned(dword);
    }
}

void formatShownValue(Writer& writer, Parameter* operand, char letter) {
    try {
        formatValue(writer, operand, letter);
    } catch (const CPUException&) {
        writer.putChar('?');
    }
}

} // namespace sps
