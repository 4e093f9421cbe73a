#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "cpu/program.h"
#include "messages/cpu_exception.h"
#include "messages/latin1.h"
#include "ops/instruction_table.h"
#include "support/program_text.h"

using namespace sps;

namespace {

using programtext::load;
using programtext::loadError;
using programtext::parseError;

const std::string ORGANIZATION_EXPECTED = L1("ORGANIZATION_BLOCK als nächstes Schlüsselwort erwartet");
const std::string UNKNOWN_OPERATION = "Die angegebene Operation gibt es nicht oder sie ist nicht implementiert";
const std::string STANDS_ALONE = "Die verwendete Operation darf nur alleine in einem Netzwerk stehen";

// The header lines of an organization block; the body follows on line 3.
const std::string HEAD = "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n";
const std::string TAIL = "END_ORGANIZATION_BLOCK\n";

struct ErrorCase {
    const char* name;
    std::string source;
    std::string message;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.name; }
};

class ParserErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ParserErrors, ReportTheDetailAndLine) {
    CPU cpu;
    EXPECT_EQ(loadError(cpu, GetParam().source), GetParam().message);
    EXPECT_EQ(cpu.program, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParserErrors,
    testing::Values(
        ErrorCase{"EmptyFile", "", parseError(1, ORGANIZATION_EXPECTED)},
        ErrorCase{"LeadingEmptyLine", "\n" + HEAD + TAIL, parseError(2, ORGANIZATION_EXPECTED)},
        ErrorCase{"LeadingComment", "// x\n" + HEAD + TAIL, parseError(1, ORGANIZATION_EXPECTED)},
        ErrorCase{"WordBeforeBlock", "OB1\n", parseError(1, ORGANIZATION_EXPECTED)},
        ErrorCase{"CommentBetweenBlocks", HEAD + TAIL + "// x\n" + HEAD + TAIL, parseError(4, ORGANIZATION_EXPECTED)},
        ErrorCase{"BlankLineBetweenBlocks", HEAD + TAIL + "  \n" + HEAD + TAIL, parseError(5, ORGANIZATION_EXPECTED)},
        ErrorCase{"MissingBlockName", "ORGANIZATION_BLOCK\nBEGIN\n", parseError(2, "Blockname expected")},
        ErrorCase{"MissingColonAtLineEnd", "ORGANIZATION_BLOCK OB1\nBEGIN\n", parseError(2, ": expected")},
        ErrorCase{"MissingColon", "ORGANIZATION_BLOCK OB1 MAIN\nBEGIN\n", parseError(1, ": expected")},
        ErrorCase{"MissingLabel", "ORGANIZATION_BLOCK OB1:\nBEGIN\n", parseError(2, "Name after : expected")},
        ErrorCase{"WordAfterLabel", "ORGANIZATION_BLOCK OB1:MAIN X\nBEGIN\n", parseError(1, "Newline expected")},
        ErrorCase{"TitleAtEndOfFile", "ORGANIZATION_BLOCK OB1:MAIN\nTITLE=x", parseError(2, "Newline expected")},
        ErrorCase{"SecondTitle", "ORGANIZATION_BLOCK OB1:MAIN\nTITLE=a\nTITLE=b\nBEGIN\n" + TAIL,
                  parseError(3, "BEGIN expected")},
        ErrorCase{"TitleAfterComment", "ORGANIZATION_BLOCK OB1:MAIN\n// c\nTITLE=a\nBEGIN\n" + TAIL,
                  parseError(3, "BEGIN expected")},
        ErrorCase{"CommentAtEndOfFile", "ORGANIZATION_BLOCK OB1:MAIN\n// c", parseError(2, "Newline expected")},
        ErrorCase{"WordAfterBegin", "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN x\n" + TAIL, parseError(2, "Newline expected")},
        ErrorCase{"WrongEndKeyword", HEAD + "END_SUBROUTINE_BLOCK\n", parseError(3, "End-Block expected")},
        ErrorCase{"InstructionsDirectlyAfterBegin", HEAD + "LD E0.0\n" + TAIL, parseError(3, "End-Block expected")},
        ErrorCase{"CommentBetweenInstructions", HEAD + "NETWORK 1\nLD E0.0\n// c\n= A0.0\n" + TAIL,
                  parseError(5, "End-Block expected")},
        ErrorCase{"BlankLineBetweenInstructions", HEAD + "NETWORK 1\nLD E0.0\n  \n= A0.0\n" + TAIL,
                  parseError(6, "End-Block expected")},
        ErrorCase{"LineStartingWithComma", HEAD + "NETWORK 1\n, E0.0\n" + TAIL, parseError(4, "End-Block expected")},
        ErrorCase{"NoFinalLineBreak", HEAD + "NETWORK 1\nLD E0.0\n= A0.0\nEND_ORGANIZATION_BLOCK",
                  parseError(6, "Newline expected")},
        ErrorCase{"WordAfterEndKeyword", HEAD + "END_ORGANIZATION_BLOCK OB1\n", parseError(3, "Newline expected")},
        ErrorCase{"NetworkWithoutId", HEAD + "NETWORK\nLD E0.0\n" + TAIL, parseError(4, "Network-ID expected")},
        ErrorCase{"NetworkIdNotANumber", HEAD + "NETWORK 1a\n" + TAIL, parseError(3, "Network-ID is no number")},
        ErrorCase{"NegativeNetworkId", HEAD + "NETWORK -1\n" + TAIL, parseError(3, "Network-ID is no number")},
        ErrorCase{"SecondWordOnNetworkLine", HEAD + "NETWORK 1 2\n" + TAIL, parseError(3, "Newline expected")},
        ErrorCase{"TitleOnNetworkLine", HEAD + "NETWORK 1 TITLE=x\n" + TAIL, parseError(3, "Newline expected")},
        ErrorCase{"TrailingCommentOnInstruction", HEAD + "NETWORK 1\nLD E0.0 // c\n" + TAIL,
                  parseError(4, "Newline expected")},
        ErrorCase{"ColonOnInstruction", HEAD + "NETWORK 1\nLD E0.0:\n" + TAIL, parseError(4, "Newline expected")}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// The instruction factory and the operand check run after the line break of
// their line was read, so they report the following line.
INSTANTIATE_TEST_SUITE_P(
    Instructions, ParserErrors,
    testing::Values(
        ErrorCase{"UnknownMnemonic", HEAD + "NETWORK 1\nXY E0.0\n" + TAIL, parseError(5, UNKNOWN_OPERATION)},
        ErrorCase{"LowerCaseMnemonic", HEAD + "NETWORK 1\nld E0.0\n" + TAIL, parseError(5, UNKNOWN_OPERATION)},
        ErrorCase{"LaterLineAfterEmptyLines", HEAD + "NETWORK 1\nXY E0.0\n\n\n" + TAIL,
                  parseError(7, UNKNOWN_OPERATION)},
        ErrorCase{"BadOperandBeforeUnknownMnemonic", HEAD + "NETWORK 1\nXY E0.9\n" + TAIL,
                  parseError(5, "Die Bitnummer ist nicht im Bereich von 0 bis 7")},
        ErrorCase{"TooManyOperands", HEAD + "NETWORK 1\nLD E0.0 E0.1\n" + TAIL,
                  parseError(5, "Es wurde kein Parameter erwartet, es war aber einer angegeben.")},
        ErrorCase{"LeadingCommaLeavesOperandOneEmpty", HEAD + "NETWORK 1\nLD , E0.0\n" + TAIL,
                  parseError(5, "Es wird ein Parameter erwartet")},
        ErrorCase{"FactoryErrorBeforeNewlineCheck", HEAD + "NETWORK 1\nXY E0.0 // c\n" + TAIL,
                  parseError(4, UNKNOWN_OPERATION)},
        ErrorCase{"LastLineWithoutLineBreak", HEAD + "NETWORK 1\nXY E0.0", parseError(4, UNKNOWN_OPERATION)}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(Parser, ScannerErrorsAreNotWrapped) {
    CPU cpu;
    EXPECT_EQ(loadError(cpu, HEAD + "NETWORK 1\nLD E0.0;\n" + TAIL), programtext::unexpectedText(4, ";"));
}

std::vector<std::string> mnemonics(const Network& network) {
    std::vector<std::string> result;
    for (const auto& op : network.ops) result.emplace_back(op->mnemonic());
    return result;
}

TEST(Parser, BuildsTheProgramTreeInFileOrder) {
    CPU cpu;
    load(cpu, "SUBROUTINE_BLOCK SBR_0:SBR0\n"
              "TITLE= Unterprogramm\n"
              "// Zeile 1\n"
              "//\n"
              "// Zeile 3\n"
              "BEGIN\n"
              "Network 007 // erstes\n"
              "// Netz 1\n"
              "// Netz 2\n"
              "LD E0.0\n"
              "= A0.0\n"
              "NETWORK 2\n"
              "NETWORK 3\n"
              "LDB= VB0, 5\n"
              "ONB>= VB1 VB2\n"
              "END_SUBROUTINE_BLOCK\n"
              "\n\n"
              "ORGANIZATION_BLOCK OB1:MAIN\r\n"
              "BEGIN\r\n"
              "END_ORGANIZATION_BLOCK\r\n"
              "INTERRUPT_BLOCK INT_0:INT0\n"
              "BEGIN\n"
              "NETWORK 1\n"
              "NOT\n"
              "END_INTERRUPT_BLOCK\n");
    ASSERT_NE(cpu.program, nullptr);
    const Program& program = *cpu.program;
    ASSERT_EQ(program.size(), 3u);

    const Block& subroutine = program[0];
    EXPECT_EQ(subroutine.kind, BLOCK_SUBROUTINE);
    EXPECT_EQ(subroutine.name, "SBR_0");
    EXPECT_EQ(subroutine.label, "SBR0");
    EXPECT_EQ(subroutine.title, " Unterprogramm");
    EXPECT_EQ(subroutine.comment, " Zeile 1\n\n Zeile 3");
    ASSERT_EQ(subroutine.networks.size(), 3u);
    const Network& first = subroutine.networks[0];
    EXPECT_EQ(first.number, 7);
    EXPECT_EQ(first.lineComment, " erstes");
    EXPECT_EQ(first.comment, " Netz 1\n Netz 2");
    EXPECT_EQ(mnemonics(first), (std::vector<std::string>{"LD", "="}));
    EXPECT_EQ(subroutine.networks[1].number, 2);
    EXPECT_TRUE(subroutine.networks[1].ops.empty());
    EXPECT_EQ(subroutine.networks[1].lineComment, std::nullopt);
    EXPECT_EQ(subroutine.networks[1].comment, std::nullopt);
    EXPECT_EQ(mnemonics(subroutine.networks[2]), (std::vector<std::string>{"LDB=", "ONB>="}));
    ASSERT_NE(subroutine.networks[2].ops[1]->operand2(), nullptr);

    const Block& organization = program[1];
    EXPECT_EQ(organization.kind, BLOCK_ORGANIZATION);
    EXPECT_EQ(organization.name, "OB1");
    EXPECT_EQ(organization.label, "MAIN");
    EXPECT_EQ(organization.title, std::nullopt);
    EXPECT_EQ(organization.comment, std::nullopt);
    EXPECT_TRUE(organization.networks.empty());

    const Block& interrupt = program[2];
    EXPECT_EQ(interrupt.kind, BLOCK_INTERRUPT);
    EXPECT_EQ(interrupt.name, "INT_0");
    ASSERT_EQ(interrupt.networks.size(), 1u);
    EXPECT_EQ(mnemonics(interrupt.networks[0]), (std::vector<std::string>{"NOT"}));
}

TEST(Parser, EmptyTitleAndCommentArePresentButEmpty) {
    CPU cpu;
    load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nTITLE=\n//\nBEGIN\nNETWORK 0 //\n" + TAIL);
    const Block& block = cpu.program->at(0);
    EXPECT_EQ(block.title, "");
    EXPECT_EQ(block.comment, "");
    EXPECT_EQ(block.networks.at(0).lineComment, "");
    EXPECT_EQ(block.networks.at(0).number, 0);
}

TEST(Parser, HugeNetworkNumbersWrapInsteadOfOverflowing) {
    CPU cpu;
    load(cpu, HEAD + "NETWORK 4294967297\n" + TAIL);
    EXPECT_EQ(cpu.program->at(0).networks.at(0).number, 1);
}

// LBL and SCRE must be alone in their network. The test waits until the
// instruction table knows them.
class StandAlone : public testing::Test {
protected:
    void SetUp() override {
        struct Probe {
            const char* mnemonic;
            const char* operand;
        };
        for (const Probe& probe : {Probe{"LBL", "1"}, Probe{"SCRE", nullptr}}) {
            try {
                createOperation(cpu, probe.mnemonic, probe.operand, nullptr, nullptr);
            } catch (const CPUException& error) {
                if (error.messageText() == UNKNOWN_OPERATION) GTEST_SKIP() << probe.mnemonic << " not built yet";
            }
        }
    }

    static std::string network(const std::string& lines) { return HEAD + "NETWORK 1\n" + lines + TAIL; }

    CPU cpu;
};

TEST_F(StandAlone, AloneInItsNetworkLoads) {
    EXPECT_EQ(loadError(cpu, HEAD + "NETWORK 1\nLBL 1\nNETWORK 2\nSCRE\nNETWORK 3\nLD E0.0\n= A0.0\n" + TAIL), "");
}

TEST_F(StandAlone, AnyNeighbourFailsWithoutLineNumber) {
    for (const char* lines : {"LBL 1\nLD E0.0\n", "LD E0.0\nLBL 1\n", "LD E0.0\nLBL 1\n= A0.0\n", "SCRE\nNOT\n",
                              "NOT\nSCRE\n", "LBL 1\nSCRE\n", "LBL 1\nLBL 2\n"})
        EXPECT_EQ(loadError(cpu, network(lines)), STANDS_ALONE) << lines;
}

TEST_F(StandAlone, ErrorsLaterInTheSameNetworkComeFirst) {
    EXPECT_EQ(loadError(cpu, network("LBL 1\nXY\n")), parseError(6, UNKNOWN_OPERATION));
    EXPECT_EQ(loadError(cpu, network("LBL 1\nLD E0.0 // c\n")), parseError(5, "Newline expected"));
}

TEST_F(StandAlone, CheckedBeforeLaterNetworks) {
    EXPECT_EQ(loadError(cpu, network("LBL 1\nLD E0.0\nNETWORK x\n")), STANDS_ALONE);
}

TEST(ParserNetworks, KnowTheLineOfTheirKeyword) {
    CPU cpu;
    load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\nLD M0.0\n\nNETWORK 2\nLD M0.1\n"
              "END_ORGANIZATION_BLOCK\n");
    EXPECT_EQ(cpu.program->at(0).networks.at(0).line, 3);
    EXPECT_EQ(cpu.program->at(0).networks.at(1).line, 6);
}

} // namespace
