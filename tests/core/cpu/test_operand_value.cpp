#include <gtest/gtest.h>

#include <string>

#include "cpu/cpu.h"
#include "cpu/operand_value.h"

using namespace sps;

namespace {

using W = Width;

// A value the user types is taken at its full size: what 32 bits cannot hold
// fits no operand, where the program syntax would keep its low 32 bits.
TEST(ConstantValue, AnIntegerBeyondThirtyTwoBitsFitsNoWidth) {
    struct Row {
        const char* text;
        std::uint32_t bits;
        bool negative;
        bool beyond;
    };
    const Row rows[] = {
        {"4294967295", 0xFFFFFFFFu, false, false}, {"4294967296", 0u, false, true},
        {"4294967297", 1u, false, true},           {"99999999999999999999999", 4135583743u, false, true},
        {"-2147483648", 0x80000000u, true, false}, {"-2147483649", 0x7FFFFFFFu, true, true},
        {"+-5", 0xFFFFFFFBu, true, false},         {"16#FFFFFFFF", 0xFFFFFFFFu, false, false},
        {"16#100000000", 0u, false, true},         {"0016#1FFFFFFFF", 0xFFFFFFFFu, false, true},
        {"35#2BR45QA", 0xFFFFFFFFu, false, false}, {"35#2BR45QB", 0u, false, true},
    };
    CPU cpu;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ConstantValue value = parseConstant(cpu, row.text);
        EXPECT_EQ(value.bits, row.bits) << "the low 32 bits, as a program reads them";
        EXPECT_EQ(value.negative, row.negative);
        EXPECT_EQ(value.beyond32Bits, row.beyond);
        EXPECT_EQ(value.fits(W::Dword), !row.beyond);
        if (row.beyond) {
            EXPECT_FALSE(value.fits(W::Bit)) << "not even when the low bits would fit";
            EXPECT_FALSE(value.fits(W::Byte));
            EXPECT_FALSE(value.fits(W::Word));
        }
    }
    EXPECT_FALSE(parseConstant(cpu, "1e40").beyond32Bits) << "a real is never an integer beyond 32 bits";
    EXPECT_FALSE(parseConstant(cpu, "&VB100").beyond32Bits);
}

} // namespace
