#pragma once

// Byte, word and double-word access through an operand, for the families
// that exist once per width (increment, word logic, shifts, block moves).

#include <cstdint>

#include "cpu/parameter.h"
#include "ops/instruction_row.h"

namespace sps {

template <Width W> struct WidthTraits;

template <> struct WidthTraits<Width::Byte> {
    using Value = std::uint8_t;
    static Value get(Parameter& p) { return static_cast<Value>(p.getByte()); }
    static void set(Parameter& p, Value v) { p.setByte(v); }
    static Value getAt(Parameter& p, int index) { return static_cast<Value>(p.getByteAt(index)); }
    static void setAt(Parameter& p, int index, Value v) { p.setByteAt(index, v); }
};

template <> struct WidthTraits<Width::Word> {
    using Value = std::uint16_t;
    static Value get(Parameter& p) { return static_cast<Value>(p.getWord()); }
    static void set(Parameter& p, Value v) { p.setWord(v); }
    static Value getAt(Parameter& p, int index) { return static_cast<Value>(p.getWordAt(index)); }
    static void setAt(Parameter& p, int index, Value v) { p.setWordAt(index, v); }
};

template <> struct WidthTraits<Width::Dword> {
    using Value = std::uint32_t;
    static Value get(Parameter& p) { return p.getLong(); }
    static void set(Parameter& p, Value v) { p.setLong(v); }
    static Value getAt(Parameter& p, int index) { return p.getLongAt(index); }
    static void setAt(Parameter& p, int index, Value v) { p.setLongAt(index, v); }
};

// One operand as a data instruction reads and writes it at width W in every
// scan, resolved once when the instruction is made: a memory operand of that
// width whose bytes lie inside its area straight at its bytes (big-endian),
// a constant as its value; any other operand, and any other address, through
// the operand with its checks and messages.
template <Width W> class WidthOperand {
public:
    using Value = typename WidthTraits<W>::Value;

    explicit WidthOperand(Parameter* operand) : operand_(operand) {
        if (const auto* area = dynamic_cast<const AreaParameter<W>*>(operand)) {
            read_ = area->directRead();
            write_ = area->directWrite();
        } else if (operand != nullptr && operand->kind() == PK_CONSTANT &&
                   (operand->capabilities().direct & readCapability(W)) != 0) {
            constant_ = WidthTraits<W>::get(*operand);
            isConstant_ = true;
        }
    }

    Value get() const {
        if (read_ != nullptr) {
            std::uint32_t value = 0;
            for (int i = 0; i < widthBytes(W); ++i) value = value << 8 | read_[i];
            return static_cast<Value>(value);
        }
        return isConstant_ ? constant_ : WidthTraits<W>::get(*operand_);
    }
    void set(Value value) const {
        if (write_ == nullptr) return WidthTraits<W>::set(*operand_, value);
        std::uint32_t bits = value;
        for (int i = widthBytes(W) - 1; i >= 0; --i, bits >>= 8) write_[i] = static_cast<std::uint8_t>(bits);
    }
    // Whether get() can fail (an address outside its area, a pointer, a
    // device); it cannot for memory inside the area and for constants.
    bool readCannotFail() const { return read_ != nullptr || isConstant_; }

private:
    Parameter* operand_;
    const std::uint8_t* read_ = nullptr;
    std::uint8_t* write_ = nullptr;
    Value constant_ = 0;
    bool isConstant_ = false;
};

constexpr char widthLetter(Width w) { return w == Width::Byte ? 'B' : w == Width::Word ? 'W' : 'D'; }

// A two-input box that combines operand 1 into operand 2 in place (b := a op b
// or b := b op a): operand 2 written, operand 1 read, operand 2 read, in that
// order; a preceding move into operand 2 may be folded in at pin 3.
constexpr InstructionRow inPlaceBox(const char* mnemonic, const char* label, Width w, char letter) {
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX2,
            .operandCount = 2,
            .checks = {needs(2, writeCapability(w)), needs(1, readCapability(w)), needs(2, readCapability(w))},
            .pins = {pinShows(3, 2, letter), pinShows(4, 1, letter), pinShows(5, 2, letter)},
            .merge = {.pin = 3, .slot = 2, .size = w}};
}

} // namespace sps
