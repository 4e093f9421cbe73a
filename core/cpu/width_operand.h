#pragma once

// Byte, word and double-word access through an operand, for the
// instructions that exist once per width (increment, word logic, shifts,
// block moves, compare contacts).

#include <cstdint>

#include "cpu/memory_access.h"
#include "cpu/parameter.h"

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
        if (read_ != nullptr) return static_cast<Value>(readBigEndian(read_, widthBytes(W)));
        return isConstant_ ? constant_ : WidthTraits<W>::get(*operand_);
    }
    void set(Value value) const {
        if (write_ == nullptr) return WidthTraits<W>::set(*operand_, value);
        writeBigEndian(write_, widthBytes(W), value);
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

} // namespace sps
