#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "cpu/operation.h"
#include "cpu/parameter.h"

namespace sps {

// The rows of the instruction table: for each mnemonic everything about its
// instruction except what it does when executed. Each instruction class holds
// its row; the families generate their classes and rows from one list each
// (see family.h), and instruction_table.cpp gathers them.

// Load-time tests of an operand's kind, each with its message.
enum class KindRule : std::uint8_t {
    OnlyE,               // "Only E supported"
    OnlyA,               // "Parametertype A only possible"
    NotTimerOrCounter,   // "Parametertype not possible"
    OnlyS,               // "Only S possible"
    OnlyConstant,        // "Only number possible"
    OnlyText,            // "SBR expected"
    Timer,               // "Timer expected"
    Counter,             // "Counter expected"
    OnDelayTimer,        // "Timer only supports TONR" on a timer number of TONR
    RetentiveTimer,      // "Timer only supports TON" on a timer number of TON
    WritableBitOrRecord, // "Can't write a bit on parameter" unless a timer or counter
};

// One test of checkOperands: a capability of one operand (direct or indexed
// mask) or a kind rule. Slot 0 ends the list.
struct OperandCheck {
    std::uint8_t slot = 0;
    bool isKind = false;
    std::uint8_t capability = 0;
    bool indexed = false;
    KindRule rule = KindRule::OnlyE;
};

constexpr OperandCheck needs(int slot, std::uint8_t capability) {
    return {static_cast<std::uint8_t>(slot), false, capability, false, KindRule::OnlyE};
}
constexpr OperandCheck needsIndexed(int slot, std::uint8_t capability) {
    return {static_cast<std::uint8_t>(slot), false, capability, true, KindRule::OnlyE};
}
constexpr OperandCheck needsKind(int slot, KindRule rule) {
    return {static_cast<std::uint8_t>(slot), true, 0, false, rule};
}

// A ladder pin (1..5) shown from an operand slot (1..3) with a format letter.
struct PinSource {
    std::uint8_t pin = 0;
    std::uint8_t slot = 0;
    char letter = 0;
};

// Ladder pin `pin` shows operand `slot` with the format letter `letter`.
constexpr PinSource pinShows(int pin, int slot, char letter) {
    return {static_cast<std::uint8_t>(pin), static_cast<std::uint8_t>(slot), letter};
}

// The in-place operand for folding a preceding move into a box: the pin that
// shows the move's source, the operand slot the move must write, the size.
struct MergeSlot {
    int pin = 0;
    std::uint8_t slot = 0;
    Width size = Width::Byte;
};

// One row: written with designated initialisers, so that every row names its
// fields; what a row leaves out is empty, none or false.
struct InstructionRow {
    const char* mnemonic = "";
    // The name in the international mnemonic set; null where it is the same.
    const char* international = nullptr;
    const char* label = "";
    LadderKind ladderKind = LK_NONE;
    ContactRole contactRole = ContactRole::None;
    StackOperation stackOperation = StackOperation::None;
    std::optional<Width> moveSize{};
    int operandCount = 0;
    std::array<OperandCheck, 4> checks{};
    std::array<PinSource, 3> pins{};
    MergeSlot merge{};
    bool standsAlone = false;
    ProgramRule programRule = ProgramRule::None;
    // What it does, in one line of the instruction reference.
    const char* summary = "";
};

// A row with its line of the reference.
constexpr InstructionRow described(InstructionRow row, const char* summary) {
    row.summary = summary;
    return row;
}

// A two-input box that combines operand 1 into operand 2 in place (b := a op b
// or b := b op a): operand 2 written, operand 1 read, operand 2 read, in that
// order; a preceding move into operand 2 may be folded in at pin 3.
constexpr InstructionRow inPlaceBox(const char* mnemonic, const char* international, const char* label, Width w,
                                    char letter) {
    return {.mnemonic = mnemonic,
            .international = international,
            .label = label,
            .ladderKind = LK_BOX2,
            .operandCount = 2,
            .checks = {needs(2, writeCapability(w)), needs(1, readCapability(w)), needs(2, readCapability(w))},
            .pins = {pinShows(3, 2, letter), pinShows(4, 1, letter), pinShows(5, 2, letter)},
            .merge = {.pin = 3, .slot = 2, .size = w}};
}

// An instruction whose queries and operand checks come from its row; the
// family classes add only what they do when executed (and their state).
class RowOperation : public Operation {
public:
    RowOperation(const InstructionRow& row, Operands operands)
        : Operation(std::move(operands)), row_(row), mnemonic_(row.mnemonic) {}

    bool standsAlone() const final { return row_.standsAlone; }
    const char* mnemonic() const final { return mnemonic_; }
    void showMnemonicIn(MnemonicSet set) final {
        mnemonic_ =
            set == MnemonicSet::International && row_.international != nullptr ? row_.international : row_.mnemonic;
    }
    const char* boxLabel() const final { return row_.label; }
    LadderKind ladderKind() const final { return row_.ladderKind; }
    ContactRole contactRole() const final { return row_.contactRole; }
    StackOperation stackOperation() const final { return row_.stackOperation; }
    std::optional<Width> moveSize() const final { return row_.moveSize; }
    void checkOperands() const final;
    void pinName(Writer& writer, int pin, int substitutePin, Parameter* substitute) const final;
    void pinValue(Writer& writer, int pin, int substitutePin, Parameter* substitute) const final;
    MergeInfo boxMergeInfo() const final;
    ProgramRule programRule() const final { return row_.programRule; }

protected:
    Parameter* operandInSlot(int slot) const;

private:
    const InstructionRow& row_;
    const char* mnemonic_;
};

// One entry of the instruction table: the row and how to build the class.
struct TableEntry {
    const InstructionRow* row;
    std::unique_ptr<Operation> (*create)(Operands operands);
};

template <class Op> std::unique_ptr<Operation> createAs(Operands operands) {
    return std::make_unique<Op>(std::move(operands));
}

} // namespace sps
