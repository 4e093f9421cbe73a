// Contacts, coils and logic-stack operations.
#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/contact.h"
#include "ops/instruction_row.h"

namespace sps {

namespace {

constexpr std::array<PinSource, 3> BIT_PIN{pinShows(1, 1, 'I')};
constexpr std::array<PinSource, 3> BIT_AND_COUNT_PINS{pinShows(1, 1, 'I'), pinShows(2, 2, 'B')};

constexpr std::array<OperandCheck, 4> READ_BIT{needs(1, CAP_READ_BIT)};
constexpr std::array<OperandCheck, 4> READ_INPUT_BIT{needs(1, CAP_READ_BIT), needsKind(1, KindRule::OnlyE)};

// A bit contact: one bit operand read from the image, or, for the immediate
// forms, from the physical input.
constexpr InstructionRow contact(const char* mnemonic, const char* label, ContactRole role,
                                 std::array<OperandCheck, 4> checks) {
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_CONTACT,
            .contactRole = role,
            .operandCount = 1,
            .checks = checks,
            .pins = BIT_PIN};
}

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

constexpr InstructionRow stackRow(const char* mnemonic, StackOperation operation) {
    return {.mnemonic = mnemonic, .label = "", .ladderKind = LK_NONE, .stackOperation = operation};
}

constexpr InstructionRow kLD = contact("LD", "", ContactRole::Load, READ_BIT);
constexpr InstructionRow kLDN = contact("LDN", "/", ContactRole::Load, READ_BIT);
constexpr InstructionRow kU = contact("U", "", ContactRole::And, READ_BIT);
constexpr InstructionRow kUN = contact("UN", "/", ContactRole::And, READ_BIT);
constexpr InstructionRow kO = contact("O", "", ContactRole::Or, READ_BIT);
constexpr InstructionRow kON = contact("ON", "/", ContactRole::Or, READ_BIT);
constexpr InstructionRow kLDI = contact("LDI", "I", ContactRole::Load, READ_INPUT_BIT);
constexpr InstructionRow kLDNI = contact("LDNI", "/I", ContactRole::Load, READ_INPUT_BIT);
constexpr InstructionRow kUI = contact("UI", "I", ContactRole::And, READ_INPUT_BIT);
constexpr InstructionRow kUNI = contact("UNI", "/I", ContactRole::And, READ_INPUT_BIT);
constexpr InstructionRow kOI = contact("OI", "I", ContactRole::Or, READ_INPUT_BIT);
constexpr InstructionRow kONI = contact("ONI", "/I", ContactRole::Or, READ_INPUT_BIT);

constexpr InstructionRow kAssign{
    .mnemonic = "=",
    .label = "",
    .ladderKind = LK_COIL,
    .operandCount = 1,
    .checks = {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::NotTimerOrCounter)},
    .pins = BIT_PIN,
};
constexpr InstructionRow kAssignImmediate{
    .mnemonic = "=I",
    .label = "I",
    .ladderKind = LK_COIL,
    .operandCount = 1,
    .checks = {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::OnlyA)},
    .pins = BIT_PIN,
};
constexpr InstructionRow kS =
    bitRun("S", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::NotTimerOrCounter)});
constexpr InstructionRow kR = bitRun("R", {needsKind(1, KindRule::WritableBitOrRecord), needs(2, CAP_READ_BYTE)});
constexpr InstructionRow kSI =
    bitRun("SI", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)});
constexpr InstructionRow kRI =
    bitRun("RI", {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)});

constexpr InstructionRow kNOT = resultContact("NOT", "NOT");
constexpr InstructionRow kEU = resultContact("EU", "P");
constexpr InstructionRow kED = resultContact("ED", "N");
constexpr InstructionRow kULD = stackRow("ULD", StackOperation::AndLoad);
constexpr InstructionRow kOLD = stackRow("OLD", StackOperation::OrLoad);
constexpr InstructionRow kLPS = stackRow("LPS", StackOperation::Push);
constexpr InstructionRow kLRD = stackRow("LRD", StackOperation::Read);
constexpr InstructionRow kLPP = stackRow("LPP", StackOperation::Pop);

// An instruction whose first operand is a bit of a memory area. The operand
// checks guarantee that form; the cast is kept from construction so that an
// instruction built without its checks fails with a message, not a crash.
class BitOperandOp : public RowOperation {
public:
    BitOperandOp(const InstructionRow& row, Operands operands)
        : RowOperation(row, std::move(operands)), bit_(dynamic_cast<BitParameter*>(operand1_.get())),
          readAt_(bit_ != nullptr ? bit_->directReadByte() : nullptr),
          writeAt_(bit_ != nullptr ? bit_->directWriteByte() : nullptr), mask_(bit_ != nullptr ? bit_->mask() : 0) {}

protected:
    BitParameter& bitOperand(const char* keyWhenMissing) const {
        if (bit_ == nullptr) throwMessage(keyWhenMissing);
        return *bit_;
    }
    // Operand 1's bit through the memory operand itself where it is one
    // (a call the compiler sees through), through any operand otherwise.
    int imageBit() const { return bit_ != nullptr ? bit_->getBit() : operand1_->getBit(); }
    void setImageBit(int value) const {
        if (writeAt_ != nullptr)
            *writeAt_ = static_cast<std::uint8_t>((*writeAt_ & ~mask_) | (value != 0 ? mask_ : 0));
        else if (bit_ != nullptr)
            bit_->setBit(value);
        else
            operand1_->setBit(value);
    }

    // Operand 1's byte in memory, resolved when the instruction was made
    // (null where accesses go through the operand), and the bit's mask.
    const std::uint8_t* readAt() const { return readAt_; }
    std::uint8_t mask() const { return mask_; }

private:
    BitParameter* bit_;
    const std::uint8_t* readAt_;
    std::uint8_t* writeAt_;
    std::uint8_t mask_;
};

// ---- contacts ----

enum class Source { Image, Input };
enum class Sense { Plain, Negated };

// The twelve bit contacts: the operand's bit from the image or, immediately,
// from the physical input, plain or negated, joined as the row's role says.
template <const InstructionRow& Row, Source From, Sense S> class BitContactOp final : public BitOperandOp {
public:
    explicit BitContactOp(Operands o) : BitOperandOp(Row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (From == Source::Image && readAt() != nullptr) {
            const bool set = (*readAt() & mask()) != 0;
            combineContact<Row.contactRole>(cpu, set != (S == Sense::Negated) ? 1 : 0);
            return;
        }
        applyContact<Row.contactRole>(cpu, [&] {
            const int bit = From == Source::Input ? bitOperand("Only E supported").readImmediate(cpu) : imageBit();
            return S == Sense::Negated ? !bit : bit;
        });
    }
};

using LD_Op = BitContactOp<kLD, Source::Image, Sense::Plain>;
using LDN_Op = BitContactOp<kLDN, Source::Image, Sense::Negated>;
using U_Op = BitContactOp<kU, Source::Image, Sense::Plain>;
using UN_Op = BitContactOp<kUN, Source::Image, Sense::Negated>;
using O_Op = BitContactOp<kO, Source::Image, Sense::Plain>;
using ON_Op = BitContactOp<kON, Source::Image, Sense::Negated>;
using LDI_Op = BitContactOp<kLDI, Source::Input, Sense::Plain>;
using LDNI_Op = BitContactOp<kLDNI, Source::Input, Sense::Negated>;
using UI_Op = BitContactOp<kUI, Source::Input, Sense::Plain>;
using UNI_Op = BitContactOp<kUNI, Source::Input, Sense::Negated>;
using OI_Op = BitContactOp<kOI, Source::Input, Sense::Plain>;
using ONI_Op = BitContactOp<kONI, Source::Input, Sense::Negated>;

// ---- coils ----

// "=" writes the top in every execution, 0 included.
class gl_Op final : public BitOperandOp {
public:
    explicit gl_Op(Operands o) : BitOperandOp(kAssign, std::move(o)) {}
    void execute(CPU& cpu) override { setImageBit(stackTop(cpu)); }
};

class glI_Op final : public BitOperandOp {
public:
    explicit glI_Op(Operands o) : BitOperandOp(kAssignImmediate, std::move(o)) {}
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
    explicit S_Op(Operands o) : BitOperandOp(kS, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("setbit not supported").setRange(operand2_->getByte(), 1);
    }
};

// R also resets a timer or counter; its count must then be 1, and it is
// checked in every execution.
class R_Op final : public BitOperandOp {
public:
    explicit R_Op(Operands o) : BitOperandOp(kR, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int kind = operand1_->kind();
        if (kind == PK_TIMER || kind == PK_COUNTER) {
            if (operand2_->getByte() != 1) throwMessage("Invalid reset parameter");
            if (!stackTop(cpu)) return;
            if (kind == PK_TIMER) {
                TimerRecord& timer = static_cast<TimerParameter&>(*operand1_).record();
                timer.value = 0;
                timer.running = false;
            } else {
                static_cast<CounterParameter&>(*operand1_).record().value = 0;
            }
            return;
        }
        if (stackTop(cpu)) bitOperand("setbit not supported").setRange(operand2_->getByte(), 0);
    }
};

class SI_Op final : public BitOperandOp {
public:
    explicit SI_Op(Operands o) : BitOperandOp(kSI, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("Only A supported").setRangeImmediate(cpu, operand2_->getByte(), 1);
    }
};

class RI_Op final : public BitOperandOp {
public:
    explicit RI_Op(Operands o) : BitOperandOp(kRI, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) bitOperand("Only A supported").setRangeImmediate(cpu, operand2_->getByte(), 0);
    }
};

// ---- stack logic ----

class NOT_Op final : public RowOperation {
public:
    explicit NOT_Op(Operands o) : RowOperation(kNOT, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, !popBit(cpu)); }
};

// Rising edge: 1 exactly when the top is 1 and was 0 in the previous
// execution. The memory follows the top only while the segment gate is open.
class EU_Op final : public RowOperation {
public:
    explicit EU_Op(Operands o) : RowOperation(kEU, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int t = popBit(cpu);
        pushBit(cpu, t && !lastInput_);
        if (gateOpen(cpu)) lastInput_ = t;
    }
    void resetState() override { lastInput_ = 1; }

private:
    int lastInput_ = 1;
};

class ED_Op final : public RowOperation {
public:
    explicit ED_Op(Operands o) : RowOperation(kED, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int t = popBit(cpu);
        pushBit(cpu, !t && lastInput_);
        if (gateOpen(cpu)) lastInput_ = t;
    }
    void resetState() override { lastInput_ = 0; }

private:
    int lastInput_ = 0;
};

class ULD_Op final : public RowOperation {
public:
    explicit ULD_Op(Operands o) : RowOperation(kULD, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int a = popBit(cpu);
        const int b = popBit(cpu);
        pushBit(cpu, a && b);
    }
};

class OLD_Op final : public RowOperation {
public:
    explicit OLD_Op(Operands o) : RowOperation(kOLD, std::move(o)) {}
    void execute(CPU& cpu) override {
        const int a = popBit(cpu);
        const int b = popBit(cpu);
        pushBit(cpu, a || b);
    }
};

class LPS_Op final : public RowOperation {
public:
    explicit LPS_Op(Operands o) : RowOperation(kLPS, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, stackTop(cpu)); }
};

class LRD_Op final : public RowOperation {
public:
    explicit LRD_Op(Operands o) : RowOperation(kLRD, std::move(o)) {}
    void execute(CPU& cpu) override {
        popBit(cpu);
        pushBit(cpu, stackTop(cpu));
    }
};

class LPP_Op final : public RowOperation {
public:
    explicit LPP_Op(Operands o) : RowOperation(kLPP, std::move(o)) {}
    void execute(CPU& cpu) override { popBit(cpu); }
};

constexpr TableEntry kRows[] = {
    {&kLD, createAs<LD_Op>},     {&kLDN, createAs<LDN_Op>},
    {&kU, createAs<U_Op>},       {&kUN, createAs<UN_Op>},
    {&kO, createAs<O_Op>},       {&kON, createAs<ON_Op>},
    {&kLDI, createAs<LDI_Op>},   {&kLDNI, createAs<LDNI_Op>},
    {&kUI, createAs<UI_Op>},     {&kUNI, createAs<UNI_Op>},
    {&kOI, createAs<OI_Op>},     {&kONI, createAs<ONI_Op>},
    {&kAssign, createAs<gl_Op>}, {&kAssignImmediate, createAs<glI_Op>},
    {&kS, createAs<S_Op>},       {&kR, createAs<R_Op>},
    {&kSI, createAs<SI_Op>},     {&kRI, createAs<RI_Op>},
    {&kNOT, createAs<NOT_Op>},   {&kEU, createAs<EU_Op>},
    {&kED, createAs<ED_Op>},     {&kULD, createAs<ULD_Op>},
    {&kOLD, createAs<OLD_Op>},   {&kLPS, createAs<LPS_Op>},
    {&kLRD, createAs<LRD_Op>},   {&kLPP, createAs<LPP_Op>},
};
static_assert(std::size(kRows) == 26);

} // namespace

std::span<const TableEntry> bitLogicInstructions() { return kRows; }

} // namespace sps
