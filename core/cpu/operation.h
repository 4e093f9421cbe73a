#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "cpu/mnemonic_set.h"
#include "cpu/width.h"

namespace sps {

class CPU;
class Parameter;
class Writer;

// The ladder element an instruction is drawn as.
enum LadderKind : int {
    LK_NONE = 0,
    LK_COIL = 1,
    LK_CONTACT = 2,
    LK_TIMER = 3,
    LK_BOX1 = 4,
    LK_BOX2 = 5,
    LK_LABEL = 6,
    LK_UPDOWN_COUNTER = 7,
    LK_UP_COUNTER = 8,
};

// How a contact joins what stands before it in the ladder: a load contact
// starts a new branch, an AND contact follows in series, an OR contact forms
// a parallel branch. NOT, EU and ED act on the result so far and follow in
// series like an AND contact. None for instructions that are no contact.
enum class ContactRole : std::uint8_t { None, Load, And, Or };

// The logic-stack operations, which have no ladder element of their own.
enum class StackOperation : std::uint8_t {
    None,
    AndLoad, // ULD: the two top levels in series
    OrLoad,  // OLD: the two top levels in parallel
    Push,    // LPS: a copy of the top level
    Read,    // LRD: the top level becomes a copy of the one below
    Pop,     // LPP: the top level is dropped
};

// What an instruction asks of the program around it, checked when a program
// is loaded: a timer or counter number used in only one way, a block kind,
// a loop with its end.
enum class ProgramRule : std::uint8_t {
    None,
    OnDelayTimer,        // TON: its timer number is not used by TOF
    OffDelayTimer,       // TOF: its timer number is not used by TON
    UpCounter,           // ZV, ZVR: their counter number is not used by ZR
    DownCounter,         // ZR: its counter number is not used by ZV or ZVR
    InOrganizationBlock, // END: only in an organization block
    LoopStart,           // FOR: a matching NEXT follows in the block
    LoopEnd,             // NEXT: alone in its network, after a matching FOR
};

// What an in-place instruction tells the ladder layout: the pin (3, or 0 for
// none) at which a preceding move of the same size may be folded in, the
// operand that move must write, and the data size.
struct MergeInfo {
    int pin = 0;
    Parameter* operand = nullptr;
    Width size = Width::Byte;
};

// What an instruction did with the logic stack when it last ran while the
// engine recorded power flow: the scan it ran in (the low 30 bits of
// CPU::scanNumber) and the top of the stack before and after it, as the
// segment gate shows it.
inline constexpr std::uint32_t POWER_SCAN_MASK = 0x3FFFFFFF;

struct PowerRecord {
    std::uint32_t scan = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
};

// The operands of one source line, as written; any of them may be absent.
struct Operands {
    std::unique_ptr<Parameter> operand1;
    std::unique_ptr<Parameter> operand2;
    std::unique_ptr<Parameter> operand3;
};

// One instruction of a loaded program. Each mnemonic is one class.
class Operation {
public:
    explicit Operation(Operands operands);
    virtual ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    virtual void execute(CPU& cpu) = 0;
    // True for instructions that must be alone in their network (LBL, SCRE);
    // they are the only ones run while the engine searches a jump label.
    virtual bool standsAlone() const = 0;
    virtual const char* mnemonic() const = 0;
    virtual const char* boxLabel() const = 0;
    // Forgets edge and count-input memories (called by every CPU reset).
    virtual void resetState() {}
    // Those memories, which it keeps from one execution to the next, as the
    // scan history saves and restores them; none for most instructions.
    virtual std::span<int> runState() { return {}; }
    // Throws CPUException on the first operand that does not fit.
    virtual void checkOperands() const = 0;
    virtual LadderKind ladderKind() const = 0;
    virtual ContactRole contactRole() const { return ContactRole::None; }
    virtual StackOperation stackOperation() const { return StackOperation::None; }
    // The data size a move instruction copies; none for every other instruction.
    virtual std::optional<Width> moveSize() const { return std::nullopt; }
    // The operand name or current value at a ladder pin; when pin equals
    // substitutePin, `substitute` stands in for the instruction's own operand.
    // Neither throws: a value that cannot be read is written as "?".
    virtual void pinName(Writer& writer, int pin, int substitutePin, Parameter* substitute) const;
    virtual void pinValue(Writer& writer, int pin, int substitutePin, Parameter* substitute) const;
    virtual MergeInfo boxMergeInfo() const { return {}; }
    virtual ProgramRule programRule() const { return ProgramRule::None; }
    // From now on mnemonic() is the instruction's name in `set`.
    virtual void showMnemonicIn(MnemonicSet /*set*/) {}

    // The power flow of its last run, kept by the engine while it records:
    // one word, the scan's low 30 bits above the two stack bits.
    PowerRecord power() const {
        return {power_ >> 2, static_cast<std::uint8_t>(power_ >> 1 & 1u), static_cast<std::uint8_t>(power_ & 1u)};
    }
    void notePower(std::uint32_t scan, int before, int after) {
        power_ = scan << 2 | static_cast<std::uint32_t>(before) << 1 | static_cast<std::uint32_t>(after);
    }

    Parameter* operand1() const { return operand1_.get(); }
    Parameter* operand2() const { return operand2_.get(); }
    Parameter* operand3() const { return operand3_.get(); }

protected:
    std::unique_ptr<Parameter> operand1_;
    std::unique_ptr<Parameter> operand2_;
    std::unique_ptr<Parameter> operand3_;

private:
    std::uint32_t power_ = 0;
};

// Writes one operand's current value as decimal text by its kind, its
// capabilities and the format letter (I, B, W, D, R). Constants and texts
// show nothing, timers and counters always "bit:value", and any other letter,
// or one the operand cannot be read with, shows every readable width
// separated by colons. A read that fails throws its CPUException before
// anything is written.
void formatValue(Writer& writer, Parameter* operand, char letter);

// formatValue for the status views: a value that cannot be read (an address
// beyond its area, a pointer that points nowhere) shows as "?", so that a typo
// in a program never stops a view from drawing.
void formatShownValue(Writer& writer, Parameter* operand, char letter);

} // namespace sps
