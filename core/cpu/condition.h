#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cpu/operand_value.h"

namespace sps {

class CPU;
class Parameter;

// What a condition tests: a comparison of the operand with a value, or an edge
// of a bit.
enum class Relation : std::uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Rises, Falls };

// A condition on the CPU's state, such as "MW10 > 100" or "E0.0 steigt", for
// breakpoints and for waiting in scripts.
//
// A comparison reads the operand at its width and compares as the compare
// contacts do: bits and bytes unsigned, words and double words signed (so
// 16#FFFF is -1 for a word), and a real value against the double word read as
// a real, where a value that is not a number makes ==, <= and >= false and
// their opposites <>, > and < true. An edge reads the operand as a bit (a
// timer's or counter's bit too) and holds when the bit changed that way since
// the condition was last evaluated.
class Condition {
public:
    // `operandText` in the operand syntax; `test` is a relation (==, <>, <, >,
    // <=, >=, or = for ==) with a constant value, blanks around them allowed,
    // or an edge: "steigt", "fällt" (ISO-8859-1) or "faellt". Reads the
    // operand once. Throws CPUException: the operand's syntax error,
    // "Parametertype not possible" for a name, "Relation expected",
    // "Constant expected", "Edge needs a bit", the checks of checkValueFits,
    // "Can't read a ... on parameter" for an operand that cannot be read at its
    // width (or as a double word for a real), and the operand's read error.
    Condition(CPU& cpu, std::string_view operandText, std::string_view test);
    ~Condition();
    Condition(Condition&&) noexcept;
    Condition& operator=(Condition&&) noexcept;

    // "MW10 > 100", "E0.0 steigt", "E0.0 fällt": the operand's name, the
    // relation (== for =) and the value as written (ISO-8859-1).
    const std::string& text() const { return text_; }
    Relation relation() const { return relation_; }
    bool isEdge() const { return relation_ == Relation::Rises || relation_ == Relation::Falls; }

    // Whether the condition holds now; an edge remembers the bit for the next
    // call. Throws the operand's CPUException when it cannot be read.
    bool evaluate();

private:
    std::unique_ptr<Parameter> operand_;
    Width width_ = Width::Bit;
    Relation relation_ = Relation::Equal;
    ConstantValue value_;
    int lastBit_ = 0;
    std::string text_;
};

} // namespace sps
