// The 72 compare contacts: prefix (LD, LDN, U, UN, O, ON) x type (B, W, D, R)
// x relation (=, >=, <=), all from one class template.
#include <array>
#include <cstdint>

#include "cpu/parameter.h"
#include "ops/contact.h"
#include "ops/data_width.h"
#include "ops/instruction_row.h"

namespace sps {

namespace {

enum class Prefix { LD, LDN, U, UN, O, ON };
enum class Type { B, W, D, R };
enum class Relation { gl, ggl, kgl }; // =, >=, <=

constexpr bool negated(Prefix p) { return p == Prefix::LDN || p == Prefix::UN || p == Prefix::ON; }

constexpr ContactRole role(Prefix p) {
    if (p == Prefix::LD || p == Prefix::LDN) return ContactRole::Load;
    return p == Prefix::U || p == Prefix::UN ? ContactRole::And : ContactRole::Or;
}

constexpr const char* prefixText(Prefix p) {
    constexpr const char* texts[] = {"LD", "LDN", "U", "UN", "O", "ON"};
    return texts[static_cast<int>(p)];
}

constexpr const char* relationText(Relation r) {
    constexpr const char* texts[] = {"=", ">=", "<="};
    return texts[static_cast<int>(r)];
}

constexpr char typeLetter(Type t) { return "BWDR"[static_cast<int>(t)]; }
// Words compare as signed integers and are labelled I.
constexpr char labelLetter(Type t) { return "BIDR"[static_cast<int>(t)]; }

using Text = std::array<char, 8>;

constexpr void append(Text& text, std::size_t& at, const char* piece) {
    while (*piece != '\0') text[at++] = *piece++;
}

constexpr Text mnemonicText(Prefix p, Type t, Relation r) {
    Text text{};
    std::size_t at = 0;
    append(text, at, prefixText(p));
    text[at++] = typeLetter(t);
    append(text, at, relationText(r));
    return text;
}

constexpr Text labelText(Prefix p, Type t, Relation r) {
    Text text{};
    std::size_t at = 0;
    if (negated(p))
        append(text, at, r == Relation::gl ? "/===" : r == Relation::ggl ? "/>=" : "/<=");
    else
        append(text, at, r == Relation::gl ? "==" : relationText(r));
    text[at++] = labelLetter(t);
    return text;
}

// Reals are read as double words.
constexpr Width width(Type t) { return t == Type::B ? Width::Byte : t == Type::W ? Width::Word : Width::Dword; }

template <class Number> bool relationHolds(Relation r, Number a, Number b) {
    return r == Relation::gl ? a == b : r == Relation::ggl ? a >= b : a <= b;
}

template <Prefix P, Type T, Relation R> class CompareOp final : public RowOperation {
public:
    static constexpr Text mnemonicName = mnemonicText(P, T, R);
    static constexpr Text labelName = labelText(P, T, R);
    static constexpr char letter = typeLetter(T);
    static constexpr InstructionRow row{
        .mnemonic = mnemonicName.data(),
        .label = labelName.data(),
        .ladderKind = LK_CONTACT,
        .contactRole = role(P),
        .operandCount = 2,
        .checks = {needs(1, readCapability(width(T))), needs(2, readCapability(width(T)))},
        .pins = {pinShows(1, 1, letter), pinShows(2, 2, letter)},
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

#define SPS_COMPARE_RELATIONS(P, T)                                                                                    \
    using P##T##gl_Op = CompareOp<Prefix::P, Type::T, Relation::gl>;                                                   \
    using P##T##ggl_Op = CompareOp<Prefix::P, Type::T, Relation::ggl>;                                                 \
    using P##T##kgl_Op = CompareOp<Prefix::P, Type::T, Relation::kgl>;
#define SPS_COMPARE_TYPES(P)                                                                                           \
    SPS_COMPARE_RELATIONS(P, B)                                                                                        \
    SPS_COMPARE_RELATIONS(P, W)                                                                                        \
    SPS_COMPARE_RELATIONS(P, D)                                                                                        \
    SPS_COMPARE_RELATIONS(P, R)
SPS_COMPARE_TYPES(LD)
SPS_COMPARE_TYPES(LDN)
SPS_COMPARE_TYPES(U)
SPS_COMPARE_TYPES(UN)
SPS_COMPARE_TYPES(O)
SPS_COMPARE_TYPES(ON)
#undef SPS_COMPARE_TYPES
#undef SPS_COMPARE_RELATIONS

#define SPS_COMPARE_ROW(Class) {&Class::row, createAs<Class>},
#define SPS_COMPARE_ROWS(P, T) SPS_COMPARE_ROW(P##T##gl_Op) SPS_COMPARE_ROW(P##T##ggl_Op) SPS_COMPARE_ROW(P##T##kgl_Op)
#define SPS_COMPARE_PREFIX_ROWS(P)                                                                                     \
    SPS_COMPARE_ROWS(P, B) SPS_COMPARE_ROWS(P, W) SPS_COMPARE_ROWS(P, D) SPS_COMPARE_ROWS(P, R)
constexpr TableEntry kRows[] = {SPS_COMPARE_PREFIX_ROWS(LD) SPS_COMPARE_PREFIX_ROWS(LDN) SPS_COMPARE_PREFIX_ROWS(U)
                                    SPS_COMPARE_PREFIX_ROWS(UN) SPS_COMPARE_PREFIX_ROWS(O) SPS_COMPARE_PREFIX_ROWS(ON)};
#undef SPS_COMPARE_PREFIX_ROWS
#undef SPS_COMPARE_ROWS
#undef SPS_COMPARE_ROW
static_assert(std::size(kRows) == 72);

} // namespace

std::span<const TableEntry> compareInstructions() { return kRows; }

} // namespace sps
