// Contacts, coils and logic-stack operations.
#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/instruction_row.h"

namespace sps {

namespace {

constexpr std::array<PinSource, 3> BIT_PIN{{{1, 1, 'I'}}};
constexpr std::array<PinSource, 3> BIT_AND_COUNT_PINS{{{1, 1, 'I'}, {2, 2, 'B'}}};

constexpr std::array<OperandCheck, 4> READ_BIT{needs(1, CAP_READ_BIT)};
constexpr std::array<OperandCheck, 4> READ_INPUT_BIT{needs(1, CAP_READ_BIT), needsKind(1, KindRule::OnlyE)};

constexpr InstructionRow contact(const char* mnemonic, const char* label, std::array<OperandCheck, 4> checks) {
    return {mnemonic, label, LK_CONTACT, 1, checks, BIT_PIN};
}

constexpr InstructionRow noOperands(const char* mnemonic, const char* label, LadderKind kind) {
    return {mnemonic, label, kind, 0};
}

constexpr InstructionRow kLD = contact("LD", "", READ_BIT);
constexpr InstructionRow kLDN = contact("LDN", "/", READ_BIT);
constexpr InstructionRow kU = contact("U", "", READ_BIT);
constexpr InstructionRow kUN = contact("UN", "/", READ_BIT);
constexpr InstructionRow kO = contact("O", "", READ_BIT);
constexpr InstructionRow kON = contact("ON", "/", READ_BIT);
constexpr InstructionRow kLDI = contact("LDI", "I", READ_INPUT_BIT);
constexpr InstructionRow kLDNI = contact("LDNI", "/I", READ_INPUT_BIT);
constexpr InstructionRow kUI = contact("UI", "I", READ_INPUT_BIT);
constexpr InstructionRow kUNI = contact("UNI", "/I", READ_INPUT_BIT);
constexpr InstructionRow kOI = contact("OI", "I", READ_INPUT_BIT);
constexpr InstructionRow kONI = contact("ONI", "/I", READ_INPUT_BIT);

constexpr InstructionRow kAssign{
    "=", "", LK_COIL, 1, {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::NotTimerOrCounter)}, BIT_PIN};
constexpr InstructionRow kAssignImmediate{
    "=I", "I", LK_COIL, 1, {needs(1, CAP_WRITE_BIT), needsKind(1, KindRule::OnlyA)}, BIT_PIN};
constexpr InstructionRow kS{
    "S",
    "S",
    LK_COIL,
    2,
    {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::NotTimerOrCounter)},
    BIT_AND_COUNT_PINS};
constexpr InstructionRow kR{
    "R", "R", LK_COIL, 2, {needsKind(1, KindRule::WritableBitOrRecord), needs(2, CAP_READ_BYTE)}, BIT_AND_COUNT_PINS};
constexpr InstructionRow kSI{"SI",
                             "SI",
                             LK_COIL,
                             2,
                             {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)},
                             BIT_AND_COUNT_PINS};
constexpr InstructionRow kRI{"RI",
                             "RI",
                             LK_COIL,
                             2,
                             {needs(1, CAP_WRITE_BIT), needs(2, CAP_READ_BYTE), needsKind(1, KindRule::OnlyA)},
                             BIT_AND_COUNT_PINS};

constexpr InstructionRow kNOT = noOperands("NOT", "NOT", LK_CONTACT);
constexpr InstructionRow kEU = noOperands("EU", "P", LK_CONTACT);
constexpr InstructionRow kED = noOperands("ED", "N", LK_CONTACT);
constexpr InstructionRow kULD = noOperands("ULD", "", LK_NONE);
constexpr InstructionRow kOLD = noOperands("OLD", "", LK_NONE);
constexpr InstructionRow kLPS = noOperands("LPS", "", LK_NONE);
constexpr InstructionRow kLRD = noOperands("LRD", "", LK_NONE);
constexpr InstructionRow kLPP = noOperands("LPP", "", LK_NONE);

// An instruction whose first operand is a bit of a memory area. The operand
// checks guarantee that form; the cast is kept from construction so that an
// instruction built without its checks fails with a message, not a crash.
class BitOperandOp : public RowOperation {
public:
    BitOperandOp(const InstructionRow& row, Operands operands)
        : RowOperation(row, std::move(operands)), bit_(dynamic_cast<BitParameter*>(operand1_.get())) {}

protected:
    BitParameter& bitOperand(const char* keyWhenMissing) const {
        if (bit_ == nullptr) throwMessage(keyWhenMissing);
        return *bit_;
    }

private:
    BitParameter* bit_;
};

// ---- contacts ----

class LD_Op final : public RowOperation {
public:
    explicit LD_Op(Operands o) : RowOperation(kLD, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, operand1_->getBit()); }
};

class LDN_Op final : public RowOperation {
public:
    explicit LDN_Op(Operands o) : RowOperation(kLDN, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, !operand1_->getBit()); }
};

// AND and OR contacts read their operand only when it can change the result.
class U_Op final : public RowOperation {
public:
    explicit U_Op(Operands o) : RowOperation(kU, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (t) t = operand1_->getBit();
        pushBit(cpu, t);
    }
};

class UN_Op final : public RowOperation {
public:
    explicit UN_Op(Operands o) : RowOperation(kUN, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (t) t = !operand1_->getBit();
        pushBit(cpu, t);
    }
};

class O_Op final : public RowOperation {
public:
    explicit O_Op(Operands o) : RowOperation(kO, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (!t) t = operand1_->getBit();
        pushBit(cpu, t);
    }
};

class ON_Op final : public RowOperation {
public:
    explicit ON_Op(Operands o) : RowOperation(kON, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (!t) t = !operand1_->getBit();
        pushBit(cpu, t);
    }
};

// ---- immediate contacts: the physical input through the bus ----

class LDI_Op final : public BitOperandOp {
public:
    explicit LDI_Op(Operands o) : BitOperandOp(kLDI, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, bitOperand("Only E supported").readImmediate(cpu)); }
};

class LDNI_Op final : public BitOperandOp {
public:
    explicit LDNI_Op(Operands o) : BitOperandOp(kLDNI, std::move(o)) {}
    void execute(CPU& cpu) override { pushBit(cpu, !bitOperand("Only E supported").readImmediate(cpu)); }
};

class UI_Op final : public BitOperandOp {
public:
    explicit UI_Op(Operands o) : BitOperandOp(kUI, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (t) t = bitOperand("Only E supported").readImmediate(cpu);
        pushBit(cpu, t);
    }
};

class UNI_Op final : public BitOperandOp {
public:
    explicit UNI_Op(Operands o) : BitOperandOp(kUNI, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (t) t = !bitOperand("Only E supported").readImmediate(cpu);
        pushBit(cpu, t);
    }
};

class OI_Op final : public BitOperandOp {
public:
    explicit OI_Op(Operands o) : BitOperandOp(kOI, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (!t) t = bitOperand("Only E supported").readImmediate(cpu);
        pushBit(cpu, t);
    }
};

class ONI_Op final : public BitOperandOp {
public:
    explicit ONI_Op(Operands o) : BitOperandOp(kONI, std::move(o)) {}
    void execute(CPU& cpu) override {
        int t = popBit(cpu);
        if (!t) t = !bitOperand("Only E supported").readImmediate(cpu);
        pushBit(cpu, t);
    }
};

// ---- coils ----

// "=" writes the top in every execution, 0 included.
class gl_Op final : public RowOperation {
public:
    explicit gl_Op(Operands o) : RowOperation(kAssign, std::move(o)) {}
    void execute(CPU& cpu) override { operand1_->setBit(stackTop(cpu)); }
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
                timer.running = 0;
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
        if (cpu.scrState != 0) lastInput_ = t;
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
        if (cpu.scrState != 0) lastInput_ = t;
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
