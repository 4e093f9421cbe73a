#pragma once

// The 144 compare contacts: prefix (LD, LDN, U, UN, O, ON) x type (B, W, D,
// R) x relation (=, >=, <=, <>, <, >), all from one class template and one
// list of rows that the loops below make.
#include <array>
#include <cstdint>

#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "ops/contact.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::compare_contacts {

enum class Prefix : std::uint8_t { LD, LDN, U, UN, O, ON };
enum class Type : std::uint8_t { B, W, D, R };
enum class Relation : std::uint8_t { gl, ggl, kgl, ugl, kl, gr }; // =, >=, <=, <>, <, >

struct CompareRow {
    Prefix prefix;
    Type type;
    Relation relation;
};

constexpr bool negated(Prefix p) { return p == Prefix::LDN || p == Prefix::UN || p == Prefix::ON; }

constexpr ContactRole role(Prefix p) {
    if (p == Prefix::LD || p == Prefix::LDN) return ContactRole::Load;
    return p == Prefix::U || p == Prefix::UN ? ContactRole::And : ContactRole::Or;
}

constexpr const char* prefixText(Prefix p) {
    constexpr const char* texts[] = {"LD", "LDN", "U", "UN", "O", "ON"};
    return texts[static_cast<int>(p)];
}

// The international set writes A and AN for U and UN.
constexpr const char* internationalPrefixText(Prefix p) {
    constexpr const char* texts[] = {"LD", "LDN", "A", "AN", "O", "ON"};
    return texts[static_cast<int>(p)];
}

constexpr const char* relationText(Relation r) {
    constexpr const char* texts[] = {"=", ">=", "<=", "<>", "<", ">"};
    return texts[static_cast<int>(r)];
}

constexpr char typeLetter(Type t) { return "BWDR"[static_cast<int>(t)]; }
// Words compare as signed integers and are labelled I.
constexpr char labelLetter(Type t) { return "BIDR"[static_cast<int>(t)]; }

using Text = std::array<char, 8>;

constexpr void append(Text& text, std::size_t& at, const char* piece) {
    while (*piece != '\0') text[at++] = *piece++;
}

constexpr Text mnemonicText(const char* prefix, Type t, Relation r) {
    Text text{};
    std::size_t at = 0;
    append(text, at, prefix);
    text[at++] = typeLetter(t);
    append(text, at, relationText(r));
    return text;
}

constexpr Text labelText(Prefix p, Type t, Relation r) {
    Text text{};
    std::size_t at = 0;
    // The negated equality is labelled "/===".
    if (negated(p)) append(text, at, "/");
    append(text, at, r != Relation::gl ? relationText(r) : negated(p) ? "===" : "==");
    text[at++] = labelLetter(t);
    return text;
}

// The reference line: how the contact joins and what it compares, as what.
using Summary = std::array<char, 64>;

constexpr Summary summaryText(Prefix p, Type t, Relation r) {
    Summary text{};
    std::size_t at = 0;
    const auto add = [&](const char* piece) {
        while (*piece != '\0') text[at++] = *piece++;
    };
    const ContactRole joined = role(p);
    add(joined == ContactRole::Load ? "Starts a branch with " : joined == ContactRole::And ? "ANDs " : "ORs ");
    add(negated(p) ? "not (IN1 " : "IN1 ");
    add(relationText(r));
    add(negated(p) ? " IN2)" : " IN2");
    constexpr const char* as[] = {", unsigned bytes", ", signed words", ", signed double words", ", reals"};
    add(as[static_cast<int>(t)]);
    return text;
}

// Reals are read as double words.
constexpr Width width(Type t) { return t == Type::B ? Width::Byte : t == Type::W ? Width::Word : Width::Dword; }

// Every relation is false when a real is not a number, <> too.
template <class Number> bool relationHolds(Relation r, Number a, Number b) {
    switch (r) {
    case Relation::gl: return a == b;
    case Relation::ggl: return a >= b;
    case Relation::kgl: return a <= b;
    case Relation::ugl: return a < b || a > b;
    case Relation::kl: return a < b;
    case Relation::gr: return a > b;
    }
    return false;
}

template <CompareRow C> class CompareOp final : public RowOperation {
    static constexpr Prefix P = C.prefix;
    static constexpr Type T = C.type;
    static constexpr Relation R = C.relation;

public:
    static constexpr Text mnemonicName = mnemonicText(prefixText(P), T, R);
    static constexpr Text internationalName = mnemonicText(internationalPrefixText(P), T, R);
    static constexpr Text labelName = labelText(P, T, R);
    static constexpr char letter = typeLetter(T);
    static constexpr Summary summaryLine = summaryText(P, T, R);
    static constexpr InstructionRow row{
        .mnemonic = mnemonicName.data(),
        .international = internationalName == mnemonicName ? nullptr : internationalName.data(),
        .label = labelName.data(),
        .ladderKind = LK_CONTACT,
        .contactRole = role(P),
        .operandCount = 2,
        .checks = {needs(1, readCapability(width(T))), needs(2, readCapability(width(T)))},
        .pins = {pinShows(1, 1, letter), pinShows(2, 2, letter)},
        .summary = summaryLine.data(),
    };

    explicit CompareOp(Operands o) : RowOperation(row, std::move(o)) {}

    // Two operands that cannot fail to read (memory inside its area,
    // constants) are compared in every case, without a branch on the result
    // so far; others only where the result can change.
    void execute(CPU& cpu) override {
        if (T != Type::R && left_.readCannotFail() && right_.readCannotFail())
            combineContact<row.contactRole>(cpu, compare());
        else
            applyContact<row.contactRole>(cpu, [this] { return compare(); });
    }

private:
    int compare() const {
        bool holds = false;
        if constexpr (T == Type::R) {
            holds = relationHolds(R, operand1_->getReal(), operand2_->getReal());
        } else if constexpr (T == Type::B) {
            holds = relationHolds<int>(R, left_.get(), right_.get());
        } else if constexpr (T == Type::W) {
            holds =
                relationHolds<int>(R, static_cast<std::int16_t>(left_.get()), static_cast<std::int16_t>(right_.get()));
        } else {
            holds = relationHolds(R, static_cast<std::int32_t>(left_.get()), static_cast<std::int32_t>(right_.get()));
        }
        return (negated(P) ? !holds : holds) ? 1 : 0;
    }

    // Reals are read through their operands, constants converted as written.
    WidthOperand<width(T)> left_{operand1_.get()};
    WidthOperand<width(T)> right_{operand2_.get()};
};

// Every prefix with every type with every relation, in that order.
constexpr auto compareRows() {
    std::array<CompareRow, 144> rows{};
    std::size_t at = 0;
    for (Prefix p : {Prefix::LD, Prefix::LDN, Prefix::U, Prefix::UN, Prefix::O, Prefix::ON})
        for (Type t : {Type::B, Type::W, Type::D, Type::R})
            for (Relation r : {Relation::gl, Relation::ggl, Relation::kgl, Relation::ugl, Relation::kl, Relation::gr})
                rows[at++] = {p, t, r};
    return rows;
}
inline constexpr auto COMPARE_ROWS = compareRows();

constexpr auto instructions() { return familyEntries<CompareOp, COMPARE_ROWS>(); }

} // namespace sps::compare_contacts
