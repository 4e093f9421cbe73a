#pragma once

// Contacts, coils and logic-stack operations.
#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/contact.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::bit_logic {

inline constexpr std::array<PinSource, 3> BIT_PIN{pinShows(1, 1, 'I')};
inline constexpr std::array<PinSource, 3> BIT_AND_COUNT_PINS{pinShows(1, 1, 'I'), pinShows(2, 2, 'B')};

// S, R, SI and RI: a run of bits from operand 1 whose length is operand 2.
constexpr InstructionRow bitRun(const char* mnemonic, std::array<OperandCheck, 4> checks) {
    return {.mnemonic = mnemonic,
            .label = mnemonic,
            .ladderKind = LK_COIL,
            .operandCount = 2,
            .checks = checks,
            .pins = BIT_AND_COUNT_PINS};
}

// NOT, EU and ED act on the result so far: a contact in series.
constexpr InstructionRow resultContact(const char* mnemonic, const char* label) {
    return {.mnemonic = mnemonic, .label = label, .ladderKind = LK_CONTACT, .contactRole = ContactRole::And};
}

// The logic-stack operations have no ladder element of their own.
constexpr InstructionRow stackRow(const char* mnemonic, const char* international, StackOperation operation) {
    return {.mnemonic = mnemonic,
            .international = international,
            .label = "",
            .ladderKind = LK_NONE,
            .stackOperation = operation};
}

// An instruction whose first operand is a bit of a memory area. The operand
// checks guarantee that form; the cast is kept from construction so that an
// instruction built without its checks fails with a message, not a crash.
class BitOperandOp : public RowOperation {
public:
    BitOperandOp(const InstructionRow& row, Operands operands)
        : RowOperation(row, std::move(operands)), bit_(dynamic_cast<BitParameter*>(operand1_.get())),
          direct_(bit_ != nullptr ? bit_->directAccess() : BitAccess{}) {}

protected:
    BitParameter& bitOperand(MessageKey keyWhenMissing) const {
        if (bit_ == nullptr) throwMessage(keyWhenMissing);
        return *bit_;
    }
    // Operand 1's bit through the memory operand itself where it is one
    // (a call the compiler sees through), through any operand otherwise.
    int imageBit() const { return bit_ != nullptr ? bit_->getBit() : operand1_->getBit(); }
    void setImageBit(int value) const {
        if (direct_.write != nullptr)
            direct_.set(value);
        else if (bit_ != nullptr)
            bit_->setBit(value);
        else
            operand1_->setBit(value);
    }

    // Operand 1's bit in memory, resolved when the instruction was made
    // (null bytes where accesses go through the operand).
    const BitAccess& direct() const { return direct_; }

private:
    BitParameter* bit_;
    BitAccess direct_;
};

// ---- contacts ----

enum class Source : std::uint8_t { Image, Input };
enum class Sense : std::uint8_t { Plain, Negated };

// A bit contact: one bit operand read from the image or, for the immediate
// forms, from the physical input (E only), plain or negated, joined as its
// role says.
struct BitContactRow {
    Name mnemonic;
    Name international;
    Name label;
    ContactRole role;
    Source from;
    Sense sense;
};

inline constexpr BitContactRow BIT_CONTACTS[] = {
    {"LD", {}, "", ContactRole::Load, Source::Image, Sense::Plain},
    {"LDN", {}, "/", ContactRole::Load, Source::Image, Sense::Negated},
    {"U", "A", "", ContactRole::And, Source::Image, Sense::Plain},
    {"UN", "AN", "/", ContactRole::And, Source::Image, Sense::Negated},
    {"O", {}, "", ContactRole::Or, Source::Image, Sense::Plain},
    {"ON", {}, "/", ContactRole::Or, Source::Image, Sense::Negated},
    {"LDI", {}, "I", ContactRole::Load, Source::Input, Sense::Plain},
    {"LDNI", {}, "/I", ContactRole::Load, Source::Input, Sense::Negated},
    {"UI", "AI", "I", ContactRole::And, Source::Input, Sense::Plain},
    {"UNI", "ANI", "/I", ContactRole::And, Source::Input, Sense::Negated},
    {"OI", {}, "I", ContactRole::Or, Source::Input, Sense::Plain},
    {"ONI", {}, "/I", ContactRole::Or, Source::Input, Sense::Negated},
};

// The reference line of a contact: how it joins, which bit, from where.
constexpr const char* contactSummary(ContactRole role, Sense sense, Source from) {
    constexpr const char* lines[] = {
        "Starts a branch with the bit",
        "Starts a branch with the physical input bit",
        "Starts a branch with the negated bit",
        "Starts a branch with the negated physical input bit",
        "ANDs the bit to the result",
        "ANDs the physical input bit to the result",
        "ANDs the negated bit to the result",
        "ANDs the negated physical input bit to the result",
        "ORs the bit to the result",
        "ORs the physical input bit to the result",
        "ORs the negated bit to the result",
        "ORs the negated physical input bit to the result",
    };
    const int joined = role == ContactRole::Load ? 0 : role == ContactRole::And ? 1 : 2;
    return lines[joined * 4 + (sense == Sense::Negated ? 2 : 0) + (from == Source::Input ? 1 : 0)];
}

template <BitContactRow R> class BitContactOp final : public BitOperandOp {
public:
    static constexpr InstructionRow row{
        .mnemonic = R.mnemonic.c_str(),
        .international = R.international.orNull(),
        .label = R.label.c_str(),
        .ladderKind = LK_CONTACT,
        .contactRole = R.role,
        .operandCount = 1,
        .checks = {needs(1, CAP_READ_BIT), R.from == Source::Input ? needsKind(1, KindRule::OnlyE) : OperandCheck{}},
        .pins = BIT_PIN,
        .summary = contactSummary(R.role, R.sense, R.from),
    };

    explicit BitContactOp(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (R.from == Source::Image && direct().read != nullptr) {
            combineContact<R.role>(cpu, direct().get() != (R.sense == Sense::Negated) ? 1 : 0);
            return;
        }
        applyContact<R.role>(cpu, [&] {
            const int bit = R.from == Source::Input ? bitOperand("Only E supported").readImmediate(cpu) : imageBit();
            return R.sense == Sense::Negated ? !bit : bit;
        });
    }
};

// ---- coils ----

// "=" writes the top in every execution, 0 included.
class gl_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row{
        .mnemonic = "=",
        .label = "",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::NotTimerOrCounter)},
        .pins = BIT_PIN,
        .summary = "Writes the result to the bit",
    };

    explicit gl_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override { setImageBit(stackTop(cpu)); }
};

class glI_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row{
        .mnemonic = "=I",
        .label = "I",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::OnlyA)},
        .pins = BIT_PIN,
        .summary = "Writes the result to the output bit and at once to the physical output",
    };

    explicit glI_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int top = stackTop(cpu);
        operand1_->setBit(top);
        bitOperand("Only A supported").writeImmediate(cpu, top);
    }
};

// S, R, SI and RI act only while the top is 1 and then write a run of bits
// whose length (operand 2) is read only then.
class S_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row = described(
        bitRun("S", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::NotTimerOrCounter)}),
        "Sets N bits from the bit on while the result is 1");

    explicit S_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("setbit not supported").setRange(operand2_->getByte(), 1);
    }
};

// R also resets a timer or counter; its count must then be 1, and it is
// checked in every execution.
class R_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row =
        described(bitRun("R", {needsKind(1, KindRule::WritableBitOrRecord), needs(2, CAP_READ_BYTE)}),
                  "Resets N bits from the bit on, or a timer or counter, while the result is 1");

    explicit R_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int kind = operand1_->kind();
        if (kind == PK_TIMER || kind == PK_COUNTER) {
            if (operand2_->getByte() != 1) throwMessage("Invalid reset parameter");
            if (!stackTop(cpu)) return;
            if (kind == PK_TIMER)
                resetTimer(static_cast<TimerParameter&>(*operand1_).record());
            else
                resetCounter(static_cast<CounterParameter&>(*operand1_).record());
            return;
        }
        if (stackTop(cpu)) bitOperand("setbit not supported").setRange(operand2_->getByte(), 0);
    }
};

class SI_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row =
        described(bitRun("SI", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)}),
                  "Sets N output bits and at once the physical outputs while the result is 1");

    explicit SI_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("Only A supported").setRangeImmediate(cpu, operand2_->getByte(), 1);
    }
};

class RI_Op final : public BitOperandOp {
public:
    static constexpr InstructionRow row =
        described(bitRun("RI", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)}),
                  "Resets N output bits and at once the physical outputs while the result is 1");

    explicit RI_Op(Operands o) : BitOperandOp(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("Only A supported").setRangeImmediate(cpu, operand2_->getByte(), 0);
    }
};

// ---- stack logic ----

class NOT_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = described(resultContact("NOT", "NOT"), "Inverts the result");

    explicit NOT_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, !popBit(cpu)); }
};

// Rising edge: 1 exactly when the top is 1 and was 0 in the previous
// execution. The memory follows the top only while the segment gate is open.
class EU_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(resultContact("EU", "P"), "1 in the scan in which the result rises");

    explicit EU_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int t = popBit(cpu);
        pushBit(cpu, t && !lastInput_);
        if (gateOpen(cpu)) lastInput_ = t;
    }
    void resetState() override { lastInput_ = 1; }
    std::span<int> runState() override { return {&lastInput_, 1}; }

private:
    int lastInput_ = 1;
};

class ED_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(resultContact("ED", "N"), "1 in the scan in which the result falls");

    explicit ED_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int t = popBit(cpu);
        pushBit(cpu, !t && lastInput_);
        if (gateOpen(cpu)) lastInput_ = t;
    }
    void resetState() override { lastInput_ = 0; }
    std::span<int> runState() override { return {&lastInput_, 1}; }

private:
    int lastInput_ = 0;
};

class ULD_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(stackRow("ULD", "ALD", StackOperation::AndLoad), "ANDs the two top levels of the logic stack");

    explicit ULD_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int a = popBit(cpu);
        const int b = popBit(cpu);
        pushBit(cpu, a && b);
    }
};

class OLD_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(stackRow("OLD", nullptr, StackOperation::OrLoad), "ORs the two top levels of the logic stack");

    explicit OLD_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int a = popBit(cpu);
        const int b = popBit(cpu);
        pushBit(cpu, a || b);
    }
};

class LPS_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(stackRow("LPS", nullptr, StackOperation::Push), "Pushes a copy of the top level");

    explicit LPS_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, stackTop(cpu)); }
};

class LRD_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(stackRow("LRD", nullptr, StackOperation::Read), "Replaces the top level by a copy of the one below");

    explicit LRD_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        popBit(cpu);
        pushBit(cpu, stackTop(cpu));
    }
};

class LPP_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(stackRow("LPP", nullptr, StackOperation::Pop), "Drops the top level");

    explicit LPP_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override { popBit(cpu); }
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(familyEntries<BitContactOp, BIT_CONTACTS>(),
                       classEntries<gl_Op, glI_Op, S_Op, R_Op, SI_Op, RI_Op, NOT_Op, EU_Op, ED_Op, ULD_Op, OLD_Op,
                                    LPS_Op, LRD_Op, LPP_Op>());
}

} // namespace sps::bit_logic
