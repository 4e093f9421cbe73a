#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "loader/program_check.h"

using namespace sps;

namespace {

namespace fs = std::filesystem;

class ProgramCheckTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        directory_ = fs::temp_directory_path() / (std::string("sps_check_") + info->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string write(const std::string& text) {
        const fs::path path = directory_ / "program.awl";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    fs::path directory_;
};

struct ErrorCase {
    const char* name;
    const char* program;
    bool import;
    int line;
    const char* textPart; // the text keeps the line it always named
};

TEST_F(ProgramCheckTest, ErrorsCarryTheLineTheyStandOn) {
    const ErrorCase cases[] = {
        // The parser's text names the line its look-ahead reached; the error
        // itself is the instruction's line.
        {"unknown mnemonic",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0\nXYZ A0.0\nEND_ORGANIZATION_BLOCK\n",
         false, 5, "nahe Zeile 6"},
        {"bad operand",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E9.9\nEND_ORGANIZATION_BLOCK\n",
         false, 4, "nahe Zeile 5"},
        {"unexpected character",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0 ;\nEND_ORGANIZATION_BLOCK\n",
         false, 4, "Zaile 4"},
        {"missing end",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0\nEND_SUBROUTINE_BLOCK\n",
         false, 5, "nahe Zeile 5"},
        {"rule across lines",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "TON T37, 10\nNETWORK 2\nTOF T37, 10\nEND_ORGANIZATION_BLOCK\n",
         false, 6, "T37"},
        {"must stand alone",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0\nLBL 1\nEND_ORGANIZATION_BLOCK\n",
         false, 3, ""},
        {"import: unknown",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0\nXYZ A0.0\nEND_ORGANIZATION_BLOCK\n",
         true, 5, "Zeile 5"},
        {"import: mixed sets",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "A I0.0\nU E0.0\nEND_ORGANIZATION_BLOCK\n",
         true, 5, "Zeile 5"},
        {"import: no end",
         "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
         "U E0.0\n",
         true, 1, "Zeile 1"},
        {"import: outside", "U E0.0\n", true, 1, "Zeile 1"},
    };
    for (const ErrorCase& c : cases) {
        const auto error = checkProgramFile(write(c.program), {.import = c.import, .symbolsPath = {}});
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->line(), c.line) << c.name << ": " << error->messageText();
        EXPECT_NE(error->messageText().find(c.textPart), std::string::npos) << c.name << ": " << error->messageText();
    }
}

TEST_F(ProgramCheckTest, AGoodProgramLoadsBothWays) {
    const std::string path = write("ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\n"
                                   "U E0.0\n= A0.0\nEND_ORGANIZATION_BLOCK\n");
    EXPECT_FALSE(checkProgramFile(path, {.import = false, .symbolsPath = {}}));
    EXPECT_FALSE(checkProgramFile(path, {.import = true, .symbolsPath = {}}));
}

TEST_F(ProgramCheckTest, AMissingFileNamesNoLine) {
    const auto error = checkProgramFile((directory_ / "missing.awl").string(), {.import = false, .symbolsPath = {}});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->line(), 0);
}

} // namespace
