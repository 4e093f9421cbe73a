// Moves, increment/decrement/invert, integer and real arithmetic and the
// conversions. Every one is a box that acts only while the top of the logic
// stack is 1 and then reads its operands; with the top 0 nothing is read.
#include <cmath>
#include <cstdint>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "ops/data_width.h"
#include "ops/instruction_row.h"

namespace sps {

namespace {

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

constexpr InstructionRow kMOVB = move("MOVB", "MOV_B", Width::Byte, 'B');
constexpr InstructionRow kMOVW = move("MOVW", "MOV_W", Width::Word, 'W');
constexpr InstructionRow kMOVD = move("MOVD", "MOV_DW", Width::Dword, 'D');
constexpr InstructionRow kMOVR = move("MOVR", "MOV_R", Width::Dword, 'R');
constexpr InstructionRow kINCB = step("INCB", "INC_B", Width::Byte);
constexpr InstructionRow kINCW = step("INCW", "INC_W", Width::Word);
constexpr InstructionRow kINCD = step("INCD", "INC_DW", Width::Dword);
constexpr InstructionRow kDECB = step("DECB", "DEC_B", Width::Byte);
constexpr InstructionRow kDECW = step("DECW", "DEC_W", Width::Word);
constexpr InstructionRow kDECD = step("DECD", "DEC_DW", Width::Dword);
constexpr InstructionRow kINVB = step("INVB", "INV_B", Width::Byte);
constexpr InstructionRow kINVW = step("INVW", "INV_W", Width::Word);
constexpr InstructionRow kINVD = step("INVD", "INV_DW", Width::Dword);
constexpr InstructionRow kAddI = inPlaceBox("+I", "ADD_I", Width::Word, 'W');
constexpr InstructionRow kSubI = inPlaceBox("-I", "SUB_I", Width::Word, 'W');
constexpr InstructionRow kAddD = inPlaceBox("+D", "ADD_DI", Width::Dword, 'D');
constexpr InstructionRow kSubD = inPlaceBox("-D", "SUB_DI", Width::Dword, 'D');
constexpr InstructionRow kAddR = inPlaceBox("+R", "ADD_R", Width::Dword, 'R');
constexpr InstructionRow kSubR = inPlaceBox("-R", "SUB_R", Width::Dword, 'R');
constexpr InstructionRow kMulR = product("*R", "MUL_R");
constexpr InstructionRow kDivR = product("/R", "DIV_R");
constexpr InstructionRow kMUL = integerProduct("MUL");
constexpr InstructionRow kDIV = integerProduct("DIV");
constexpr InstructionRow kSQRT = convert("SQRT", "SQRT", 'R', 'R');
constexpr InstructionRow kTRUNC = convert("TRUNC", "TRUNC", 'R', 'D');
constexpr InstructionRow kDTR = convert("DTR", "DI_REAL", 'D', 'R');
// SWAP demands a writable operand 2 although it only ever touches operand 1.
constexpr InstructionRow kSWAP{
    .mnemonic = "SWAP",
    .label = "SWAP",
    .ladderKind = LK_TIMER,
    .operandCount = 2,
    .checks = {needs(2, CAP_WRITE_WORD), needs(1, CAP_READ_WORD)},
    .pins = {pinShows(3, 1, 'W')},
};

// ---- moves ----

// MOVR moves the 32-bit pattern of a real without converting it.
template <const InstructionRow& Row, Width W> class MoveOp final : public RowOperation {
public:
    explicit MoveOp(Operands o) : RowOperation(Row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        out_.set(in_.get());
    }

private:
    WidthOperand<W> in_{operand1_.get()};
    WidthOperand<W> out_{operand2_.get()};
};

using MOVB_Op = MoveOp<kMOVB, Width::Byte>;
using MOVW_Op = MoveOp<kMOVW, Width::Word>;
using MOVD_Op = MoveOp<kMOVD, Width::Dword>;
using MOVR_Op = MoveOp<kMOVR, Width::Dword>;

// ---- increment, decrement, invert in place ----

enum class Step { Increment, Decrement, Invert };

template <const InstructionRow& Row, Width W, Step S> class StepOp final : public RowOperation {
public:
    explicit StepOp(Operands o) : RowOperation(Row, std::move(o)) {}
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

using INCB_Op = StepOp<kINCB, Width::Byte, Step::Increment>;
using INCW_Op = StepOp<kINCW, Width::Word, Step::Increment>;
using INCD_Op = StepOp<kINCD, Width::Dword, Step::Increment>;
using DECB_Op = StepOp<kDECB, Width::Byte, Step::Decrement>;
using DECW_Op = StepOp<kDECW, Width::Word, Step::Decrement>;
using DECD_Op = StepOp<kDECD, Width::Dword, Step::Decrement>;
using INVB_Op = StepOp<kINVB, Width::Byte, Step::Invert>;
using INVW_Op = StepOp<kINVW, Width::Word, Step::Invert>;
using INVD_Op = StepOp<kINVD, Width::Dword, Step::Invert>;

// ---- integer sums: b := b + a or b - a, wrapping at the width ----

template <const InstructionRow& Row, Width W, bool Subtract> class IntegerSumOp final : public RowOperation {
public:
    explicit IntegerSumOp(Operands o) : RowOperation(Row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        using Value = typename WidthTraits<W>::Value;
        const std::uint32_t a = in_.get();
        const std::uint32_t b = inOut_.get();
        inOut_.set(static_cast<Value>(Subtract ? b - a : b + a));
    }

private:
    WidthOperand<W> in_{operand1_.get()};
    WidthOperand<W> inOut_{operand2_.get()};
};

using addI_Op = IntegerSumOp<kAddI, Width::Word, false>;
using subI_Op = IntegerSumOp<kSubI, Width::Word, true>;
using addD_Op = IntegerSumOp<kAddD, Width::Dword, false>;
using subD_Op = IntegerSumOp<kSubD, Width::Dword, true>;

// ---- real arithmetic: computed in double, rounded once on the store ----

enum class RealOperation { Add, Subtract, Multiply, Divide };

template <const InstructionRow& Row, RealOperation R> class RealArithmeticOp final : public RowOperation {
public:
    explicit RealArithmeticOp(Operands o) : RowOperation(Row, std::move(o)) {}
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

using addR_Op = RealArithmeticOp<kAddR, RealOperation::Add>;
using subR_Op = RealArithmeticOp<kSubR, RealOperation::Subtract>;
using mulR_Op = RealArithmeticOp<kMulR, RealOperation::Multiply>;
using divR_Op = RealArithmeticOp<kDivR, RealOperation::Divide>;

// ---- 16 x 16 bit multiply and divide ----

std::int32_t signedWord(std::uint32_t value) { return static_cast<std::int16_t>(value & 0xFFFFu); }

// The full signed product of the low word of b and the word a.
class MUL_Op final : public RowOperation {
public:
    explicit MUL_Op(Operands o) : RowOperation(kMUL, std::move(o)) {}
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
    explicit DIV_Op(Operands o) : RowOperation(kDIV, std::move(o)) {}
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
    explicit SQRT_Op(Operands o) : RowOperation(kSQRT, std::move(o)) {}
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
    explicit TRUNC_Op(Operands o) : RowOperation(kTRUNC, std::move(o)) {}
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
    explicit DTR_Op(Operands o) : RowOperation(kDTR, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        operand2_->setReal(static_cast<float>(static_cast<std::int32_t>(operand1_->getLong())));
    }
};

// Exchanges the two bytes of operand 1.
class SWAP_Op final : public RowOperation {
public:
    explicit SWAP_Op(Operands o) : RowOperation(kSWAP, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const auto a = static_cast<std::uint32_t>(operand1_->getWord());
        operand1_->setWord(static_cast<int>((a & 0xFFu) << 8 | (a >> 8 & 0xFFu)));
    }
};

constexpr TableEntry kRows[] = {
    {&kMOVB, createAs<MOVB_Op>},   {&kMOVW, createAs<MOVW_Op>}, {&kMOVD, createAs<MOVD_Op>},
    {&kMOVR, createAs<MOVR_Op>},   {&kINCB, createAs<INCB_Op>}, {&kINCW, createAs<INCW_Op>},
    {&kINCD, createAs<INCD_Op>},   {&kDECB, createAs<DECB_Op>}, {&kDECW, createAs<DECW_Op>},
    {&kDECD, createAs<DECD_Op>},   {&kINVB, createAs<INVB_Op>}, {&kINVW, createAs<INVW_Op>},
    {&kINVD, createAs<INVD_Op>},   {&kAddI, createAs<addI_Op>}, {&kSubI, createAs<subI_Op>},
    {&kAddD, createAs<addD_Op>},   {&kSubD, createAs<subD_Op>}, {&kAddR, createAs<addR_Op>},
    {&kSubR, createAs<subR_Op>},   {&kMulR, createAs<mulR_Op>}, {&kDivR, createAs<divR_Op>},
    {&kMUL, createAs<MUL_Op>},     {&kDIV, createAs<DIV_Op>},   {&kSQRT, createAs<SQRT_Op>},
    {&kTRUNC, createAs<TRUNC_Op>}, {&kDTR, createAs<DTR_Op>},   {&kSWAP, createAs<SWAP_Op>},
};
static_assert(std::size(kRows) == 27);

} // namespace

std::span<const TableEntry> dataMoveArithmeticInstructions() { return kRows; }

} // namespace sps
