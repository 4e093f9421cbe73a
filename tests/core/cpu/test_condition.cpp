#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "messages/message_catalog.h"
#include "support/error_text.h"

using namespace sps;

namespace {

class ConditionTest : public ::testing::Test {
protected:
    bool holds(const char* operand, const char* test) { return Condition(cpu, operand, test).evaluate(); }
    std::string error(const char* operand, const char* test) {
        return errorText([&] { Condition(cpu, operand, test); });
    }

    CPU cpu;
};

// Each relation against a smaller, an equal and a greater value.
TEST_F(ConditionTest, EachRelationComparesAsItsName) {
    cpu.areaM.writeWord(0, 5);
    struct Row {
        const char* relation;
        bool less, equal, greater; // holds for MW0 against 4, 5, 6
    };
    const Row rows[] = {
        {"==", false, true, false}, {"=", false, true, false}, {"<>", true, false, true}, {"<", false, false, true},
        {">", true, false, false},  {"<=", false, true, true}, {">=", true, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.relation);
        const std::string r = row.relation;
        EXPECT_EQ(holds("MW0", (r + " 4").c_str()), row.less);
        EXPECT_EQ(holds("MW0", (r + "5").c_str()), row.equal);
        EXPECT_EQ(holds("MW0", (r + " 6").c_str()), row.greater);
    }
}

// Bits and bytes unsigned, words and double words signed, reals as reals: as
// the compare contacts read them.
TEST_F(ConditionTest, ComparesAsTheOperandsWidthAndTypeReadIt) {
    cpu.areaE.writeBit(0, 0, 1);
    cpu.areaM.writeByte(0, 200);
    cpu.areaM.writeWord(2, 0xFFFF);
    cpu.areaM.writeDword(4, 0x80000000u);
    cpu.areaV.writeDword(0, std::bit_cast<std::uint32_t>(2.0f));
    cpu.areaV.writeDword(4, std::bit_cast<std::uint32_t>(std::nanf("")));
    cpu.timers[37].value = 40000;
    struct Row {
        const char* operand;
        const char* test;
        bool holds;
    };
    const Row rows[] = {
        {"E0.0", "== 1", true},  {"E0.0", "<> 0", true},  {"MB0", "> 100", true},         {"MB0", "== -56", true},
        {"MB0", "< -1", true},   {"MW2", "< 1", true},    {"MW2", "== -1", true},         {"MW2", "== 16#FFFF", true},
        {"MW2", "> 0", false},   {"MD4", "<= 0", true},   {"MD4", "< -2147483647", true}, {"VD0", "== 2.0", true},
        {"VD0", "> 2.0", false}, {"VD0", ">= 1.5", true}, {"VD0", "> 16#3FFFFFFF", true}, {"VD4", "== 1.0", false},
        {"VD4", "<> 1.0", true}, {"VD4", "> 1.0", true},  {"T37", "< 0", true},           {"M.4", "== 0", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operand) + " " + row.test);
        EXPECT_EQ(holds(row.operand, row.test), row.holds);
    }
}

TEST_F(ConditionTest, AnEdgeHoldsOnceWhenTheBitChangesThatWay) {
    Condition rises(cpu, "E0.0", "steigt");
    Condition falls(cpu, "E0.0", " faellt");
    Condition fallsLatin1(cpu, "E0.0", "f\xE4llt");
    const int bits[] = {1, 1, 0, 0, 1};
    const bool rose[] = {true, false, false, false, true};
    const bool fell[] = {false, false, true, false, false};
    for (int step = 0; step < 5; ++step) {
        SCOPED_TRACE(step);
        cpu.areaE.writeBit(0, 0, bits[step]);
        EXPECT_EQ(rises.evaluate(), rose[step]);
        EXPECT_EQ(falls.evaluate(), fell[step]);
        EXPECT_EQ(fallsLatin1.evaluate(), fell[step]);
    }
    cpu.timers[37].preset = 2;
    Condition timerDone(cpu, "T37", "steigt");
    cpu.timers[37].value = 2;
    EXPECT_TRUE(timerDone.evaluate()) << "a timer's bit has edges too";
}

TEST_F(ConditionTest, ItsTextIsTheCanonicalForm) {
    EXPECT_EQ(Condition(cpu, "M.3", "=1").text(), "M0.3 == 1");
    EXPECT_EQ(Condition(cpu, " MW10", " >  100 ").text(), "MW10 > 100");
    EXPECT_EQ(Condition(cpu, "VD0", ">=16#FF").text(), "VD0 >= 16#FF");
    EXPECT_EQ(Condition(cpu, "E0.0", "faellt").text(), "E0.0 f\xE4llt");
    EXPECT_EQ(Condition(cpu, "E0.0", "steigt").text(), "E0.0 steigt");
}

TEST_F(ConditionTest, RefusesWhatCannotBeTested) {
    struct Row {
        const char* operand;
        const char* test;
        const char* key;
    };
    const Row rows[] = {
        {"MW0", "~ 5", "Relation expected"},
        {"MW0", "", "Relation expected"},
        {"MW0", "==", "Constant expected"},
        {"MW0", "== MW2", "Constant expected"},
        {"MW0", "steigt", "Edge needs a bit"},
        {"MB0", "> 300", "Value out of range"},
        {"E0.0", "== 2", "Value out of range"},
        {"MW0", "> 1.5", "Can't read a dword on parameter"},
        {"SBR0", "== 1", "Parametertype not possible"},
        {"AAW0", "== 1", "Can't read a word on parameter"},
        {"VB5000", "== 1", "Out of field read"},
        {"E0.8", "== 1", "Bitnumber out of range"},
        {"MW0", "== 4294967297", "Value out of range"},
        {"VD0", "< 16#100000000", "Value out of range"},
        {"VD0", ">= -2147483649", "Value out of range"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operand) + " " + row.test);
        EXPECT_EQ(error(row.operand, row.test), lookupMessage(row.key));
    }
    EXPECT_EQ(error("VD0", "== 4294967295"), "") << "the widest values a double word holds";
    EXPECT_EQ(error("VD0", "> -2147483648"), "");
}

} // namespace
