// The instruction table and the common instruction interface: every bit-logic
// and compare mnemonic with its queries and operand checks, the factory, and
// the text output of instructions and operands.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/instruction_table.h"
#include "support/error_text.h"
#include "support/german_texts.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::loadError;
using harness::makeInstruction;

struct Failure {
    std::string line;
    const char* text;
};

struct MnemonicRow {
    std::string mnemonic;
    std::string label;
    LadderKind kind;
    std::vector<std::string> validLines;
    std::set<int> pins;
    std::vector<Failure> failures;
};

void PrintTo(const MnemonicRow& row, std::ostream* os) { *os << row.mnemonic; }

std::vector<MnemonicRow> bitLogicRows() {
    using namespace german;
    const std::set<int> bit{1};
    const std::set<int> bitAndCount{1, 2};
    // clang-format off
    return {
        {"LD", "", LK_CONTACT, {"LD M0.0", "LD T37", "LD 1"}, bit, {{"LD VB0", CANT_READ_BIT}, {"LD", OPERAND_EXPECTED}}},
        {"LDN", "/", LK_CONTACT, {"LDN Z3"}, bit, {{"LDN E0.0, E0.1", NO_OPERAND_EXPECTED}}},
        {"U", "", LK_CONTACT, {"U SM0.0"}, bit, {{"U AC0", CANT_READ_BIT}}},
        {"UN", "/", LK_CONTACT, {"UN V10.7"}, bit, {{"UN SBR0", CANT_READ_BIT}}},
        {"O", "", LK_CONTACT, {"O S1.1"}, bit, {{"O 1.5", CANT_READ_BIT}}},
        {"ON", "/", LK_CONTACT, {"ON A0.0"}, bit, {{"ON *VD0", CANT_READ_BIT}}},
        {"LDI", "I", LK_CONTACT, {"LDI E0.0"}, bit, {{"LDI M0.0", ONLY_E}}},
        {"LDNI", "/I", LK_CONTACT, {"LDNI E1.7"}, bit, {{"LDNI A0.0", ONLY_E}}},
        // The capability is tested before the kind.
        {"UI", "I", LK_CONTACT, {"UI E0.1"}, bit, {{"UI EB0", CANT_READ_BIT}}},
        {"UNI", "/I", LK_CONTACT, {"UNI E0.2"}, bit, {{"UNI T37", ONLY_E}}},
        {"OI", "I", LK_CONTACT, {"OI E0.3"}, bit, {{"OI 1", ONLY_E}}},
        {"ONI", "/I", LK_CONTACT, {"ONI E0.4"}, bit, {{"ONI", OPERAND_EXPECTED}}},
        {"=", "", LK_COIL, {"= A0.0", "= M0.0", "= E0.0"}, bit,
         {{"= T37", TYPE_NOT_POSSIBLE}, {"= Z1", CANT_WRITE_BIT}, {"= 1", CANT_WRITE_BIT}}},
        {"=I", "I", LK_COIL, {"=I A0.0"}, bit, {{"=I M0.0", ONLY_A_POSSIBLE}, {"=I VB0", CANT_WRITE_BIT}}},
        // Operand 2's capability is tested before operand 1's kind.
        {"S", "S", LK_COIL, {"S M0.0, 1", "S V0.0, VB7"}, bitAndCount,
         {{"S T37, 1", TYPE_NOT_POSSIBLE}, {"S T37, 1.5", CANT_READ_BYTE}, {"S M0.0", SECOND_OPERAND_EXPECTED},
          {"S Z1, 1", CANT_WRITE_BIT}}},
        {"R", "R", LK_COIL, {"R T37, 1", "R Z1, 1", "R M0.0, 8", "R A0.0, AC0"}, bitAndCount,
         {{"R MB0, 1", CANT_WRITE_BIT}, {"R Z1, 1.5", CANT_READ_BYTE}, {"R M0.0, 1, 2", NO_OPERAND_EXPECTED}}},
        {"SI", "SI", LK_COIL, {"SI A0.0, 2"}, bitAndCount,
         {{"SI M0.0, 1", ONLY_A_POSSIBLE}, {"SI A0.0, 1.5", CANT_READ_BYTE}}},
        {"RI", "RI", LK_COIL, {"RI A1.0, VB0"}, bitAndCount,
         {{"RI E0.0, 1", ONLY_A_POSSIBLE}, {"RI AC0, 1", CANT_WRITE_BIT}, {"RI T37, 1.5", CANT_READ_BYTE}}},
        {"NOT", "NOT", LK_CONTACT, {"NOT"}, {}, {{"NOT M0.0", NO_OPERAND_EXPECTED}}},
        {"EU", "P", LK_CONTACT, {"EU"}, {}, {{"EU 1", NO_OPERAND_EXPECTED}}},
        {"ED", "N", LK_CONTACT, {"ED"}, {}, {{"ED SBR0", NO_OPERAND_EXPECTED}}},
        {"ULD", "", LK_NONE, {"ULD"}, {}, {{"ULD M0.0, M0.1", NO_OPERAND_EXPECTED}}},
        {"OLD", "", LK_NONE, {"OLD"}, {}, {{"OLD E0.0", NO_OPERAND_EXPECTED}}},
        {"LPS", "", LK_NONE, {"LPS"}, {}, {{"LPS T1", NO_OPERAND_EXPECTED}}},
        {"LRD", "", LK_NONE, {"LRD"}, {}, {{"LRD VB0", NO_OPERAND_EXPECTED}}},
        {"LPP", "", LK_NONE, {"LPP"}, {}, {{"LPP AC0", NO_OPERAND_EXPECTED}}},
    };
    // clang-format on
}

// The 72 compare contacts: prefix x type x relation.
std::vector<MnemonicRow> compareRows() {
    using namespace german;
    struct TypeCase {
        char letter;
        char labelLetter;
        std::string validOperands;
        std::string badOperands;
        const char* badText;
    };
    const TypeCase types[] = {
        {'B', 'B', "VB0, 200", "T37, VB0", CANT_READ_BYTE},
        {'W', 'I', "VW0, Z1", "VW0, VB0", CANT_READ_WORD},
        {'D', 'D', "VD0, AC1", "VW0, VD0", CANT_READ_DWORD},
        {'R', 'R', "VD0, 1.5", "VD0, Z1", CANT_READ_DWORD},
    };
    std::vector<MnemonicRow> rows;
    for (const std::string prefix : {"LD", "LDN", "U", "UN", "O", "ON"}) {
        const bool negated = prefix == "LDN" || prefix == "UN" || prefix == "ON";
        for (const TypeCase& type : types) {
            for (const std::string relation : {"=", ">=", "<="}) {
                const std::string mnemonic = prefix + type.letter + relation;
                std::string label = relation == "=" ? "==" : relation;
                if (negated) label = "/" + (relation == "=" ? std::string("===") : relation);
                label += type.labelLetter;
                const std::string firstOperand = type.validOperands.substr(0, type.validOperands.find(','));
                const std::vector<Failure> failures{{mnemonic + " " + type.badOperands, type.badText},
                                                    {mnemonic + " " + firstOperand, SECOND_OPERAND_EXPECTED},
                                                    {mnemonic + " " + type.validOperands + ", 3", NO_OPERAND_EXPECTED}};
                rows.push_back({mnemonic, label, LK_CONTACT, {mnemonic + " " + type.validOperands}, {1, 2}, failures});
            }
        }
    }
    return rows;
}

std::vector<MnemonicRow> allRows() {
    std::vector<MnemonicRow> rows = bitLogicRows();
    for (MnemonicRow& row : compareRows()) rows.push_back(std::move(row));
    return rows;
}

std::string testName(const testing::TestParamInfo<MnemonicRow>& info) {
    std::string name;
    for (char c : info.param.mnemonic) {
        if (c == '=')
            name += "eq";
        else if (c == '>')
            name += "gt";
        else if (c == '<')
            name += "lt";
        else
            name += c;
    }
    return name;
}

class MnemonicTest : public testing::TestWithParam<MnemonicRow> {
protected:
    CPU cpu;
};

TEST_P(MnemonicTest, AppearsExactlyOnceInTheTable) {
    const auto table = instructionTable();
    const auto count = std::count_if(table.begin(), table.end(), [&](const TableEntry& entry) {
        return GetParam().mnemonic == entry.row->mnemonic;
    });
    EXPECT_EQ(count, 1);
}

TEST_P(MnemonicTest, LoadsWithValidOperandsAndAnswersItsQueries) {
    const MnemonicRow& row = GetParam();
    for (const std::string& line : row.validLines) {
        SCOPED_TRACE(line);
        std::unique_ptr<Operation> op;
        ASSERT_NO_THROW(op = makeInstruction(cpu, line));
        EXPECT_EQ(op->mnemonic(), row.mnemonic);
        EXPECT_EQ(op->boxLabel(), row.label);
        EXPECT_EQ(op->ladderKind(), row.kind);
        EXPECT_FALSE(op->standsAlone());
        EXPECT_EQ(op->boxMergeInfo().pin, 0);
        for (int pin = 1; pin <= 5; ++pin) {
            StringWriter name;
            op->pinName(name, pin, 0, nullptr);
            EXPECT_EQ(!name.text().empty(), row.pins.count(pin) == 1) << "pin " << pin;
        }
    }
}

TEST_P(MnemonicTest, RejectsOperandsWithTheCatalogText) {
    for (const Failure& failure : GetParam().failures)
        EXPECT_EQ(loadError(cpu, failure.line), failure.text) << failure.line;
}

INSTANTIATE_TEST_SUITE_P(BitLogicAndCompare, MnemonicTest, testing::ValuesIn(allRows()), testName);

TEST(InstructionTable, HasNoMnemonicTwice) {
    std::set<std::string> seen;
    for (const TableEntry& entry : instructionTable())
        EXPECT_TRUE(seen.insert(entry.row->mnemonic).second) << entry.row->mnemonic;
}

TEST(InstructionFactory, MatchesTheWholeMnemonicExactly) {
    CPU cpu;
    for (const char* line :
         {"ld M0.0", "Ld M0.0", "ldb= VB0, 1", "LDB=> VB0, 1", "LDB<< VB0, 1", "LDBX VB0, 1", "L M0.0", "OUT"}) {
        EXPECT_EQ(loadError(cpu, line), german::UNKNOWN_OPERATION) << line;
    }
    for (const char* mnemonic : {"LD ", " LD"}) {
        EXPECT_EQ(errorText([&] { createOperation(cpu, mnemonic, "M0.0", nullptr, nullptr); }),
                  german::UNKNOWN_OPERATION);
    }
}

TEST(InstructionFactory, ReportsABadOperandBeforeLookingAtTheMnemonic) {
    CPU cpu;
    EXPECT_EQ(loadError(cpu, "XYZ Q1"), german::UNKNOWN_PARAMETER_TYPE);
    EXPECT_EQ(loadError(cpu, "ld M0.0, Q1"), german::UNKNOWN_PARAMETER_TYPE);
}

TEST(InstructionFactory, KeepsExactlyTheOperandsOfTheLine) {
    CPU cpu;
    const auto op = createOperation(cpu, "NOT", nullptr, "M0.1", nullptr);
    EXPECT_EQ(op->operand1(), nullptr);
    ASSERT_NE(op->operand2(), nullptr);
    EXPECT_EQ(op->operand3(), nullptr);
    EXPECT_EQ(op->operand2()->kind(), PK_M);
}

TEST(OperandCount, ChecksEverySlotInOrder) {
    CPU cpu;
    const auto errorOf = [&](const char* mnemonic, const char* a, const char* b, const char* c) -> std::string {
        try {
            createOperation(cpu, mnemonic, a, b, c)->checkOperands();
        } catch (const CPUException& e) {
            return e.messageText();
        }
        return "";
    };
    EXPECT_EQ(errorOf("S", nullptr, "1", nullptr), german::OPERAND_EXPECTED);
    EXPECT_EQ(errorOf("LDB=", nullptr, "VB0", nullptr), german::OPERAND_EXPECTED);
    EXPECT_EQ(errorOf("LD", "M0.0", nullptr, "M0.1"), german::NO_OPERAND_EXPECTED);
    EXPECT_EQ(errorOf("ULD", nullptr, nullptr, "M0.0"), german::NO_OPERAND_EXPECTED);
    EXPECT_EQ(errorOf("S", "M0.0", "1", "1"), german::NO_OPERAND_EXPECTED);
    // The count is checked before any capability.
    EXPECT_EQ(errorOf("S", "MB0", nullptr, nullptr), german::SECOND_OPERAND_EXPECTED);
    EXPECT_EQ(errorOf("LD", "MB0", "MB1", nullptr), german::NO_OPERAND_EXPECTED);
}

// ---- text output ----

// An operand readable as bit and byte only, to see every width written.
class BitAndByteOperand final : public Parameter {
public:
    BitAndByteOperand() : Parameter(PK_M, {CAP_READ_BIT | CAP_READ_BYTE, 0}) {}
    void printName(Writer& writer) const override { writer.putString(" MX"); }
    int getBit() override { return 1; }
    int getByte() override { return 129; }
};

class TextOutput : public testing::Test {
protected:
    std::string formatted(const std::string& operandText, char letter) {
        const auto operand = parseOperand(cpu, operandText);
        StringWriter out;
        formatValue(out, operand.get(), letter);
        return out.text();
    }

    CPU cpu;
};

TEST_F(TextOutput, FormatValueWritesTheWidthOfTheLetter) {
    cpu.areaE.writeBit(0, 3, 1);
    cpu.areaV.writeDword(0, 0xFFFFFFFFu);
    cpu.areaV.writeDword(8, 0x3FC00000u); // 1.5
    cpu.areaV.writeByte(12, 200);
    cpu.accumulators[0] = 0x12345678u;
    struct Case {
        std::string operand;
        char letter;
        std::string expected;
    };
    const Case cases[] = {
        {"E0.3", 'I', "1"},
        {"VB12", 'B', "200"},
        {"VW0", 'W', "65535"},
        {"VD0", 'D', "4294967295"},
        {"VD8", 'R', "+1.5"},
        {"AC0", 'W', "22136"},
        {"AC0", 'R', "+5.69046E-28"},
        {"1", 'I', ""},
        {"16#FF", 'B', ""},
        {"1.5", 'R', ""},
        {"SBR0", 'S', ""},
        // A letter whose width cannot be read, or no width letter: every readable width.
        {"VB12", 'I', "200"},
        {"VB12", 'W', "200"},
        {"VW0", 'D', "65535"},
        {"AC0", 'I', "120:22136:305419896"},
        {"AC0", 'S', "120:22136:305419896"},
        {"E0.3", 'T', "1"},
        {"AAW0", 'W', ""},
    };
    for (const Case& c : cases) EXPECT_EQ(formatted(c.operand, c.letter), c.expected) << c.operand << " " << c.letter;
}

TEST_F(TextOutput, FormatValueShowsTimersAndCountersAsBitAndValue) {
    cpu.timers[37].value = 150;
    cpu.timers[37].preset = 300;
    cpu.counters[2].value = 5;
    cpu.counters[2].preset = 5;
    for (char letter : {'T', 'I', 'W', 'D'}) {
        EXPECT_EQ(formatted("T37", letter), "0:150") << letter;
        EXPECT_EQ(formatted("Z2", letter), "1:5") << letter;
    }
}

TEST_F(TextOutput, FormatValueFallsBackToEveryReadableWidth) {
    BitAndByteOperand operand;
    for (char letter : {'W', 'D', 'R', 'S', 'Z'}) {
        StringWriter out;
        formatValue(out, &operand, letter);
        EXPECT_EQ(out.text(), "1:129") << letter;
    }
    StringWriter byteOnly;
    formatValue(byteOnly, &operand, 'B');
    EXPECT_EQ(byteOnly.text(), "129");
}

TEST_F(TextOutput, PinsShowOwnOperandsWithTheirFormat) {
    cpu.areaV.writeDword(0, 0x3FC00000u);
    cpu.areaV.writeByte(7, 10);
    struct Case {
        std::string line;
        int pin;
        std::string name;
        std::string value;
    };
    const Case cases[] = {
        {"LD V0.6", 1, " V0.6", "0"},          {"LD V0.2", 1, " V0.2", "1"},
        {"S V0.0, VB7", 2, " VB7", "10"},      {"S V0.0, VB7", 1, " V0.0", "1"},
        {"LDR= VD0, VD0", 2, " VD0", "+1.5"},  {"LDD= VD0, VD0", 1, " VD0", "1069547520"},
        {"LDW= VW0, VW0", 1, " VW0", "16320"}, {"LDB= VB0, VB0", 2, " VB0", "63"},
        {"LDB= 5, VB0", 1, " 5", ""},
    };
    for (const Case& c : cases) {
        const auto op = makeInstruction(cpu, c.line);
        StringWriter name;
        StringWriter value;
        op->pinName(name, c.pin, 0, nullptr);
        op->pinValue(value, c.pin, 0, nullptr);
        EXPECT_EQ(name.text(), c.name) << c.line << " pin " << c.pin;
        EXPECT_EQ(value.text(), c.value) << c.line << " pin " << c.pin;
    }
}

TEST_F(TextOutput, SubstituteOperandStandsInOnlyAtItsPin) {
    cpu.areaV.writeWord(0, 0xFFFF);
    cpu.areaM.writeWord(2, 7);
    const auto substitute = parseOperand(cpu, "MW2");
    const auto op = makeInstruction(cpu, "LDW>= VW0, VW0");

    const auto pinText = [&](int pin, int substitutePin) {
        StringWriter out;
        op->pinName(out, pin, substitutePin, substitute.get());
        out.putChar('=');
        op->pinValue(out, pin, substitutePin, substitute.get());
        return out.text();
    };
    EXPECT_EQ(pinText(1, 1), " MW2=7");
    EXPECT_EQ(pinText(2, 1), " VW0=65535");
    EXPECT_EQ(pinText(2, 2), " MW2=7");
    EXPECT_EQ(pinText(1, 0), " VW0=65535");
    // A pin the instruction does not have stays empty, substitute or not.
    EXPECT_EQ(pinText(3, 3), "=");
    EXPECT_EQ(pinText(5, 5), "=");
}

TEST_F(TextOutput, InstructionsWithoutOperandsHaveNoPins) {
    const auto substitute = parseOperand(cpu, "M0.0");
    for (const char* line : {"NOT", "EU", "ED", "ULD", "OLD", "LPS", "LRD", "LPP"}) {
        const auto op = makeInstruction(cpu, line);
        for (int pin = 1; pin <= 5; ++pin) {
            StringWriter out;
            op->pinName(out, pin, pin, substitute.get());
            op->pinValue(out, pin, pin, substitute.get());
            EXPECT_EQ(out.text(), "") << line << " pin " << pin;
        }
    }
}

// Readable as bit and byte by its capabilities, but the byte read fails, as a
// read beyond the end of an area does.
class FailingByteOperand final : public Parameter {
public:
    FailingByteOperand() : Parameter(PK_M, {CAP_READ_BIT | CAP_READ_BYTE, 0}) {}
    void printName(Writer& writer) const override { writer.putString(" MX"); }
    int getBit() override { return 1; }
    int getByte() override { throwMessage("Out of field read"); }
};

TEST_F(TextOutput, ValueThatCannotBeReadLeavesNoTextOrShowsAsQuestionMark) {
    FailingByteOperand operand;
    StringWriter out;
    EXPECT_THROW(formatValue(out, &operand, 'S'), CPUException);
    EXPECT_EQ(out.text(), "");
    formatShownValue(out, &operand, 'S');
    EXPECT_EQ(out.text(), "?");

    // Pins of operands that load but cannot be read while VD0 holds 0.
    const std::pair<const char*, int> pins[] = {
        {"LD E8.1", 1}, {"MOVD *VD0, VD4", 3}, {"MOVB VB5000, VB4", 3}, {"LDB= *VD0, 5", 1}};
    for (const auto& [line, pin] : pins) {
        StringWriter value;
        makeInstruction(cpu, line)->pinValue(value, pin, 0, nullptr);
        EXPECT_EQ(value.text(), "?") << line;
    }
}

} // namespace
