#include "cpu/force_table.h"

#include <algorithm>

#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "cpu/value_format.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

bool isArea(int kind) { return kind == PK_E || kind == PK_A || kind == PK_M || kind == PK_V || kind == PK_S; }

// What the user may hold at a value: memory the program and the station work
// on, and the CPU's own registers. SM is the CPU's status and clock, which
// only the CPU writes; a pointer names a different place whenever its inner
// operand changes.
bool forceable(int kind) {
    return isArea(kind) || kind == PK_ANALOG_IN || kind == PK_ANALOG_OUT || kind == PK_ACCUMULATOR ||
           kind == PK_TIMER || kind == PK_COUNTER;
}

[[noreturn]] void cannotWrite(Width width) { throwMessage(widthFacts(width).writeMissing); }

// An address beyond its area fails now, with the area's own error, and not
// later in the middle of a scan.
void checkReachable(Parameter& operand, Width width) {
    if (operand.kind() != PK_ANALOG_IN && (operand.capabilities().direct & readCapability(width)) != 0)
        readAtWidth(operand, width);
}

} // namespace

std::string ForcedOperand::valueText() const {
    if (value.isReal) return formatNumber(value.bits, width, ValueFormat::Real);
    return formatNumber(value.bits, width, width == Width::Bit ? ValueFormat::Bit : ValueFormat::Decimal);
}

ForceTable::ForceTable() = default;
ForceTable::~ForceTable() = default;

void ForceTable::force(std::unique_ptr<Parameter> operand, const ConstantValue& value) {
    const auto width = operandWidth(*operand);
    if (!width || !forceable(operand->kind())) throwMessage("Operand can't be forced");
    checkValueFits(value, *width);
    checkReachable(*operand, *width);
    ++changes_;
    std::string name = operandName(*operand);
    auto found = std::find_if(forced_.begin(), forced_.end(), [&](const ForcedOperand& e) { return e.name == name; });
    if (found == forced_.end() && forced_.size() >= MAX_FORCES) throwMessage("Too many forced operands");

    if (const auto* analog = dynamic_cast<const AEParameter*>(operand.get())) {
        forcedAnalogInputs_ |= 1u << analog->channel();
        analogInputValues_[static_cast<std::size_t>(analog->channel())] = static_cast<std::uint16_t>(value.bits);
    } else {
        writeAtWidth(*operand, *width, value.bits);
    }
    if (found != forced_.end()) {
        found->value = value;
        return;
    }
    forced_.push_back({std::move(name), std::move(operand), *width, value});
}

void ForceTable::forgetAnalogInput(const ForcedOperand& entry) {
    if (const auto* analog = dynamic_cast<const AEParameter*>(entry.operand.get()))
        forcedAnalogInputs_ &= ~(1u << analog->channel());
}

bool ForceTable::unforce(std::string_view name) {
    const auto found =
        std::find_if(forced_.begin(), forced_.end(), [name](const ForcedOperand& e) { return e.name == name; });
    if (found == forced_.end()) return false;
    ++changes_;
    forgetAnalogInput(*found);
    forced_.erase(found);
    return true;
}

void ForceTable::unforceAll() {
    ++changes_;
    forced_.clear();
    forcedAnalogInputs_ = 0;
}

const ForcedOperand* ForceTable::find(std::string_view name) const {
    const auto found =
        std::find_if(forced_.begin(), forced_.end(), [name](const ForcedOperand& e) { return e.name == name; });
    return found == forced_.end() ? nullptr : &*found;
}

void ForceTable::writeAtNextScan(std::unique_ptr<Parameter> operand, const ConstantValue& value) {
    const auto width = operandWidth(*operand);
    if (!width) throwMessage("Parametertype not possible");
    if ((operand->capabilities().direct & writeCapability(*width)) == 0) cannotWrite(*width);
    checkValueFits(value, *width);
    checkReachable(*operand, *width);
    if (pending_.size() >= MAX_PENDING_WRITES) throwMessage("Too many pending writes");
    ++changes_;
    pending_.push_back({std::move(operand), *width, value.bits});
}

void ForceTable::clear() {
    unforceAll();
    pending_.clear();
}

void ForceTable::restore(CPU& cpu, const std::vector<SavedForce>& saved) {
    forced_.clear();
    pending_.clear();
    forcedAnalogInputs_ = 0;
    for (const SavedForce& entry : saved) {
        std::unique_ptr<Parameter> operand;
        try {
            // The name as operandName wrote it, in either letter set.
            operand = parseOperand(cpu, entry.name, OperandSyntax{.german = true, .international = true, .shownAs = {}});
        } catch (const CPUException&) {
            continue;
        }
        if (const auto* analog = dynamic_cast<const AEParameter*>(operand.get())) {
            forcedAnalogInputs_ |= 1u << analog->channel();
            analogInputValues_[static_cast<std::size_t>(analog->channel())] =
                static_cast<std::uint16_t>(entry.value.bits);
        }
        forced_.push_back({entry.name, std::move(operand), entry.width, entry.value});
    }
}

void ForceTable::writeForced() {
    for (const ForcedOperand& entry : forced_)
        if (entry.operand->kind() != PK_ANALOG_IN) writeAtWidth(*entry.operand, entry.width, entry.value.bits);
}

void ForceTable::applyAtScanStart() {
    if (!pending_.empty()) {
        const std::vector<PendingWrite> writes = std::move(pending_);
        pending_.clear();
        for (const PendingWrite& write : writes) writeAtWidth(*write.operand, write.width, write.bits);
    }
    writeForced();
}

void ForceTable::applyAtScanEnd() { writeForced(); }

void forceOperand(CPU& cpu, std::string_view operandText, std::string_view valueText) {
    auto operand = parseOperand(cpu, operandText);
    cpu.forces.force(std::move(operand), parseConstant(cpu, valueText));
}

bool unforceOperand(CPU& cpu, std::string_view operandText) {
    return cpu.forces.unforce(operandName(*parseOperand(cpu, operandText)));
}

void writeOperandOnce(CPU& cpu, std::string_view operandText, std::string_view valueText) {
    auto operand = parseOperand(cpu, operandText);
    cpu.forces.writeAtNextScan(std::move(operand), parseConstant(cpu, valueText));
}

} // namespace sps
