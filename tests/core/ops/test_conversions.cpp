// Integer products and quotients, the conversions and the real functions,
// one line at a time on VD0 (operand 1) and VD4 (operand 2) as the data
// instruction tests do: byte and word forms use VB3/VB7 and VW2/VW6, so the
// rest of each double word shows that nothing beyond the width changed, and
// a value that does not fit leaves operand 2 as it was.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

#include "cpu/cpu.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::makeInstruction;

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

const std::uint32_t kNaN = bits(std::numeric_limits<float>::quiet_NaN());
const std::uint32_t kInfinity = bits(std::numeric_limits<float>::infinity());
constexpr std::uint32_t kOther = 0xAABBCCDD; // operand 2 before the instruction

struct Case {
    const char* line;
    std::uint32_t vd0;
    std::uint32_t vd4;
    std::uint32_t expectedVd4;
};

class ConversionInstructions : public ::testing::TestWithParam<Case> {};

TEST_P(ConversionInstructions, ComputeWithTopOne) {
    const Case& c = GetParam();
    CPU cpu;
    auto op = makeInstruction(cpu, c.line);
    cpu.areaV.writeDword(0, c.vd0);
    cpu.areaV.writeDword(4, c.vd4);
    cpu.logicStack = 1;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readDword(4), c.expectedVd4) << std::hex << "0x" << cpu.areaV.readDword(4);
    EXPECT_EQ(cpu.areaV.readDword(0), c.vd0) << "operand 1 is only read";
    EXPECT_EQ(cpu.logicStack, 1u);
}

TEST_P(ConversionInstructions, DoNothingWithTopZero) {
    const Case& c = GetParam();
    CPU cpu;
    auto op = makeInstruction(cpu, c.line);
    cpu.areaV.writeDword(0, c.vd0);
    cpu.areaV.writeDword(4, c.vd4);
    cpu.logicStack = 0;
    op->execute(cpu);
    EXPECT_EQ(cpu.areaV.readDword(4), c.vd4);
}

const auto caseName = [](const auto& testCase) { return std::to_string(testCase.index); };

INSTANTIATE_TEST_SUITE_P(IntegerProductsAndQuotients, ConversionInstructions,
                         ::testing::Values(Case{"*I VW2, VW6", 300, 0xAABB012C, 0xAABB5F90}, // 90000 wraps at 16 bits
                                           Case{"*I VW2, VW6", 0xFFFD, 0xAABB0005, 0xAABBFFF1}, // -3 * 5
                                           Case{"/I VW2, VW6", 0xFFFE, 0xAABB0007, 0xAABBFFFD}, // 7 / -2 = -3
                                           Case{"/I VW2, VW6", 2, 0xAABBFFF9, 0xAABBFFFD},      // -7 / 2 = -3
                                           Case{"/I VW2, VW6", 0xFFFF, 0xAABB8000, 0xAABB8000}, // -32768 / -1
                                           Case{"/I VW2, VW6", 0, 0xAABB0007, 0xAABB0007},      // by zero
                                           Case{"*D VD0, VD4", 0x10000, 0x10000, 0},
                                           Case{"*D VD0, VD4", 0xFFFFFFFF, 5, 0xFFFFFFFB},
                                           Case{"/D VD0, VD4", 3, 0xFFFFFFF9, 0xFFFFFFFE},
                                           Case{"/D VD0, VD4", 0xFFFFFFFF, 0x80000000, 0x80000000},
                                           Case{"/D VD0, VD4", 0, 12, 12}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(IntegerWidths, ConversionInstructions,
                         ::testing::Values(Case{"ITD VW2, VD4", 0x00008000, kOther, 0xFFFF8000},
                                           Case{"ITD VW2, VD4", 0x12347FFF, kOther, 0x00007FFF},
                                           Case{"DTI VD0, VW6", 40000, kOther, kOther},
                                           Case{"DTI VD0, VW6", 0xFFFF7FFF, kOther, kOther}, // -32769
                                           Case{"DTI VD0, VW6", 0xFFFF8000, kOther, 0xAABB8000},
                                           Case{"DTI VD0, VW6", 0xFFFFFFFB, kOther, 0xAABBFFFB},
                                           Case{"BTI VB3, VW6", 0x000000FF, kOther, 0xAABB00FF},
                                           Case{"ITB VW2, VB7", 200, kOther, 0xAABBCCC8},
                                           Case{"ITB VW2, VB7", 256, kOther, kOther},
                                           Case{"ITB VW2, VB7", 0xFFFF, kOther, kOther}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(Rounding, ConversionInstructions,
                         ::testing::Values(Case{"ROUND VD0, VD4", bits(2.5f), kOther, 3},
                                           Case{"ROUND VD0, VD4", bits(-2.5f), kOther, 0xFFFFFFFD},
                                           Case{"ROUND VD0, VD4", bits(2.4999f), kOther, 2},
                                           Case{"ROUND VD0, VD4", bits(-0.4f), kOther, 0},
                                           Case{"ROUND VD0, VD4", bits(2147483520.0f), kOther, 0x7FFFFF80},
                                           Case{"ROUND VD0, VD4", bits(3e9f), kOther, 0x80000000},
                                           Case{"ROUND VD0, VD4", kNaN, kOther, 0x80000000}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(BcdInPlace, ConversionInstructions,
                         ::testing::Values(Case{"BCDI VW6", 0, 0xAABB1234, 0xAABB04D2},
                                           Case{"BCDI VW6", 0, 0xAABB9999, 0xAABB270F},
                                           Case{"BCDI VW6", 0, 0xAABB12A4, 0xAABB12A4}, // A is no digit
                                           Case{"IBCD VW6", 0, 0xAABB270F, 0xAABB9999},
                                           Case{"IBCD VW6", 0, 0xAABB0000, 0xAABB0000},
                                           Case{"IBCD VW6", 0, 0xAABB2710, 0xAABB2710},  // 10000
                                           Case{"IBCD VW6", 0, 0xAABBFFFF, 0xAABBFFFF}), // -1
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    DecodeEncodeSegments, ConversionInstructions,
    ::testing::Values(Case{"DECO VB3, VW6", 17, kOther, 0xAABB0002}, // 17 mod 16
                      Case{"DECO VB3, VW6", 0, kOther, 0xAABB0001}, Case{"DECO VB3, VW6", 15, kOther, 0xAABB8000},
                      Case{"ENCO VW2, VB7", 0x0050, kOther, 0xAABBCC04},
                      Case{"ENCO VW2, VB7", 0x8000, kOther, 0xAABBCC0F}, Case{"ENCO VW2, VB7", 0, kOther, kOther},
                      Case{"SEG VB3, VB7", 0x00, kOther, 0xAABBCC3F}, Case{"SEG VB3, VB7", 0x08, kOther, 0xAABBCC7F},
                      Case{"SEG VB3, VB7", 0x0A, kOther, 0xAABBCC77},
                      Case{"SEG VB3, VB7", 0x1F, kOther, 0xAABBCC71}), // the low nibble
    caseName);

INSTANTIATE_TEST_SUITE_P(RealFunctions, ConversionInstructions,
                         ::testing::Values(Case{"SIN VD0, VD4", bits(0.0f), kOther, bits(0.0f)},
                                           Case{"SIN VD0, VD4", bits(1.5707964f), kOther, bits(1.0f)},
                                           Case{"COS VD0, VD4", bits(0.0f), kOther, bits(1.0f)},
                                           Case{"TAN VD0, VD4", bits(0.0f), kOther, bits(0.0f)},
                                           Case{"LN VD0, VD4", bits(1.0f), kOther, bits(0.0f)},
                                           Case{"LN VD0, VD4", bits(0.0f), kOther, kOther},
                                           Case{"LN VD0, VD4", bits(-1.0f), kOther, kOther},
                                           Case{"LN VD0, VD4", kNaN, kOther, kOther},
                                           Case{"EXP VD0, VD4", bits(0.0f), kOther, bits(1.0f)},
                                           Case{"EXP VD0, VD4", bits(1000.0f), kOther, kInfinity}),
                         caseName);

// Each conversion checks its operands at the widths it reads and writes.
TEST(ConversionOperands, AreCheckedAtTheirWidths) {
    CPU cpu;
    const char* refused[] = {"ITD VB0, VD4",   "ITD VW0, VW4",  "DTI VD0, VD4",  "BTI VW0, VW4", "ITB VW0, VW4",
                             "ROUND VD0, VW4", "DECO VW0, VW4", "ENCO VW0, VW4", "SEG VB0, VW4", "BCDI VB0",
                             "IBCD 5",         "SIN VW0, VD4",  "*I VW0, VD4",   "/D VD0, 5"};
    for (const char* line : refused) EXPECT_NE(harness::loadError(cpu, line), "") << line;
}

} // namespace
