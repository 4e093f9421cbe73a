#pragma once

// Moves, increment/decrement/invert, integer and real arithmetic and the
// conversions. Every one is a box that acts only while the top of the logic
// stack is 1 and then reads its operands; with the top 0 nothing is read.
#include <cmath>
#include <cstdint>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::data_move {

// Operand 1 is read, operand 2 written (the write is tested first).
constexpr InstructionRow move(const char* mnemonic, const char* label, Width w, char letter) {
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX1,
            .moveSize = w,
            .operandCount = 2,
            .checks = {needs(2, writeCapability(w)), needs(1, readCapability(w))},
            .pins = {pinShows(3, 1, letter), pinShows(5, 2, letter)}};
}

// One operand, read and written in place (the write is tested first).
constexpr InstructionRow step(const char* mnemonic, const char* label, Width w) {
    const char letter = widthLetter(w);
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX1,
            .operandCount = 1,
            .checks = {needs(1, writeCapability(w)), needs(1, readCapability(w))},
            .pins = {pinShows(3, 1, letter), pinShows(5, 1, letter)},
            .merge = {.pin = 3, .slot = 2, .size = w}};
}

// *R and /R test operand 2 (write, read) before operand 1.
constexpr InstructionRow product(const char* mnemonic, const char* label) {
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX2,
            .operandCount = 2,
            .checks = {needs(2, CAP_WRITE_DWORD), needs(2, CAP_READ_DWORD), needs(1, CAP_READ_DWORD)},
            .pins = {pinShows(3, 2, 'R'), pinShows(4, 1, 'R'), pinShows(5, 2, 'R')},
            .merge = {.pin = 3, .slot = 2, .size = Width::Dword}};
}

// MUL and DIV: a word operand 1 into the double word operand 2; not foldable.
constexpr InstructionRow integerProduct(const char* mnemonic) {
    return {.mnemonic = mnemonic,
            .label = mnemonic,
            .ladderKind = LK_BOX2,
            .operandCount = 2,
            .checks = {needs(2, CAP_WRITE_DWORD), needs(2, CAP_READ_DWORD), needs(1, CAP_READ_WORD)},
            .pins = {pinShows(3, 2, 'D'), pinShows(4, 1, 'W'), pinShows(5, 2, 'D')}};
}

// SQRT, TRUNC, DTR: operand 1 read (tested first), operand 2 written.
constexpr InstructionRow convert(const char* mnemonic, const char* label, char in, char out) {
    return {.mnemonic = mnemonic,
            .label = label,
            .ladderKind = LK_BOX1,
            .operandCount = 2,
            .checks = {needs(1, CAP_READ_DWORD), needs(2, CAP_WRITE_DWORD)},
            .pins = {pinShows(3, 1, in), pinShows(5, 2, out)}};
}

// ---- moves ----

struct MoveRow {
    Name mnemonic;
    Name label;
    Width width;
    char letter; // R for the real, which moves as a double word
};

inline constexpr MoveRow MOVES[] = {
    {"MOVB", "MOV_B", Width::Byte, 'B'},
    {"MOVW", "MOV_W", Width::Word, 'W'},
    {"MOVD", "MOV_DW", Width::Dword, 'D'},
    {"MOVR", "MOV_R", Width::Dword, 'R'},
};

// MOVR moves the 32-bit pattern of a real without converting it.
template <MoveRow M> class MoveOp final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(move(M.mnemonic.c_str(), M.label.c_str(), M.width, M.letter),
                  M.letter == 'R' ? "Copies the real IN to OUT, bit for bit" : "Copies IN to OUT");

    explicit MoveOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        out_.set(in_.get());
    }

private:
    WidthOperand<M.width> in_{operand1_.get()};
    WidthOperand<M.width> out_{operand2_.get()};
};

// ---- increment, decrement, invert in place ----

enum class Step : std::uint8_t { Increment, Decrement, Invert };

struct StepRow {
    Name mnemonic;
    Name label;
    Width width;
    Step step;
};

inline constexpr StepRow STEPS[] = {
    {"INCB", "INC_B", Width::Byte, Step::Increment},   {"INCW", "INC_W", Width::Word, Step::Increment},
    {"INCD", "INC_DW", Width::Dword, Step::Increment}, {"DECB", "DEC_B", Width::Byte, Step::Decrement},
    {"DECW", "DEC_W", Width::Word, Step::Decrement},   {"DECD", "DEC_DW", Width::Dword, Step::Decrement},
    {"INVB", "INV_B", Width::Byte, Step::Invert},      {"INVW", "INV_W", Width::Word, Step::Invert},
    {"INVD", "INV_DW", Width::Dword, Step::Invert},
};

template <StepRow R> class StepOp final : public RowOperation {
    static constexpr Width W = R.width;
    static constexpr Step S = R.step;

public:
    static constexpr InstructionRow row = described(step(R.mnemonic.c_str(), R.label.c_str(), W),
                                                    S == Step::Increment   ? "Adds 1 in place, wrapping"
                                                    : S == Step::Decrement ? "Subtracts 1 in place, wrapping"
                                                                           : "Inverts every bit in place");

    explicit StepOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        using Value = typename WidthTraits<W>::Value;
        inOut_.set(static_cast<Value>(stepped(inOut_.get())));
    }

private:
    WidthOperand<W> inOut_{operand1_.get()};

    static std::uint32_t stepped(std::uint32_t a) {
        if constexpr (S == Step::Increment)
            return a + 1u;
        else if constexpr (S == Step::Decrement)
            return a - 1u;
        else
            return ~a;
    }
};

// ---- integer arithmetic in place: b := b op a, wrapping at the width ----

enum class IntegerOperation : std::uint8_t { Add, Subtract, Multiply, Divide };

struct IntegerArithmeticRow {
    Name mnemonic;
    Name label;
    Width width;
    IntegerOperation operation;
};

inline constexpr IntegerArithmeticRow INTEGER_ARITHMETIC[] = {
    {"+I", "ADD_I", Width::Word, IntegerOperation::Add},
    {"-I", "SUB_I", Width::Word, IntegerOperation::Subtract},
    {"+D", "ADD_DI", Width::Dword, IntegerOperation::Add},
    {"-D", "SUB_DI", Width::Dword, IntegerOperation::Subtract},
    {"*I", "MUL_I", Width::Word, IntegerOperation::Multiply},
    {"/I", "DIV_I", Width::Word, IntegerOperation::Divide},
    {"*D", "MUL_DI", Width::Dword, IntegerOperation::Multiply},
    {"/D", "DIV_DI", Width::Dword, IntegerOperation::Divide},
};

// Products keep the low bits of the full product; quotients are truncated
// toward zero, the smallest value divided by -1 wraps to itself, and a
// division by zero writes nothing. All of it in 64 bits, so that no
// intermediate overflows.
template <IntegerArithmeticRow R> class IntegerArithmeticOp final : public RowOperation {
    static constexpr Width W = R.width;

public:
    static constexpr const char* summaries[] = {
        "OUT := OUT + IN, wrapping",
        "OUT := OUT - IN, wrapping",
        "OUT := OUT * IN, keeping the low bits",
        "OUT := OUT / IN, truncated toward zero; nothing when IN is 0",
    };
    static constexpr InstructionRow row =
        described(inPlaceBox(R.mnemonic.c_str(), nullptr, R.label.c_str(), W, widthLetter(W)),
                  summaries[static_cast<int>(R.operation)]);

    explicit IntegerArithmeticOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        using Value = typename WidthTraits<W>::Value;
        const std::uint32_t a = in_.get();
        const std::uint32_t b = inOut_.get();
        if constexpr (R.operation == IntegerOperation::Add) {
            inOut_.set(static_cast<Value>(b + a));
        } else if constexpr (R.operation == IntegerOperation::Subtract) {
            inOut_.set(static_cast<Value>(b - a));
        } else if constexpr (R.operation == IntegerOperation::Multiply) {
            inOut_.set(static_cast<Value>(b * a));
        } else {
            const std::int64_t divisor = signedAtWidth(a, W);
            if (divisor == 0) return;
            const std::int64_t quotient = signedAtWidth(b, W) / divisor;
            inOut_.set(static_cast<Value>(static_cast<std::uint64_t>(quotient)));
        }
    }

private:
    WidthOperand<W> in_{operand1_.get()};
    WidthOperand<W> inOut_{operand2_.get()};
};

// ---- real arithmetic: computed in double, rounded once on the store ----

enum class RealOperation : std::uint8_t { Add, Subtract, Multiply, Divide };

struct RealArithmeticRow {
    Name mnemonic;
    Name label;
    RealOperation operation;
};

inline constexpr RealArithmeticRow REAL_ARITHMETIC[] = {
    {"+R", "ADD_R", RealOperation::Add},
    {"-R", "SUB_R", RealOperation::Subtract},
    {"*R", "MUL_R", RealOperation::Multiply},
    {"/R", "DIV_R", RealOperation::Divide},
};

// Sums are in-place boxes; *R and /R test operand 2 before operand 1.
template <RealArithmeticRow A> class RealArithmeticOp final : public RowOperation {
    static constexpr RealOperation R = A.operation;

public:
    static constexpr const char* summaries[] = {
        "OUT := OUT + IN, reals",
        "OUT := OUT - IN, reals",
        "OUT := OUT * IN, reals",
        "OUT := OUT / IN, reals; nothing when IN is 0",
    };
    static constexpr InstructionRow row =
        described(R == RealOperation::Add || R == RealOperation::Subtract
                      ? inPlaceBox(A.mnemonic.c_str(), nullptr, A.label.c_str(), Width::Dword, 'R')
                      : product(A.mnemonic.c_str(), A.label.c_str()),
                  summaries[static_cast<int>(R)]);

    explicit RealArithmeticOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const double a = operand1_->getReal();
        // The divisor is compared with zero exactly: a tiny or NaN divisor divides.
        if constexpr (R == RealOperation::Divide)
            if (a == 0.0) return;
        operand2_->setReal(static_cast<float>(combined(operand2_->getReal(), a)));
    }

private:
    static double combined(double b, double a) {
        if constexpr (R == RealOperation::Add)
            return b + a;
        else if constexpr (R == RealOperation::Subtract)
            return b - a;
        else if constexpr (R == RealOperation::Multiply)
            return b * a;
        else
            return b / a;
    }
};

// ---- 16 x 16 bit multiply and divide ----

inline std::int32_t signedWord(std::uint32_t value) { return static_cast<std::int16_t>(value & 0xFFFFu); }

// The full signed product of the low word of b and the word a.
class MUL_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(integerProduct("MUL"), "The low word of OUT times the word IN, as a double word");

    explicit MUL_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const std::int32_t a = signedWord(static_cast<std::uint32_t>(operand1_->getWord()));
        const std::int32_t n = signedWord(operand2_->getLong());
        operand2_->setLong(static_cast<std::uint32_t>(n * a));
    }
};

// The low word of b divided by the word a, truncated toward zero: the
// remainder (with the dividend's sign) goes to the high word, the quotient to
// the low word. A divisor of 0 writes nothing.
class DIV_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(integerProduct("DIV"), "The low word of OUT divided by IN: remainder high word, quotient low word");

    explicit DIV_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const std::int32_t d = signedWord(static_cast<std::uint32_t>(operand1_->getWord()));
        if (d == 0) return;
        const std::int32_t n = signedWord(operand2_->getLong());
        const std::int32_t q = n / d; // -32768 / -1 fits in 32 bits
        const std::int32_t r = n - q * d;
        const std::uint32_t high = static_cast<std::uint32_t>(r) & 0xFFFFu;
        const std::uint32_t low = static_cast<std::uint32_t>(q) & 0xFFFFu;
        operand2_->setLong(high << 16 | low);
    }
};

// ---- conversions ----

// The square root of a negative value or of NaN writes nothing.
class SQRT_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(convert("SQRT", "SQRT", 'R', 'R'), "Square root of IN; nothing for a negative IN");

    explicit SQRT_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const double x = operand1_->getReal();
        if (!(x >= 0.0)) return;
        operand2_->setReal(static_cast<float>(std::sqrt(x)));
    }
};

// Truncation toward zero; NaN and values outside the signed 32-bit range
// give the smallest value 0x80000000.
class TRUNC_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(convert("TRUNC", "TRUNC", 'R', 'D'), "Real to double word, truncated toward zero");

    explicit TRUNC_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const float x = operand1_->getReal();
        std::uint32_t result = 0x80000000u;
        if (x >= -2147483648.0f && x < 2147483648.0f) result = static_cast<std::uint32_t>(static_cast<std::int32_t>(x));
        operand2_->setLong(result);
    }
};

// A signed double word to the nearest real.
class DTR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = described(convert("DTR", "DI_REAL", 'D', 'R'), "Double word to real");

    explicit DTR_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        operand2_->setReal(static_cast<float>(static_cast<std::int32_t>(operand1_->getLong())));
    }
};

// Exchanges the two bytes of operand 1. SWAP demands a writable operand 2
// although it only ever touches operand 1.
class SWAP_Op final : public RowOperation {
public:
    static constexpr InstructionRow row{
        .mnemonic = "SWAP",
        .label = "SWAP",
        .ladderKind = LK_TIMER,
        .operandCount = 2,
        .checks = {needs(2, CAP_WRITE_WORD), needs(1, CAP_READ_WORD)},
        .pins = {pinShows(3, 1, 'W')},
        .summary = "Exchanges the two bytes of the word",
    };

    explicit SWAP_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const auto a = static_cast<std::uint32_t>(operand1_->getWord());
        operand1_->setWord(static_cast<int>((a & 0xFFu) << 8 | (a >> 8 & 0xFFu)));
    }
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(familyEntries<MoveOp, MOVES>(), familyEntries<StepOp, STEPS>(),
                       familyEntries<IntegerArithmeticOp, INTEGER_ARITHMETIC>(),
                       familyEntries<RealArithmeticOp, REAL_ARITHMETIC>(),
                       classEntries<MUL_Op, DIV_Op, SQRT_Op, TRUNC_Op, DTR_Op, SWAP_Op>());
}

} // namespace sps::data_move
