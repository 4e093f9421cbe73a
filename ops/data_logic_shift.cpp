// Word logic (AND, OR, XOR) and the shifts and rotations, each once per
// width. Like every data box they act only while the top of the logic stack
// is 1 and read nothing otherwise.
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "ops/data_width.h"
#include "ops/instruction_row.h"

namespace sps {

namespace {

// b := a op b.
constexpr InstructionRow wordLogic(const char* mnemonic, const char* label, Width w) {
    return inPlaceBox(mnemonic, label, w, widthLetter(w));
}

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

constexpr InstructionRow kUNDB = wordLogic("UNDB", "WAND_B", Width::Byte);
constexpr InstructionRow kUNDW = wordLogic("UNDW", "WAND_W", Width::Word);
constexpr InstructionRow kUNDD = wordLogic("UNDD", "WAND_DW", Width::Dword);
constexpr InstructionRow kORB = wordLogic("ORB", "WOR_B", Width::Byte);
constexpr InstructionRow kORW = wordLogic("ORW", "WOR_W", Width::Word);
constexpr InstructionRow kORD = wordLogic("ORD", "WOR_DW", Width::Dword);
constexpr InstructionRow kXORB = wordLogic("XORB", "WXOR_B", Width::Byte);
constexpr InstructionRow kXORW = wordLogic("XORW", "WXOR_W", Width::Word);
constexpr InstructionRow kXORD = wordLogic("XORD", "WXOR_DW", Width::Dword);
constexpr InstructionRow kSLB = shift("SLB", "SHL_B", Width::Byte);
constexpr InstructionRow kSLW = shift("SLW", "SHL_W", Width::Word);
constexpr InstructionRow kSLD = shift("SLD", "SHL_DW", Width::Dword);
constexpr InstructionRow kSRB = shift("SRB", "SHR_B", Width::Byte);
constexpr InstructionRow kSRW = shift("SRW", "SHR_W", Width::Word);
constexpr InstructionRow kSRD = shift("SRD", "SHR_DW", Width::Dword);
constexpr InstructionRow kRLB = shift("RLB", "ROL_B", Width::Byte);
constexpr InstructionRow kRLW = shift("RLW", "ROL_W", Width::Word);
constexpr InstructionRow kRLD = shift("RLD", "ROL_DW", Width::Dword);
constexpr InstructionRow kRRB = shift("RRB", "ROR_B", Width::Byte);
constexpr InstructionRow kRRW = shift("RRW", "ROR_W", Width::Word);
constexpr InstructionRow kRRD = shift("RRD", "ROR_DW", Width::Dword);

// ---- word logic ----

template <const InstructionRow& Row, Width W, class Combine> class WordLogicOp final : public RowOperation {
public:
    explicit WordLogicOp(Operands o) : RowOperation(Row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        using Value = typename WidthTraits<W>::Value;
        const Value a = in_.get();
        const Value b = inOut_.get();
        inOut_.set(static_cast<Value>(Combine{}(a, b)));
    }

private:
    WidthOperand<W> in_{operand1_.get()};
    WidthOperand<W> inOut_{operand2_.get()};
};

using UNDB_Op = WordLogicOp<kUNDB, Width::Byte, std::bit_and<>>;
using UNDW_Op = WordLogicOp<kUNDW, Width::Word, std::bit_and<>>;
using UNDD_Op = WordLogicOp<kUNDD, Width::Dword, std::bit_and<>>;
using ORB_Op = WordLogicOp<kORB, Width::Byte, std::bit_or<>>;
using ORW_Op = WordLogicOp<kORW, Width::Word, std::bit_or<>>;
using ORD_Op = WordLogicOp<kORD, Width::Dword, std::bit_or<>>;
using XORB_Op = WordLogicOp<kXORB, Width::Byte, std::bit_xor<>>;
using XORW_Op = WordLogicOp<kXORW, Width::Word, std::bit_xor<>>;
using XORD_Op = WordLogicOp<kXORD, Width::Dword, std::bit_xor<>>;

// ---- shifts and rotations ----

enum class Direction { ShiftLeft, ShiftRight, RotateLeft, RotateRight };

// Shifts take the count modulo 32 for every width, so a byte shifted by 8 to
// 31 becomes 0 while 32 leaves it unchanged; rotations take it modulo the
// width. Zeros are shifted in from either end.
template <const InstructionRow& Row, Width W, Direction D> class ShiftOp final : public RowOperation {
public:
    explicit ShiftOp(Operands o) : RowOperation(Row, std::move(o)) {}
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

using SLB_Op = ShiftOp<kSLB, Width::Byte, Direction::ShiftLeft>;
using SLW_Op = ShiftOp<kSLW, Width::Word, Direction::ShiftLeft>;
using SLD_Op = ShiftOp<kSLD, Width::Dword, Direction::ShiftLeft>;
using SRB_Op = ShiftOp<kSRB, Width::Byte, Direction::ShiftRight>;
using SRW_Op = ShiftOp<kSRW, Width::Word, Direction::ShiftRight>;
using SRD_Op = ShiftOp<kSRD, Width::Dword, Direction::ShiftRight>;
using RLB_Op = ShiftOp<kRLB, Width::Byte, Direction::RotateLeft>;
using RLW_Op = ShiftOp<kRLW, Width::Word, Direction::RotateLeft>;
using RLD_Op = ShiftOp<kRLD, Width::Dword, Direction::RotateLeft>;
using RRB_Op = ShiftOp<kRRB, Width::Byte, Direction::RotateRight>;
using RRW_Op = ShiftOp<kRRW, Width::Word, Direction::RotateRight>;
using RRD_Op = ShiftOp<kRRD, Width::Dword, Direction::RotateRight>;

constexpr TableEntry kRows[] = {
    {&kUNDB, createAs<UNDB_Op>}, {&kUNDW, createAs<UNDW_Op>}, {&kUNDD, createAs<UNDD_Op>}, {&kORB, createAs<ORB_Op>},
    {&kORW, createAs<ORW_Op>},   {&kORD, createAs<ORD_Op>},   {&kXORB, createAs<XORB_Op>}, {&kXORW, createAs<XORW_Op>},
    {&kXORD, createAs<XORD_Op>}, {&kSLB, createAs<SLB_Op>},   {&kSLW, createAs<SLW_Op>},   {&kSLD, createAs<SLD_Op>},
    {&kSRB, createAs<SRB_Op>},   {&kSRW, createAs<SRW_Op>},   {&kSRD, createAs<SRD_Op>},   {&kRLB, createAs<RLB_Op>},
    {&kRLW, createAs<RLW_Op>},   {&kRLD, createAs<RLD_Op>},   {&kRRB, createAs<RRB_Op>},   {&kRRW, createAs<RRW_Op>},
    {&kRRD, createAs<RRD_Op>},
};
static_assert(std::size(kRows) == 21);

} // namespace

std::span<const TableEntry> dataLogicShiftInstructions() { return kRows; }

} // namespace sps
