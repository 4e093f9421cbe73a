#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/program.h"
#include "loader/lexer.h"
#include "loader/parser.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"
#include "support/program_text.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

namespace fs = std::filesystem;
using programtext::load;
using programtext::loadError;

std::string organizationBlock(const std::string& body) {
    return "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n" + body + "END_ORGANIZATION_BLOCK\n";
}

// Copies input E0.0 to output A0.0.
const std::string TO_OUTPUT = organizationBlock("NETWORK 1\nLD E0.0\n= A0.0\n");
// Copies input E0.0 to flag M0.0.
const std::string TO_FLAG = organizationBlock("NETWORK 1\nLD E0.0\n= M0.0\n");

// With E0.0 on, one scan shows which of the two programs is installed.
class ProgramReplacement : public testing::Test {
protected:
    void SetUp() override {
        load(cpu, TO_OUTPUT);
        installed = cpu.program.get();
        cpu.areaE.writeBit(0, 0, 1);
    }

    void expectOutputProgramRuns() {
        EXPECT_EQ(cpu.program.get(), installed);
        scanCycle(cpu);
        EXPECT_EQ(cpu.areaA.readBit(0, 0), 1);
        EXPECT_EQ(cpu.areaM.readBit(0, 0), 0);
    }

    CPU cpu;
    const Program* installed = nullptr;
};

TEST_F(ProgramReplacement, SuccessfulLoadReplacesTheProgram) {
    load(cpu, TO_FLAG);
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaA.readBit(0, 0), 0);
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 1);
}

TEST_F(ProgramReplacement, FailedLoadKeepsThePreviousProgram) {
    struct Case {
        const char* name;
        std::string source;
    };
    const Case cases[] = {
        {"SyntaxErrorInLastBlock", TO_FLAG + "SUBROUTINE_BLOCK SBR_0:SBR0\nBEGIN\nEND_SUBROUTINE_BLOCK"},
        {"BadOperand", organizationBlock("NETWORK 1\nLD E0.0\n= M0.9\n")},
        {"UnknownMnemonic", TO_FLAG + organizationBlock("NETWORK 1\nLD E0.0\nXY M0.0\n")},
        {"UnexpectedCharacter", TO_FLAG + "$"},
        {"EmptyFile", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(loadError(cpu, c.source), "");
        expectOutputProgramRuns();
    }
}

TEST_F(ProgramReplacement, MissingFileKeepsThePreviousProgram) {
    const fs::path missing = fs::temp_directory_path() / "sps_loader_missing" / "none.awl";
    EXPECT_THROW(
        {
            FRead reader(missing.string());
            Parser().parseProgram(cpu, reader);
        },
        CPUException);
    expectOutputProgramRuns();
}

TEST(ProgramFile, LoadsAFileWithCarriageReturnLineFeeds) {
    const fs::path directory = testTempPath("sps_loader_file");
    fs::create_directories(directory);
    const fs::path path = directory / "program.awl";
    std::ofstream(path, std::ios::binary) << "ORGANIZATION_BLOCK OB1:MAIN\r\nBEGIN\r\nNETWORK 1\r\nLD E0.0\r\n"
                                          << "XY A0.0\r\nEND_ORGANIZATION_BLOCK\r\n";
    CPU cpu;
    std::string message;
    try {
        FRead reader(path.string());
        Parser().parseProgram(cpu, reader);
    } catch (const CPUException& error) {
        message = error.messageText();
    }
    fs::remove_all(directory);
    // The factory reports the line after the one it rejected: CR LF counts once.
    EXPECT_EQ(message,
              programtext::parseError(6, "Die angegebene Operation gibt es nicht oder sie ist nicht implementiert"));
}

TEST(LargePrograms, TwoHundredThousandInstructionLinesInOneNetwork) {
    std::string body = "NETWORK 1\n";
    for (int i = 0; i < 100000; ++i) body += "LD E0.0\n= A0.0\n";
    CPU cpu;
    load(cpu, organizationBlock(body));
    EXPECT_EQ(cpu.program->at(0).networks.at(0).ops.size(), 200000u);
}

TEST(LargePrograms, TenThousandNetworks) {
    std::string body;
    for (int i = 1; i <= 10000; ++i) body += "NETWORK " + std::to_string(i) + "\nLD E0.0\n= A0.0\n";
    CPU cpu;
    load(cpu, organizationBlock(body));
    const Block& block = cpu.program->at(0);
    ASSERT_EQ(block.networks.size(), 10000u);
    EXPECT_EQ(block.networks.back().number, 10000);
    EXPECT_EQ(block.networks.back().ops.size(), 2u);
}

// Lines at the length bound load whole, and a run of millions of empty lines
// is one token whose line feeds all count: sizes at which a scanner that
// rescans a growing token from its start takes many minutes.
TEST(LargePrograms, LinesAtTheLengthBoundAndLongRunsOfEmptyLines) {
    constexpr int MAX = MyyyLexer::MAX_LINE_LENGTH;
    const std::string title(MAX - 6, 't');        // after "TITLE="
    const std::string lineComment(MAX - 12, 'n'); // after "NETWORK 1 //"
    const std::string comment(MAX - 2, 'k');      // after "//"
    constexpr std::size_t EMPTY_LINES = 16000000; // large on purpose
    const std::string emptyLines(EMPTY_LINES, '\n');
    CPU cpu;
    load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nTITLE=" + title + "\nBEGIN\nNETWORK 1 //" + lineComment + "\n//" + comment +
                  "\nLD E0.0" + emptyLines + "END_ORGANIZATION_BLOCK\n");
    const Block& block = cpu.program->at(0);
    EXPECT_EQ(block.title, title);
    EXPECT_EQ(block.networks.at(0).lineComment, lineComment);
    EXPECT_EQ(block.networks.at(0).comment, comment);
    EXPECT_EQ(block.networks.at(0).ops.size(), 1u);
    EXPECT_EQ(loadError(cpu, organizationBlock("NETWORK 1" + emptyLines + "$")),
              programtext::unexpectedText(3 + 16000000, "$"));
}

TEST(LargePrograms, LineLongerThanTheBoundIsRefusedNamingIt) {
    constexpr int MAX = MyyyLexer::MAX_LINE_LENGTH;
    const auto tooLong = [](int line) { return formatMessage("Line %d longer than %d characters", line, MAX); };
    struct Case {
        const char* name;
        std::string source;
        std::string error;
    };
    const Case cases[] = {
        {"Comment", organizationBlock("NETWORK 1\n//" + std::string(MAX - 1, 'k') + "\nLD E0.0\n"), tooLong(4)},
        {"Word", organizationBlock("NETWORK " + std::string(MAX - 7, '1') + "\n"), tooLong(3)},
        {"BlanksOnTheLastLine", TO_OUTPUT + std::string(MAX + 1, ' '), tooLong(7)},
        {"EarlierErrorWins", organizationBlock("NETWORK 1\nLD $\n//" + std::string(MAX, 'k')),
         programtext::unexpectedText(4, "$")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPU cpu;
        EXPECT_EQ(loadError(cpu, c.source), c.error);
    }
}

} // namespace
