#include "ops/instruction_row.h"

#include "cpu/parameter.h"
#include "cpu/timer_table.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// The message of an operand that lacks a capability (one bit of a mask).
MessageKey missingCapabilityKey(std::uint8_t capability) {
    for (const WidthFacts& facts : WIDTH_FACTS) {
        if (capability == facts.read) return facts.readMissing;
        if (capability == facts.write) return facts.writeMissing;
    }
    return WIDTH_FACTS.back().writeMissing;
}

int timerNumber(const Parameter& operand) { return static_cast<const TimerParameter&>(operand).number(); }

void checkKind(const Parameter& operand, KindRule rule) {
    const int kind = operand.kind();
    switch (rule) {
    case KindRule::OnlyE:
        if (kind != PK_E) throwMessage("Only E supported");
        return;
    case KindRule::OnlyA:
        if (kind != PK_A) throwMessage("Parametertype A only possible");
        return;
    case KindRule::NotTimerOrCounter:
        if (kind == PK_TIMER || kind == PK_COUNTER) throwMessage("Parametertype not possible");
        return;
    case KindRule::OnlyS:
        if (kind != PK_S) throwMessage("Only S possible");
        return;
    case KindRule::OnlyConstant:
        if (kind != PK_CONSTANT) throwMessage("Only number possible");
        return;
    case KindRule::OnlyText:
        if (kind != PK_TEXT) throwMessage("SBR expected");
        return;
    case KindRule::Timer:
        if (kind != PK_TIMER) throwMessage("Timer expected");
        return;
    case KindRule::Counter:
        if (kind != PK_COUNTER) throwMessage("Counter expected");
        return;
    case KindRule::OnDelayTimer:
        if (timerFamily(timerNumber(operand)) != TimerFamily::OnDelay) throwMessage("Timer only supports TONR");
        return;
    case KindRule::RetentiveTimer:
        if (timerFamily(timerNumber(operand)) != TimerFamily::Retentive) throwMessage("Timer only supports TON");
        return;
    case KindRule::WritableBitOrRecord:
        if (!(operand.capabilities().direct & CAP_WRITE_BIT) && kind != PK_TIMER && kind != PK_COUNTER)
            throwMessage("Can't write a bit on parameter");
        return;
    }
}

} // namespace

Parameter* RowOperation::operandInSlot(int slot) const {
    switch (slot) {
    case 1: return operand1_.get();
    case 2: return operand2_.get();
    case 3: return operand3_.get();
    default: return nullptr;
    }
}

void RowOperation::checkOperands() const {
    const int required = row_.operandCount;
    if (required >= 1 && !operand1_) throwMessage("Operand expected");
    if (required >= 2 && !operand2_) throwMessage("2nd Operand expected");
    if (required >= 3 && !operand3_) throwMessage("3nd Operand expected");
    for (int slot = required + 1; slot <= 3; ++slot)
        if (operandInSlot(slot) != nullptr) throwMessage("no Operand expected");

    for (const OperandCheck& check : row_.checks) {
        if (check.slot == 0) break;
        const Parameter& operand = *operandInSlot(check.slot);
        if (check.isKind) {
            checkKind(operand, check.rule);
            continue;
        }
        const Capabilities caps = operand.capabilities();
        const std::uint8_t mask = check.indexed ? caps.indexed : caps.direct;
        if (!(mask & check.capability)) throwMessage(missingCapabilityKey(check.capability));
    }
}

void RowOperation::pinName(Writer& writer, int pin, int substitutePin, Parameter* substitute) const {
    for (const PinSource& p : row_.pins) {
        if (p.pin == 0 || p.pin != pin) continue;
        Parameter* operand = pin == substitutePin ? substitute : operandInSlot(p.slot);
        if (operand != nullptr) operand->printName(writer);
        return;
    }
}

void RowOperation::pinValue(Writer& writer, int pin, int substitutePin, Parameter* substitute) const {
    for (const PinSource& p : row_.pins) {
        if (p.pin == 0 || p.pin != pin) continue;
        formatShownValue(writer, pin == substitutePin ? substitute : operandInSlot(p.slot), p.letter);
        return;
    }
}

MergeInfo RowOperation::boxMergeInfo() const {
    if (row_.merge.pin == 0) return {};
    return {row_.merge.pin, operandInSlot(row_.merge.slot), row_.merge.size};
}

} // namespace sps
