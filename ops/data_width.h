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
