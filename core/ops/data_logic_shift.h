#pragma once

// Word logic (AND, OR, XOR) and the shifts and rotations, each once per
// width. Like every data box they act only while the top of the logic stack
// is 1 and read nothing otherwise.
#include <bit>
#include <cstdint>
#include <limits>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::word_logic {

// Operand 1 shifted in place by the byte count of operand 2: operand 1
// write, count read, operand 1 read.
constexpr InstructionRow shift(const char* mnemonic, const char* label, Width w) {
    const char letter = widthLetter(w);
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX2,
            .operandCount = 2,
            .checks = {needs(1, writeCapability(w)), needs(2, CAP_READ_BYTE), needs(1, readCapability(w))},
            .pins = {pinShows(3, 1, letter), pinShows(4, 2, 'B'), pinShows(5, 1, letter)},
            .merge = {.pin = 3, .slot = 2, .size = w}};
}

// ---- word logic ----

enum class BitOperator : std::uint8_t { And, Or, Xor };

struct WordLogicRow {
    Name mnemonic;
    Name international;
    Name label;
    Width width;
    BitOperator combine;
};

inline constexpr WordLogicRow WORD_LOGIC[] = {
    {"UNDB", "ANDB", "WAND_B", Width::Byte, BitOperator::And},
    {"UNDW", "ANDW", "WAND_W", Width::Word, BitOperator::And},
    {"UNDD", "ANDD", "WAND_DW", Width::Dword, BitOperator::And},
    {"ORB", {}, "WOR_B", Width::Byte, BitOperator::Or},
    {"ORW", {}, "WOR_W", Width::Word, BitOperator::Or},
    {"ORD", {}, "WOR_DW", Width::Dword, BitOperator::Or},
    {"XORB", {}, "WXOR_B", Width::Byte, BitOperator::Xor},
    {"XORW", {}, "WXOR_W", Width::Word, BitOperator::Xor},
    {"XORD", {}, "WXOR_DW", Width::Dword, BitOperator::Xor},
};

// b := a op b.
template <WordLogicRow L> class WordLogicOp final : public RowOperation {
    static constexpr Width W = L.width;

public:
    static constexpr InstructionRow row =
        described(inPlaceBox(L.mnemonic.c_str(), L.international.orNull(), L.label.c_str(), W, widthLetter(W)),
                  L.combine == BitOperator::And  ? "OUT := OUT AND IN, bit by bit"
                  : L.combine == BitOperator::Or ? "OUT := OUT OR IN, bit by bit"
                                                 : "OUT := OUT XOR IN, bit by bit");

    explicit WordLogicOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        using Value = typename WidthTraits<W>::Value;
        const Value a = in_.get();
        const Value b = inOut_.get();
        inOut_.set(static_cast<Value>(combined(a, b)));
    }

private:
    static std::uint32_t combined(std::uint32_t a, std::uint32_t b) {
        if constexpr (L.combine == BitOperator::And)
            return a & b;
        else if constexpr (L.combine == BitOperator::Or)
            return a | b;
        else
            return a ^ b;
    }

    WidthOperand<W> in_{operand1_.get()};
    WidthOperand<W> inOut_{operand2_.get()};
};

// ---- shifts and rotations ----

enum class Direction : std::uint8_t { ShiftLeft, ShiftRight, RotateLeft, RotateRight };

struct ShiftRow {
    Name mnemonic;
    Name label;
    Width width;
    Direction direction;
};

inline constexpr ShiftRow SHIFTS[] = {
    {"SLB", "SHL_B", Width::Byte, Direction::ShiftLeft},    {"SLW", "SHL_W", Width::Word, Direction::ShiftLeft},
    {"SLD", "SHL_DW", Width::Dword, Direction::ShiftLeft},  {"SRB", "SHR_B", Width::Byte, Direction::ShiftRight},
    {"SRW", "SHR_W", Width::Word, Direction::ShiftRight},   {"SRD", "SHR_DW", Width::Dword, Direction::ShiftRight},
    {"RLB", "ROL_B", Width::Byte, Direction::RotateLeft},   {"RLW", "ROL_W", Width::Word, Direction::RotateLeft},
    {"RLD", "ROL_DW", Width::Dword, Direction::RotateLeft}, {"RRB", "ROR_B", Width::Byte, Direction::RotateRight},
    {"RRW", "ROR_W", Width::Word, Direction::RotateRight},  {"RRD", "ROR_DW", Width::Dword, Direction::RotateRight},
};

// Shifts take the count modulo 32 for every width, so a byte shifted by 8 to
// 31 becomes 0 while 32 leaves it unchanged; rotations take it modulo the
// width. Zeros are shifted in from either end.
template <ShiftRow S> class ShiftOp final : public RowOperation {
    static constexpr Width W = S.width;
    static constexpr Direction D = S.direction;

public:
    static constexpr const char* summaries[] = {
        "Shifts left by N bits in place, zeros in",
        "Shifts right by N bits in place, zeros in",
        "Rotates left by N bits in place",
        "Rotates right by N bits in place",
    };
    static constexpr InstructionRow row =
        described(shift(S.mnemonic.c_str(), S.label.c_str(), W), summaries[static_cast<int>(D)]);

    explicit ShiftOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const Value a = inOut_.get();
        const auto n = static_cast<unsigned>(count_.get());
        inOut_.set(shifted(a, n));
    }

private:
    WidthOperand<W> inOut_{operand1_.get()};
    WidthOperand<Width::Byte> count_{operand2_.get()};

    using Value = typename WidthTraits<W>::Value;
    static constexpr int BITS = std::numeric_limits<Value>::digits;

    static Value shifted(Value a, unsigned n) {
        const std::uint32_t wide = a;
        if constexpr (D == Direction::ShiftLeft)
            return static_cast<Value>(wide << (n % 32u));
        else if constexpr (D == Direction::ShiftRight)
            return static_cast<Value>(wide >> (n % 32u));
        else if constexpr (D == Direction::RotateLeft)
            return std::rotl(a, static_cast<int>(n % BITS));
        else
            return std::rotr(a, static_cast<int>(n % BITS));
    }
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(familyEntries<WordLogicOp, WORD_LOGIC>(), familyEntries<ShiftOp, SHIFTS>());
}

} // namespace sps::word_logic
