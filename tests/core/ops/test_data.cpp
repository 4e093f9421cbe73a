// Moves, arithmetic, word logic, shifts and conversions, one line at a time
// on the double words VD0 (operand 1) and VD4 (operand 2). Byte and word
// forms use the low byte (VB3, VB7) or low word (VW2, VW6), so the rest of
// each double word shows that nothing beyond the width was touched.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "cpu/cpu.h"
#include "messages/latin1.h"
#include "support/error_text.h"
#include "support/german_texts.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::makeInstruction;

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

const std::uint32_t kNaN = bits(std::numeric_limits<float>::quiet_NaN());

struct DataCase {
    const char* line;
    std::uint32_t vd0;
    std::uint32_t vd4;
    std::uint32_t expectedVd0;
    std::uint32_t expectedVd4;
};

class DataInstructions : public ::testing::TestWithParam<DataCase> {};

TEST_P(DataInstructions, ComputeWithTopOne) {
    const DataCase& c = GetParam();
    CPU cpu;
    auto op = makeInstruction(cpu, c.line);
    cpu.areaV.writeDword(0, c.vd0);
    cpu.areaV.writeDword(4, c.vd4);
    cpu.logicStack = 1;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readDword(0), c.expectedVd0);
    EXPECT_EQ(cpu.areaV.readDword(4), c.expectedVd4);
    EXPECT_EQ(cpu.logicStack, 1u) << "data boxes leave the stack alone";
}

TEST_P(DataInstructions, DoNothingWithTopZero) {
    const DataCase& c = GetParam();
    CPU cpu;
    auto op = makeInstruction(cpu, c.line);
    cpu.areaV.writeDword(0, c.vd0);
    cpu.areaV.writeDword(4, c.vd4);
    cpu.logicStack = 0b10;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readDword(0), c.vd0);
    EXPECT_EQ(cpu.areaV.readDword(4), c.vd4);
}

INSTANTIATE_TEST_SUITE_P(Move, DataInstructions,
                         ::testing::Values(DataCase{"MOVB VB3, VB7", 0x11223344, 0xAABBCCDD, 0x11223344, 0xAABBCC44},
                                           DataCase{"MOVW VW2, VW6", 0x11223344, 0xAABBCCDD, 0x11223344, 0xAABB3344},
                                           DataCase{"MOVD VD0, VD4", 0x11223344, 0, 0x11223344, 0x11223344},
                                           DataCase{"MOVR VD0, VD4", 0x7FC00001, 0, 0x7FC00001, 0x7FC00001}),
                         [](const auto& testCase) { return std::to_string(testCase.index); });

INSTANTIATE_TEST_SUITE_P(StepInPlace, DataInstructions,
                         ::testing::Values(DataCase{"INCB VB3", 0x120000FF, 0, 0x12000000, 0},
                                           DataCase{"INCW VW2", 0x1234FFFF, 0, 0x12340000, 0},
                                           DataCase{"INCD VD0", 0xFFFFFFFF, 0, 0, 0},
                                           DataCase{"DECB VB3", 0x12000000, 0, 0x120000FF, 0},
                                           DataCase{"DECW VW2", 0x12340000, 0, 0x1234FFFF, 0},
                                           DataCase{"DECD VD0", 0, 0, 0xFFFFFFFF, 0},
                                           DataCase{"INVB VB3", 0x1234560F, 0, 0x123456F0, 0},
                                           DataCase{"INVW VW2", 0x12340F0F, 0, 0x1234F0F0, 0},
                                           DataCase{"INVD VD0", 0x0F0F0F0F, 0, 0xF0F0F0F0, 0}),
                         [](const auto& testCase) { return std::to_string(testCase.index); });

INSTANTIATE_TEST_SUITE_P(WordLogic, DataInstructions,
                         ::testing::Values(DataCase{"UNDB VB3, VB7", 0x3C, 0x1234560F, 0x3C, 0x1234560C},
                                           DataCase{"ORW VW2, VW6", 0x00F0, 0xAAAA000F, 0x00F0, 0xAAAA00FF},
                                           DataCase{"XORD VD0, VD4", 0xFF00FF00, 0x0FF00FF0, 0xFF00FF00, 0xF0F0F0F0}),
                         [](const auto& testCase) { return std::to_string(testCase.index); });

INSTANTIATE_TEST_SUITE_P(IntegerArithmetic, DataInstructions,
                         ::testing::Values(DataCase{"+I VW2, VW6", 1, 0xAAAA7FFF, 1, 0xAAAA8000}, // 32767 + 1 = -32768
                                           DataCase{"-I VW2, VW6", 1, 0x00000000, 1, 0x0000FFFF}, // 0 - 1
                                           DataCase{"+D VD0, VD4", 1, 0xFFFFFFFF, 1, 0},
                                           DataCase{"-D VD0, VD4", 1, 0x80000000, 1, 0x7FFFFFFF}, // minimum - 1
                                           DataCase{"MUL VW2, VD4", 0xFFFE, 0x00030005, 0xFFFE, 0xFFFFFFF6}, // -2 * 5
                                           DataCase{"MUL VW2, VD4", 0x8000, 0x00008000, 0x8000,
                                                    0x40000000}, // -32768 squared
                                           DataCase{"DIV VW2, VD4", 3, 17, 3, 0x00020005},
                                           DataCase{"DIV VW2, VD4", 3, 0x12340011, 3, 0x00020005}, // high word ignored
                                           DataCase{"DIV VW2, VD4", 0, 17, 0, 17},                 // by zero: unchanged
                                           DataCase{"DIV VW2, VD4", 2, 0xFFF9, 2, 0xFFFFFFFD},     // -7 / 2: r -1, q -3
                                           DataCase{"DIV VW2, VD4", 3, 0xFFF8, 3, 0xFFFEFFFE},     // -8 / 3: r -2, q -2
                                           DataCase{"DIV VW2, VD4", 0xFFFF, 0x8000, 0xFFFF, 0x00008000}), // -32768 / -1
                         [](const auto& testCase) { return std::to_string(testCase.index); });

INSTANTIATE_TEST_SUITE_P(
    ShiftsAndRotations, DataInstructions,
    ::testing::Values(DataCase{"SLB VB3, VB7", 0xAAAAAA81, 1, 0xAAAAAA02, 1}, DataCase{"SLB VB3, VB7", 0x81, 8, 0, 8},
                      DataCase{"SLB VB3, VB7", 0x81, 31, 0, 31},
                      DataCase{"SLB VB3, VB7", 0x81, 32, 0x81, 32}, // count modulo 32
                      DataCase{"SLB VB3, VB7", 0x81, 33, 0x02, 33},
                      DataCase{"SRW VW2, VB7", 0x8000, 1, 0x4000, 1}, // zeros shifted in
                      DataCase{"SRW VW2, VB7", 0x8000, 16, 0, 16}, DataCase{"SLD VD0, VB7", 1, 31, 0x80000000, 31},
                      DataCase{"SLD VD0, VB7", 1, 32, 1, 32}, DataCase{"SRD VD0, VB7", 0x80000000, 33, 0x40000000, 33},
                      DataCase{"RLB VB3, VB7", 0x81, 1, 0x03, 1},
                      DataCase{"RLB VB3, VB7", 0x81, 9, 0x03, 9}, // count modulo 8
                      DataCase{"RRB VB3, VB7", 0x81, 8, 0x81, 8}, DataCase{"RRW VW2, VB7", 0x0001, 1, 0x8000, 1},
                      DataCase{"RLW VW2, VB7", 0x8001, 17, 0x0003, 17}, // count modulo 16
                      DataCase{"RLD VD0, VB7", 0x80000001, 33, 0x00000003, 33},
                      DataCase{"RRD VD0, VB7", 0x00000003, 255, 0x00000006, 255}),
    [](const auto& testCase) { return std::to_string(testCase.index); });

INSTANTIATE_TEST_SUITE_P(
    RealAndConversion, DataInstructions,
    ::testing::Values(DataCase{"+R VD0, VD4", bits(1.5f), bits(2.25f), bits(1.5f), bits(3.75f)},
                      DataCase{"-R VD0, VD4", bits(1.5f), bits(2.25f), bits(1.5f), bits(0.75f)},
                      DataCase{"*R VD0, VD4", bits(-2.0f), bits(2.25f), bits(-2.0f), bits(-4.5f)},
                      DataCase{"*R VD0, VD4", bits(1e30f), bits(1e30f), bits(1e30f),
                               bits(std::numeric_limits<float>::infinity())},
                      DataCase{"/R VD0, VD4", bits(2.0f), bits(7.0f), bits(2.0f), bits(3.5f)},
                      DataCase{"/R VD0, VD4", bits(0.0f), bits(7.0f), bits(0.0f), bits(7.0f)},
                      DataCase{"/R VD0, VD4", bits(-0.0f), bits(7.0f), bits(-0.0f), bits(7.0f)},
                      DataCase{"/R VD0, VD4", bits(std::ldexp(1.0f, -100)), bits(1.0f), bits(std::ldexp(1.0f, -100)),
                               bits(std::ldexp(1.0f, 100))}, // a tiny divisor divides
                      DataCase{"SQRT VD0, VD4", bits(16.0f), 5, bits(16.0f), bits(4.0f)},
                      DataCase{"SQRT VD0, VD4", bits(-4.0f), 5, bits(-4.0f), 5},
                      DataCase{"SQRT VD0, VD4", kNaN, 5, kNaN, 5},
                      DataCase{"TRUNC VD0, VD4", bits(-2.7f), 5, bits(-2.7f), 0xFFFFFFFE},
                      DataCase{"TRUNC VD0, VD4", bits(2.7f), 5, bits(2.7f), 2},
                      DataCase{"TRUNC VD0, VD4", bits(3.0e10f), 5, bits(3.0e10f), 0x80000000},
                      DataCase{"TRUNC VD0, VD4", bits(-3.0e10f), 5, bits(-3.0e10f), 0x80000000},
                      DataCase{"TRUNC VD0, VD4", bits(2147483648.0f), 5, bits(2147483648.0f), 0x80000000},
                      DataCase{"TRUNC VD0, VD4", bits(2147483520.0f), 5, bits(2147483520.0f), 2147483520},
                      DataCase{"TRUNC VD0, VD4", kNaN, 5, kNaN, 0x80000000},
                      DataCase{"DTR VD0, VD4", 16777217, 5, 16777217, bits(16777216.0f)},
                      DataCase{"DTR VD0, VD4", 0xFFFFFFFF, 5, 0xFFFFFFFF, bits(-1.0f)},
                      DataCase{"SWAP VW2, VW6", 0xAAAA1234, 0x5678, 0xAAAA3412, 0x5678}),
    [](const auto& testCase) { return std::to_string(testCase.index); });

// Data instructions and compare contacts reach memory inside its area and
// constants directly; every operand kind and every edge must still give what
// the operand itself gives: constants at the instruction's width, the
// accumulators' upper bits kept, SM's read-only bytes dropped, the messages
// of addresses past the end.
TEST(DataInstructionsOperandReads, EveryOperandKindActsAsTheOperandItself) {
    struct Case {
        const char* line;
        std::uint32_t (*result)(CPU&);
        std::uint32_t expected;
        std::string error;
    };
    const auto vb8 = +[](CPU& c) { return static_cast<std::uint32_t>(c.areaV.readByte(8)); };
    const auto vw8 = +[](CPU& c) { return static_cast<std::uint32_t>(c.areaV.readWord(8)); };
    const auto vd8 = +[](CPU& c) { return c.areaV.readDword(8); };
    const auto sm28 = +[](CPU& c) { return static_cast<std::uint32_t>(c.areaSM.readDword(28)); };
    const auto top = +[](CPU& c) { return c.logicStack & 1u; };
    const std::string none;
    const Case cases[] = {
        {"MOVB 16#1FF, VB8", vb8, 0xFF, none},
        {"MOVW -1, VW8", vw8, 0xFFFF, none},
        {"MOVD 1.0, VD8", vd8, 0x3F800000, none},
        {"MOVD &VB100, VD8", vd8, 0x08000064, none},
        {"MOVW VW0, AC1", [](CPU& c) { return c.accumulators[1]; }, 0xAAAA1122, none},
        {"MOVW AC1, VW8", vw8, 0x5555, none},
        {"MOVB VB3, SMB29", sm28, 0, none},
        {"MOVW VW2, SMW29", sm28, 0x00004400, none},
        {"INCB SMB31", sm28, 0x00000001, none},
        {"+I 2, VW4094", [](CPU& c) { return static_cast<std::uint32_t>(c.areaV.readWord(4094)); }, 2, none},
        {"SLW VW0, 4", [](CPU& c) { return static_cast<std::uint32_t>(c.areaV.readWord(0)); }, 0x1220, none},
        {"MOVW VW4095, VW8", vw8, 0, german::OUT_OF_FIELD_READ},
        {"MOVW VW0, VW4095", [](CPU& c) { return static_cast<std::uint32_t>(c.areaV.readByte(4095)); }, 0x11,
         L1("Es wurde über den zulässigen Bereich hinaus geschrieben")},
        {"LDB= 16#1FF, 255", top, 1, none},
        {"LDW>= VW0, 16#1122", top, 1, none},
        {"UW>= VW4095, 0", top, 0, german::OUT_OF_FIELD_READ},
        {"OW>= VW4095, 0", top, 1, none}, // the top is 1 already: nothing read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CPU cpu;
        auto op = makeInstruction(cpu, c.line);
        cpu.areaV.writeDword(0, 0x11223344);
        cpu.accumulators[1] = 0xAAAA5555;
        cpu.logicStack = 1;
        EXPECT_EQ(errorText([&] { op->execute(cpu); }), c.error);
        EXPECT_EQ(c.result(cpu), c.expected);
    }
}

// A box with its top 0 reads no operand: an indirect operand that would
// fail raises nothing until the box is enabled.
TEST(DataInstructionsOperandReads, NothingIsReadWhileTheTopIsZero) {
    const char* lines[] = {"MOVW *VD0, VW4", "+I *VD0, VW4",   "MUL *VD0, VD4",  "SLW VW4, *VD0",
                           "INCW *VD0",      "SQRT *VD0, VD4", "UNDD *VD0, VD4", "SWAP *VD0, VW4"};
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        CPU cpu;
        auto op = makeInstruction(cpu, line);
        cpu.areaV.writeDword(0, 100); // not a pointer into V
        cpu.logicStack = 0;
        EXPECT_NO_THROW(op->execute(cpu));
        cpu.logicStack = 1;
        EXPECT_EQ(errorText([&] { op->execute(cpu); }), german::POINTER_OUT_OF_RANGE);
    }
}

// Inside a closed sequence segment the top reads 0 whatever the stack holds.
TEST(DataInstructionsOperandReads, ClosedSegmentDisablesTheBox) {
    CPU cpu;
    auto op = makeInstruction(cpu, "MOVW 7, VW4");
    cpu.logicStack = 1;
    cpu.scrState = ScrState::Inactive;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readWord(4), 0);
    cpu.scrState = ScrState::Active;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readWord(4), 7);
}

// SWAP only checks its written operand for a word write, and only ever
// writes operand 1.
TEST(DataInstructionsOperandReads, SwapLeavesOperandTwoAlone) {
    CPU cpu;
    auto op = makeInstruction(cpu, "SWAP AC0, VW0");
    cpu.accumulators[0] = 0xABCD1234;
    cpu.areaV.writeWord(0, 0x5555);
    cpu.logicStack = 1;
    op->execute(cpu);
    EXPECT_EQ(cpu.accumulators[0], 0xABCD3412u);
    EXPECT_EQ(cpu.areaV.readWord(0), 0x5555);
}

} // namespace
