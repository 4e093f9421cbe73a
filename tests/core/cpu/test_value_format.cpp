#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "cpu/value_format.h"
#include "messages/message_catalog.h"
#include "support/error_text.h"

using namespace sps;

namespace {

using F = ValueFormat;

TEST(ValueFormat, ShowsAValueAtItsOperandsWidth) {
    CPU cpu;
    cpu.areaM.writeWord(0, 0xFFFF);
    cpu.areaM.writeByte(2, 5);
    cpu.areaE.writeBit(0, 0, 1);
    cpu.areaV.writeDword(0, std::bit_cast<std::uint32_t>(1.5f));
    cpu.areaV.writeDword(4, 0x80000000u);
    cpu.timers[37] = {.value = 30, .preset = 10};
    cpu.counters[1] = {.preset = 0, .value = -2};
    struct Row {
        const char* operand;
        ValueFormat format;
        const char* shown;
    };
    const Row rows[] = {
        {"MW0", F::Binary, "2#1111111111111111"},
        {"MW0", F::SignedDecimal, "-1"},
        {"MW0", F::Decimal, "65535"},
        {"MW0", F::Hex, "16#FFFF"},
        {"MB2", F::Binary, "2#00000101"},
        {"MB2", F::Hex, "16#05"},
        {"MB2", F::SignedDecimal, "5"},
        {"E0.0", F::Bit, "1"},
        {"E0.0", F::Binary, "2#1"},
        {"E0.0", F::Hex, "16#1"},
        {"VD0", F::Real, "+1.5"},
        {"VD0", F::Hex, "16#3FC00000"},
        {"VD4", F::SignedDecimal, "-2147483648"},
        {"VD4", F::Decimal, "2147483648"},
        {"T37", F::Bit, "1"},
        {"T37", F::Decimal, "30"},
        {"Z1", F::SignedDecimal, "-2"},
        {"16#FF", F::Decimal, "255"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operand) + " " + formatName(row.format));
        const auto operand = parseOperand(cpu, row.operand);
        EXPECT_TRUE(formatReadable(*operand, row.format));
        EXPECT_EQ(formatOperand(*operand, row.format), row.shown);
    }
}

TEST(ValueFormat, AFormatTheOperandCannotBeReadInThrowsItsError) {
    CPU cpu;
    struct Row {
        const char* operand;
        ValueFormat format;
        const char* key;
        bool readable; // as the capabilities say
    };
    const Row rows[] = {
        {"MW0", F::Real, "getlong not supported", false},
        {"MW0", F::Bit, "getbit not supported", false},
        {"AAW0", F::Decimal, "getword not supported", false},
        {"VB5000", F::Hex, "Out of field read", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operand);
        const auto operand = parseOperand(cpu, row.operand);
        EXPECT_EQ(formatReadable(*operand, row.format), row.readable);
        EXPECT_EQ(errorText([&] { formatOperand(*operand, row.format); }), lookupMessage(row.key));
    }
}

TEST(ValueFormat, EveryFormatIsFoundByItsGermanName) {
    for (const ValueFormatInfo& info : VALUE_FORMATS) EXPECT_EQ(formatNamed(info.name), info.format);
    EXPECT_EQ(std::string(formatName(ValueFormat::Binary)), "Bin\xE4r");
    EXPECT_FALSE(formatNamed("Oktal"));
    EXPECT_EQ(defaultFormat(Width::Bit), ValueFormat::Bit);
    EXPECT_EQ(defaultFormat(Width::Word), ValueFormat::SignedDecimal);
}

} // namespace
