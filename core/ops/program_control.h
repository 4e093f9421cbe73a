#pragma once

// Jumps, subroutine calls and sequence segments. These instructions only set
// the engine's fields (jumpLabel, callState, scrState, scrBit); the engine
// carries out the label search, the early return and the segment gate.
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "messages/cpu_exception.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::program_control {

inline constexpr std::array<OperandCheck, 4> LABEL_NUMBER{needs(1, CAP_READ_BYTE),
                                                          needsKind(1, KindRule::OnlyConstant)};
inline constexpr std::array<OperandCheck, 4> SEGMENT_BIT{needs(1, CAP_READ_BIT), needsKind(1, KindRule::OnlyS)};
inline constexpr std::array<PinSource, 3> LABEL_PIN{pinShows(1, 1, 'B')};
inline constexpr std::array<PinSource, 3> SEGMENT_PIN{pinShows(1, 1, 'I')};

// ---- jumps ----

// A taken jump asks the engine to search the label; a second jump while it
// searches does not change the label.
class JMP_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "JMP",
        .label = "JMP",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = LABEL_NUMBER,
        .pins = LABEL_PIN,
        .summary = "Jumps to the label N of the block while the result is 1",
    };

    explicit JMP_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu) && !cpu.jumpLabel) cpu.jumpLabel = static_cast<std::uint8_t>(operand1_->getByte());
    }
};

class LBL_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "LBL",
        .label = "LBL",
        .ladderKind = LK_LABEL,
        .operandCount = 1,
        .checks = LABEL_NUMBER,
        .pins = LABEL_PIN,
        .standsAlone = true,
        .summary = "Marks the label N of a jump",
    };

    explicit LBL_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (cpu.jumpLabel == operand1_->getByte()) cpu.jumpLabel.reset();
    }
};

// ---- subroutines ----

// Runs the subroutine block of that exact name with a fresh call state and
// gives the caller back its logic stack and call state afterwards. The
// nesting depth is bounded so that a recursive program ends the scan with a
// message instead of exhausting the native stack.
class CALL_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "CALL",
        .label = "CALL",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = {needsKind(1, KindRule::OnlyText)},
        .pins = {pinShows(1, 1, 'S')},
        .summary = "Calls the subroutine while the result is 1",
    };

    explicit CALL_Op(Operands o)
        : RowOperation(row, std::move(o)), name_(dynamic_cast<StringParameter*>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        if (name_ == nullptr) throwMessage("SBR expected");
        const Block* subroutine = findSubroutine(cpu, name_->text());
        if (subroutine == nullptr) throwMessage("SBR not found");
        if (cpu.callDepth >= MAX_CALL_DEPTH) throwMessage("Subroutines nested too deeply");
        const std::uint32_t savedStack = cpu.logicStack;
        const CallState savedCallState = cpu.callState;
        cpu.callState = CallState::Subroutine;
        ++cpu.callDepth;
        executeBlock(cpu, *subroutine);
        --cpu.callDepth;
        cpu.callState = savedCallState;
        cpu.logicStack = savedStack;
    }

private:
    StringParameter* name_;
};

// Ends the running block after itself (the caller continues).
class CRET_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "CRET",
                                        .label = "RET",
                                        .ladderKind = LK_COIL,
                                        .summary = "Ends the block early while the result is 1"};

    explicit CRET_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) cpu.callState = CallState::Returned;
    }
};

// NOP checks its operand but shows no pin.
class NOP_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "NOP",
        .label = "NOP",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = {needs(1, CAP_READ_BYTE)},
        .summary = "Does nothing",
    };

    explicit NOP_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU&) override {}
};

// Retriggers the watchdog of a real controller; the simulated CPU has none,
// so it changes nothing.
class WDR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "WDR",
                                        .label = "WDR",
                                        .ladderKind = LK_COIL,
                                        .summary =
                                            "Retriggers the watchdog; the simulated CPU has none, so nothing changes"};

    explicit WDR_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU&) override {}
};

// ---- program end and stop ----

// Ends the organization block for this scan while the top is 1; only in an
// organization block (checked when the program is read).
class END_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "END",
                                        .label = "END",
                                        .ladderKind = LK_COIL,
                                        .programRule = ProgramRule::InOrganizationBlock,
                                        .summary = "Ends the organization block for this scan while the result is 1"};

    explicit END_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) cpu.callState = CallState::Returned;
    }
};

// Stops the run after this scan while the top is 1, as a breakpoint does.
class STOP_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "STOP",
                                        .label = "STOP",
                                        .ladderKind = LK_COIL,
                                        .summary = "Stops the run after this scan while the result is 1"};

    explicit STOP_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) cpu.stopRequested = true;
    }
};

// ---- program loops ----

// FOR INDX, INIT, FINAL: with the top 1, INDX := INIT, and the instructions
// up to the matching NEXT run while INDX <= FINAL (signed words), INDX + 1
// after each pass; with the top 0, or INIT above FINAL, they are skipped.
// The matching NEXT is found when the program is read (ProgramRules).
class FOR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "FOR",
        .label = "FOR",
        .ladderKind = LK_BOX2,
        .operandCount = 3,
        .checks = {needs(1, CAP_WRITE_WORD), needs(1, CAP_READ_WORD), needs(2, CAP_READ_WORD), needs(3, CAP_READ_WORD)},
        .pins = {pinShows(3, 2, 'W'), pinShows(4, 3, 'W'), pinShows(5, 1, 'W')},
        .programRule = ProgramRule::LoopStart,
        .summary = "Runs the networks up to NEXT while INDX <= FINAL, INDX counting up from INIT",
    };

    explicit FOR_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (stackTop(cpu)) {
            index_.set(init_.get());
            if (continues()) {
                stackInLoop_ = cpu.logicStack;
                return;
            }
        }
        cpu.loopTarget = afterLoop_;
        cpu.jumpLabel = LOOP_JUMP;
    }

    // The loop: its body begins at `body`, and it goes on at `after` when it ends.
    void link(LoopTarget body, LoopTarget after) {
        body_ = body;
        afterLoop_ = after;
    }
    // NEXT: INDX + 1, wrapping, and on at the body while INDX <= FINAL.
    void next(CPU& cpu) {
        index_.set(static_cast<std::uint16_t>(index_.get() + 1u));
        if (!continues()) return;
        cpu.logicStack = stackInLoop_;
        cpu.loopTarget = body_;
        cpu.jumpLabel = LOOP_JUMP;
    }

private:
    bool continues() const {
        return signedAtWidth(index_.get(), Width::Word) <= signedAtWidth(final_.get(), Width::Word);
    }

    WidthOperand<Width::Word> index_{operand1_.get()};
    WidthOperand<Width::Word> init_{operand2_.get()};
    WidthOperand<Width::Word> final_{operand3_.get()};
    LoopTarget body_;
    LoopTarget afterLoop_;
    std::uint32_t stackInLoop_ = 1; // the logic stack as the body begins
};

// The end of the loop of its FOR; alone in its network.
class NEXT_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "NEXT",
                                        .label = "NEXT",
                                        .ladderKind = LK_COIL,
                                        .programRule = ProgramRule::LoopEnd,
                                        .summary = "Ends the loop of FOR: INDX + 1, and again while INDX <= FINAL"};

    explicit NEXT_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (loop_ != nullptr) loop_->next(cpu);
    }
    void link(FOR_Op& loop) { loop_ = &loop; }

private:
    FOR_Op* loop_ = nullptr;
};

// ---- sequence segments ----

// Opens a segment whatever the stack holds: its S bit, read without the
// gate, decides whether the instructions up to SCRE see their stack or 0.
class LSCR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "LSCR",
        .label = "SCR",
        .ladderKind = LK_LABEL,
        .operandCount = 1,
        .checks = SEGMENT_BIT,
        .pins = SEGMENT_PIN,
        .summary = "Opens the sequence segment of the S bit",
    };

    explicit LSCR_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (cpu.scrState != ScrState::Outside) throwMessage("nested SCR-Block");
        if (cpu.callState == CallState::Subroutine) throwMessage("SCR used in Subroutine");
        cpu.scrState = operand1_->getBit() ? ScrState::Active : ScrState::Inactive;
        cpu.scrBit = operand1_.get();
    }
};

// Moves activity to another segment: clears the open segment's S bit and
// sets the target's. The open segment runs on until its SCRE.
class SCRT_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "SCRT",
        .label = "SCRT",
        .ladderKind = LK_COIL,
        .operandCount = 1,
        .checks = SEGMENT_BIT,
        .pins = SEGMENT_PIN,
        .summary = "Moves on to the sequence segment of the S bit",
    };

    explicit SCRT_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (cpu.scrState == ScrState::Outside || cpu.scrBit == nullptr) throwMessage("SCRT not in SCR-Block");
        if (!stackTop(cpu)) return;
        cpu.scrBit->setBit(0);
        operand1_->setBit(1);
    }
};

class SCRE_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{.mnemonic = "SCRE",
                                        .label = "SCRE",
                                        .ladderKind = LK_COIL,
                                        .standsAlone = true,
                                        .summary = "Closes the sequence segment"};

    explicit SCRE_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (cpu.scrState == ScrState::Outside) throwMessage("SCRE not in SCR-Block");
        cpu.scrState = ScrState::Outside;
    }
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return classEntries<JMP_Op, LBL_Op, CALL_Op, CRET_Op, NOP_Op, LSCR_Op, SCRT_Op, SCRE_Op, WDR_Op, END_Op, STOP_Op,
                        FOR_Op, NEXT_Op>();
}

} // namespace sps::program_control
