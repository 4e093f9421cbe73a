// Compare contacts: value semantics per type, negated forms, the load, AND and
// OR forms, and the segment gate.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "messages/cpu_exception.h"
#include "support/german_texts.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::makeInstruction;

constexpr std::uint32_t NAN_BITS = 0x7FC00000u;
constexpr std::uint32_t ONE = 0x3F800000u;       // 1.0
constexpr std::uint32_t TWO = 0x40000000u;       // 2.0
constexpr std::uint32_t MINUS_ONE = 0xBF800000u; // -1.0
constexpr std::uint32_t MINUS_TWO = 0xC0000000u; // -2.0
constexpr std::uint32_t PLUS_ZERO = 0x00000000u;
constexpr std::uint32_t MINUS_ZERO = 0x80000000u;

class Compare : public testing::Test {
protected:
    // Puts the two values at V0 and V4 in the width of the mnemonic's type
    // letter and runs the contact on them; returns the pushed bit.
    int loadCompare(const std::string& mnemonic, std::uint32_t left, std::uint32_t right) {
        const char type = mnemonic[mnemonic.find_first_of("BWDR", 2)];
        std::string operands;
        switch (type) {
        case 'B':
            cpu.areaV.writeByte(0, static_cast<int>(left));
            cpu.areaV.writeByte(4, static_cast<int>(right));
            operands = " VB0, VB4";
            break;
        case 'W':
            cpu.areaV.writeWord(0, static_cast<int>(left));
            cpu.areaV.writeWord(4, static_cast<int>(right));
            operands = " VW0, VW4";
            break;
        default:
            cpu.areaV.writeDword(0, left);
            cpu.areaV.writeDword(4, right);
            operands = " VD0, VD4";
            break;
        }
        cpu.logicStack = 0b1;
        makeInstruction(cpu, mnemonic + operands)->execute(cpu);
        EXPECT_EQ(cpu.logicStack >> 1, 1u) << "a load form keeps the level below";
        return static_cast<int>(cpu.logicStack & 1u);
    }

    std::string runError(const std::string& line) {
        try {
            makeInstruction(cpu, line)->execute(cpu);
        } catch (const CPUException& error) {
            return error.messageText();
        }
        return "";
    }

    CPU cpu;
};

struct ValueCase {
    std::string mnemonic;
    std::uint32_t left;
    std::uint32_t right;
    int expected;
};

TEST_F(Compare, ValuesCompareByTheirType) {
    const ValueCase cases[] = {
        // Bytes are unsigned.
        {"LDB>=", 200, 100, 1},
        {"LDB<=", 200, 100, 0},
        {"LDB=", 255, 255, 1},
        {"LDB=", 255, 254, 0},
        // Words and double words are signed.
        {"LDW>=", 0xFFFF, 1, 0},
        {"LDW<=", 0xFFFF, 1, 1},
        {"LDW>=", 0x8000, 0x7FFF, 0},
        {"LDW=", 0x1234, 0x1234, 1},
        {"LDD<=", 0x80000000u, 0, 1},
        {"LDD>=", 0x80000000u, 0, 0},
        {"LDD>=", 0x7FFFFFFFu, 0x80000000u, 1},
        {"LDD=", 0xFFFFFFFFu, 0xFFFFFFFFu, 1},
        // Reals compare as numbers, not as bit patterns.
        {"LDR<=", MINUS_TWO, MINUS_ONE, 1},
        {"LDR>=", MINUS_TWO, MINUS_ONE, 0},
        {"LDR>=", ONE, TWO, 0},
        {"LDR<=", MINUS_ONE, ONE, 1},
        {"LDR=", PLUS_ZERO, MINUS_ZERO, 1},
        {"LDR>=", MINUS_ZERO, PLUS_ZERO, 1},
        {"LDR<=", PLUS_ZERO, MINUS_ZERO, 1},
        // Negated forms: <>, < and >.
        {"LDNB=", 5, 5, 0},
        {"LDNB=", 5, 6, 1},
        {"LDNW>=", 5, 5, 0},
        {"LDNW>=", 0xFFFF, 1, 1},
        {"LDND<=", 0, 0x80000000u, 1},
        {"LDND<=", 0x80000000u, 0, 0},
        {"LDNR>=", TWO, TWO, 0},
        {"LDNR>=", ONE, TWO, 1},
        {"LDNR=", PLUS_ZERO, MINUS_ZERO, 0},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(loadCompare(c.mnemonic, c.left, c.right), c.expected)
            << c.mnemonic << " " << c.left << " " << c.right;
}

TEST_F(Compare, UnequalLessAndGreaterCompareByTheirType) {
    const ValueCase cases[] = {
        {"LDB<>", 1, 2, 1},
        {"LDB<>", 7, 7, 0},
        {"LDB<", 100, 200, 1}, // unsigned
        {"LDB>", 200, 100, 1},
        {"LDB<", 200, 200, 0},
        {"LDW<", 0xFFFF, 1, 1}, // signed: -1 < 1
        {"LDW>", 0x8000, 0x7FFF, 0},
        {"LDW>", 3, 3, 0},
        {"LDD<", 0x80000000u, 0x7FFFFFFFu, 1},
        {"LDD>", 0, 0xFFFFFFFFu, 1},
        {"LDD<>", 0x80000000u, 0x80000000u, 0},
        {"LDR<", MINUS_TWO, MINUS_ONE, 1},
        {"LDR>", ONE, TWO, 0},
        {"LDR<>", PLUS_ZERO, MINUS_ZERO, 0},
        {"LDR<>", ONE, TWO, 1},
        {"LDNB<>", 7, 7, 1},
        {"LDNW<", 0xFFFF, 1, 0},
        {"LDNR>", ONE, TWO, 1},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(loadCompare(c.mnemonic, c.left, c.right), c.expected)
            << c.mnemonic << " " << c.left << " " << c.right;
}

TEST_F(Compare, LabelsNameTheRelationAndItsNegation) {
    const std::pair<const char*, const char*> cases[] = {
        {"LDB<> VB0, 1", "<>B"}, {"UW< VW0, 1", "<I"},   {"OD> VD0, 1", ">D"},      {"LDNR<> VD0, 1.0", "/<>R"},
        {"UNB< VB0, 1", "/<B"},  {"ONW> VW0, 1", "/>I"}, {"LDNB= VB0, 1", "/===B"}, {"LDB= VB0, 1", "==B"},
    };
    for (const auto& [line, label] : cases) EXPECT_STREQ(makeInstruction(cpu, line)->boxLabel(), label) << line;
}

TEST_F(Compare, NotANumberMakesEveryRelationFalse) {
    for (const std::string relation : {"=", ">=", "<=", "<>", "<", ">"}) {
        for (const auto& [left, right] :
             {std::pair{NAN_BITS, ONE}, std::pair{ONE, NAN_BITS}, std::pair{NAN_BITS, NAN_BITS}}) {
            EXPECT_EQ(loadCompare("LDR" + relation, left, right), 0) << relation << " " << left << " " << right;
            EXPECT_EQ(loadCompare("LDNR" + relation, left, right), 1) << relation << " " << left << " " << right;
        }
    }
}

TEST_F(Compare, CountersAndTimersCompareTheirValueAsASignedWord) {
    cpu.counters[4].value = -1;
    cpu.timers[5].value = 40000;
    cpu.logicStack = 0;
    makeInstruction(cpu, "LDW>= Z4, 0")->execute(cpu);
    EXPECT_EQ(cpu.logicStack, 0u);
    makeInstruction(cpu, "LDW<= T5, 0")->execute(cpu);
    EXPECT_EQ(cpu.logicStack & 1u, 1u);
}

TEST_F(Compare, AndOrFormsCombineWithThePoppedValue) {
    // VB0 = VB4, so "=" holds and its negation does not.
    cpu.areaV.writeByte(0, 9);
    cpu.areaV.writeByte(4, 9);
    struct Case {
        std::string mnemonic;
        std::string results; // for popped 0 and popped 1
    };
    const Case cases[] = {{"UB=", "01"}, {"UNB=", "00"}, {"OB=", "11"}, {"ONB=", "01"}};
    for (const Case& c : cases) {
        for (std::uint32_t popped = 0; popped < 2; ++popped) {
            cpu.logicStack = 0b10u | popped;
            makeInstruction(cpu, c.mnemonic + " VB0, VB4")->execute(cpu);
            const std::uint32_t expected = static_cast<std::uint32_t>(c.results[popped] - '0');
            EXPECT_EQ(cpu.logicStack, 0b10u | expected) << c.mnemonic << " popped " << popped;
        }
    }
}

TEST_F(Compare, AndOrFormsReadNoOperandWhenTheResultCannotChange) {
    // *VD8 with VD8 = 0 points outside V: any read of it fails.
    struct Case {
        std::string line;
        std::uint32_t decidingPopped;
    };
    const Case cases[] = {
        {"UW= *VD8, 0", 0}, {"UNW= 0, *VD8", 0}, {"UD>= *VD8, 0", 0}, {"UNR<= 0, *VD8", 0},
        {"OB= *VD8, 0", 1}, {"ONB= 0, *VD8", 1}, {"OD<= *VD8, 0", 1}, {"ONR>= 0, *VD8", 1},
    };
    for (const Case& c : cases) {
        cpu.logicStack = c.decidingPopped;
        EXPECT_EQ(runError(c.line), "") << c.line;
        EXPECT_EQ(cpu.logicStack, c.decidingPopped) << c.line;
        cpu.logicStack = 1u - c.decidingPopped;
        EXPECT_EQ(runError(c.line), german::POINTER_OUT_OF_RANGE) << c.line;
    }
    cpu.logicStack = 0;
    EXPECT_EQ(runError("LDB= *VD8, 0"), german::POINTER_OUT_OF_RANGE);
    EXPECT_EQ(runError("LDNB= 0, *VD8"), german::POINTER_OUT_OF_RANGE);
}

TEST_F(Compare, ClosedSegmentPushesZero) {
    cpu.scrState = ScrState::Inactive;
    for (const char* line : {"LDB= 1, 1", "LDNB= 1, 2", "UW>= 2, 1", "OD<= 1, 2", "ONR= 1.0, 2.0"}) {
        cpu.logicStack = 1;
        makeInstruction(cpu, line)->execute(cpu);
        EXPECT_EQ(cpu.logicStack & 1u, 0u) << line;
    }
}

} // namespace
