#include "cpu/condition.h"

#include <array>

#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

struct RelationWord {
    std::string_view word;
    Relation relation;
    const char* canonical; // as the condition's text shows it
};

// Two-character relations first, so that "<=" is not read as "<".
constexpr std::array<RelationWord, 7> RELATIONS{{
    {"==", Relation::Equal, "=="},
    {"<>", Relation::NotEqual, "<>"},
    {"<=", Relation::LessEqual, "<="},
    {">=", Relation::GreaterEqual, ">="},
    {"<", Relation::Less, "<"},
    {">", Relation::Greater, ">"},
    {"=", Relation::Equal, "=="},
}};

constexpr std::string_view RISES = "steigt";
constexpr std::string_view FALLS = "f\xE4llt";
constexpr std::string_view FALLS_ASCII = "faellt";

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

[[noreturn]] void cannotRead(Width width) { throwMessage(widthFacts(width).readMissing); }

// A value at `width` as the compare contacts see it: bits and bytes unsigned,
// words and double words signed.
std::int64_t compared(std::uint32_t bits, Width width) {
    if (width == Width::Bit || width == Width::Byte) return cutToWidth(bits, width);
    return signedAtWidth(bits, width);
}

// The relation from the three answers that the compare contacts have; the
// other three are their negations, as the contacts' negated forms are.
template <class T> bool holds(Relation relation, T a, T b) {
    switch (relation) {
    case Relation::Equal: return a == b;
    case Relation::NotEqual: return !(a == b);
    case Relation::LessEqual: return a <= b;
    case Relation::GreaterEqual: return a >= b;
    case Relation::Less: return !(a >= b);
    case Relation::Greater: return !(a <= b);
    case Relation::Rises:
    case Relation::Falls: break;
    }
    return false;
}

} // namespace

Condition::Condition(CPU& cpu, std::string_view operandText, std::string_view test) {
    operand_ = parseOperand(cpu, trimmed(operandText));
    const auto width = operandWidth(*operand_);
    if (!width) throwMessage("Parametertype not possible");
    width_ = *width;
    const std::uint8_t readable = operand_->capabilities().direct;
    const std::string name = operandName(*operand_);

    test = trimmed(test);
    if (test == RISES || test == FALLS || test == FALLS_ASCII) {
        relation_ = test == RISES ? Relation::Rises : Relation::Falls;
        if ((readable & CAP_READ_BIT) == 0) throwMessage("Edge needs a bit");
        lastBit_ = operand_->getBit();
        text_ = name + " " + std::string(relation_ == Relation::Rises ? RISES : FALLS);
        return;
    }
    const RelationWord* found = nullptr;
    for (const RelationWord& relation : RELATIONS) {
        if (test.starts_with(relation.word)) {
            found = &relation;
            break;
        }
    }
    if (found == nullptr) throwMessage("Relation expected");
    relation_ = found->relation;
    const std::string_view valueText = trimmed(test.substr(found->word.size()));
    if (valueText.empty()) throwMessage("Constant expected");
    value_ = parseConstant(cpu, valueText);
    if (value_.isReal) {
        if ((readable & CAP_READ_DWORD) == 0) cannotRead(Width::Dword);
    } else {
        checkValueFits(value_, width_);
        if ((readable & readCapability(width_)) == 0) cannotRead(width_);
    }
    text_ = name + " " + found->canonical + " " + std::string(valueText);
    evaluate();
}

Condition::~Condition() = default;
Condition::Condition(Condition&&) noexcept = default;
Condition& Condition::operator=(Condition&&) noexcept = default;

bool Condition::evaluate() {
    if (isEdge()) {
        const int bit = operand_->getBit() != 0 ? 1 : 0;
        const bool changed = bit != lastBit_;
        lastBit_ = bit;
        return changed && (bit == 1) == (relation_ == Relation::Rises);
    }
    if (value_.isReal) return holds(relation_, operand_->getReal(), value_.real());
    return holds(relation_, compared(readAtWidth(*operand_, width_), width_), compared(value_.bits, width_));
}

} // namespace sps
