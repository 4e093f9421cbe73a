#pragma once

// Byte, word and double-word access through an operand, for the families
// that exist once per width (increment, word logic, shifts, block moves).

#include <cstdint>

#include "cpu/parameter.h"
#include "ops/instruction_row.h"

namespace sps {

enum class Width : std::uint8_t { Byte, Word, Dword };

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

constexpr std::uint8_t readCapability(Width w) {
    return w == Width::Byte ? CAP_READ_BYTE : w == Width::Word ? CAP_READ_WORD : CAP_READ_DWORD;
}

constexpr std::uint8_t writeCapability(Width w) {
    return w == Width::Byte ? CAP_WRITE_BYTE : w == Width::Word ? CAP_WRITE_WORD : CAP_WRITE_DWORD;
}

constexpr char widthLetter(Width w) { return w == Width::Byte ? 'B' : w == Width::Word ? 'W' : 'D'; }

constexpr int mergeSize(Width w) { return static_cast<int>(w); }

// A two-input box that combines operand 1 into operand 2 in place (b := a op b
// or b := b op a): operand 2 written, operand 1 read, operand 2 read, in that
// order; a preceding move into operand 2 may be folded in at pin 3.
constexpr InstructionRow inPlaceBox(const char* mnemonic, const char* label, Width w, char letter) {
    return {mnemonic,
            label,
            LK_BOX2,
            2,
            {needs(2, writeCapability(w)), needs(1, readCapability(w)), needs(2, readCapability(w))},
            {{{3, 2, letter}, {4, 1, letter}, {5, 2, letter}}},
            {3, 2, mergeSize(w)}};
}

} // namespace sps
