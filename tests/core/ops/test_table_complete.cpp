// The whole mnemonic catalogue: every mnemonic loads with valid operands, and
// each data, timer, control and table instruction answers its ladder queries
// and rejects a bad operand with the exact German message.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/writer.h"
#include "messages/latin1.h"
#include "ops/instruction_table.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::loadError;
using harness::makeInstruction;

const std::string kNeedOperand = L1("Es wird ein Parameter erwartet");
const std::string kNeedSecond = L1("Es wird ein zweiter Parameter erwartet");
const std::string kNeedThird = L1("Es wird ein dritter Parameter erwartet");
const std::string kNoOperand = L1("Es wurde kein Parameter erwartet, es war aber einer angegeben.");
const std::string kReadBit = L1("Der angegebene Parameter kann nicht als Bit ausgelesen werden.");
const std::string kReadByte = L1("Der angegebene Parameter kann nicht als Byte gelesen werden");
const std::string kReadWord = L1("Der angegebene Parameter kann nicht als Word gelesen werden.");
const std::string kReadDword = L1("Der angegebene Parameter kann nicht als DWord gelesen werden.");
const std::string kWriteByte = L1("Kann den angegebenen Parameter nicht als Byte schreiben");
const std::string kWriteWord = L1("Kann den angegebenen Parameter nicht als Word schreiben");
const std::string kWriteDword = L1("Kann den angegebenen Parameter nicht als DWord schreiben");
const std::string kOnlyNumber = L1("Es wird eine Zahl als Parameter erwartet.");
const std::string kSbrExpected = L1("Es wird der Name eines Unterprogrammes erwartet, der mit SBR beginnt");
const std::string kOnlyS = L1("Es ist nur S als Parametertyp möglich");
const std::string kCounterExpected = L1("Es wird ein Zähler als Parameter erwartet");
const std::string kOnlyTon = L1("Der ausgewählte Zähler unterstützt nur die Funktion TON");

struct Expected {
    const char* line; // loads
    const char* label;
    LadderKind kind;
    bool standsAlone;
    std::optional<Width> mergeSize; // none: no merge pin
    const char* badLine;
    const std::string* error;
};

constexpr std::optional<Width> NO_MERGE{};

const std::vector<Expected>& ownInstructions() {
    static const std::vector<Expected> rows = {
        {"MOVB VB0, VB1", "MOV_B", LK_BOX1, false, NO_MERGE, "MOVB VW0, 5", &kWriteByte},
        {"MOVW VW0, VW2", "MOV_W", LK_BOX1, false, NO_MERGE, "MOVW VB0, VW2", &kReadWord},
        {"MOVD VD0, VD4", "MOV_DW", LK_BOX1, false, NO_MERGE, "MOVD VD0, VW4", &kWriteDword},
        {"MOVR 1.5, VD4", "MOV_R", LK_BOX1, false, NO_MERGE, "MOVR 1.5, 2.5", &kWriteDword},
        {"INCB VB0", "INC_B", LK_BOX1, false, Width::Byte, "INCB 5", &kWriteByte},
        {"INCW VW0", "INC_W", LK_BOX1, false, Width::Word, "INCW AEW0", &kWriteWord},
        {"INCD VD0", "INC_DW", LK_BOX1, false, Width::Dword, "INCD", &kNeedOperand},
        {"DECB VB0", "DEC_B", LK_BOX1, false, Width::Byte, "DECB VB0, VB1", &kNoOperand},
        {"DECW AC0", "DEC_W", LK_BOX1, false, Width::Word, "DECW VB0", &kWriteWord},
        {"DECD VD0", "DEC_DW", LK_BOX1, false, Width::Dword, "DECD VW0", &kWriteDword},
        {"INVB VB0", "INV_B", LK_BOX1, false, Width::Byte, "INVB VW0", &kWriteByte},
        {"INVW VW0", "INV_W", LK_BOX1, false, Width::Word, "INVW AAW0", &kReadWord},
        {"INVD VD0", "INV_DW", LK_BOX1, false, Width::Dword, "INVD VB0", &kWriteDword},
        {"UNDB VB0, VB1", "WAND_B", LK_BOX2, false, Width::Byte, "UNDB VW0, VB1", &kReadByte},
        {"UNDW VW0, VW2", "WAND_W", LK_BOX2, false, Width::Word, "UNDW VW0, AAW0", &kReadWord},
        {"UNDD VD0, VD4", "WAND_DW", LK_BOX2, false, Width::Dword, "UNDD VD0", &kNeedSecond},
        {"ORB 16#0F, VB1", "WOR_B", LK_BOX2, false, Width::Byte, "ORB VB0, 5", &kWriteByte},
        {"ORW VW0, VW2", "WOR_W", LK_BOX2, false, Width::Word, "ORW VW0, AEW0", &kWriteWord},
        {"ORD VD0, VD4", "WOR_DW", LK_BOX2, false, Width::Dword, "ORD VW0, VD4", &kReadDword},
        {"XORB VB0, VB1", "WXOR_B", LK_BOX2, false, Width::Byte, "XORB VB0, VB1, VB2", &kNoOperand},
        {"XORW VW0, VW2", "WXOR_W", LK_BOX2, false, Width::Word, "XORW 1, 2", &kWriteWord},
        {"XORD VD0, AC1", "WXOR_DW", LK_BOX2, false, Width::Dword, "XORD 1.5, VW0", &kWriteDword},
        {"SLB VB0, 3", "SHL_B", LK_BOX2, false, Width::Byte, "SLB VB0, VW2", &kReadByte},
        {"SLW VW0, 3", "SHL_W", LK_BOX2, false, Width::Word, "SLW 5, 1", &kWriteWord},
        {"SLD VD0, 3", "SHL_DW", LK_BOX2, false, Width::Dword, "SLD VD0", &kNeedSecond},
        {"SRB VB0, VB1", "SHR_B", LK_BOX2, false, Width::Byte, "SRB AC0, VD4", &kReadByte},
        {"SRW VW0, 3", "SHR_W", LK_BOX2, false, Width::Word, "SRW AAW0, 1", &kReadWord},
        {"SRD VD0, 3", "SHR_DW", LK_BOX2, false, Width::Dword, "SRD VB0, 1", &kWriteDword},
        {"RLB VB0, 3", "ROL_B", LK_BOX2, false, Width::Byte, "RLB VW0, 1", &kWriteByte},
        {"RLW VW0, 3", "ROL_W", LK_BOX2, false, Width::Word, "RLW AEW0, 1", &kWriteWord},
        {"RLD VD0, 3", "ROL_DW", LK_BOX2, false, Width::Dword, "RLD VD0, VD4", &kReadByte},
        {"RRB VB0, 3", "ROR_B", LK_BOX2, false, Width::Byte, "RRB", &kNeedOperand},
        {"RRW VW0, 3", "ROR_W", LK_BOX2, false, Width::Word, "RRW VW0, VW2", &kReadByte},
        {"RRD VD0, 3", "ROR_DW", LK_BOX2, false, Width::Dword, "RRD VW0, 3", &kWriteDword},
        {"+I VW0, VW2", "ADD_I", LK_BOX2, false, Width::Word, "+I VW0, 5", &kWriteWord},
        {"-I 5, VW2", "SUB_I", LK_BOX2, false, Width::Word, "-I VB0, VW2", &kReadWord},
        {"+D VD0, VD4", "ADD_DI", LK_BOX2, false, Width::Dword, "+D VD0, AAW0", &kWriteDword},
        {"-D VD0, VD4", "SUB_DI", LK_BOX2, false, Width::Dword, "-D VW0, VD4", &kReadDword},
        {"+R 1.5, VD4", "ADD_R", LK_BOX2, false, Width::Dword, "+R 1.5, 2.5", &kWriteDword},
        {"-R VD0, VD4", "SUB_R", LK_BOX2, false, Width::Dword, "-R VD0", &kNeedSecond},
        {"*R VD0, VD4", "MUL_R", LK_BOX2, false, Width::Dword, "*R VW0, VD4", &kReadDword},
        {"/R VD0, VD4", "DIV_R", LK_BOX2, false, Width::Dword, "/R VD0, 1.0", &kWriteDword},
        {"MUL VW0, VD4", "MUL", LK_BOX2, false, NO_MERGE, "MUL VD0, VD4", &kReadWord},
        {"DIV 3, VD4", "DIV", LK_BOX2, false, NO_MERGE, "DIV VW0, VW4", &kWriteDword},
        {"SQRT VD0, VD4", "SQRT", LK_BOX1, false, NO_MERGE, "SQRT VW0, 5", &kReadDword},
        {"TRUNC VD0, VD4", "TRUNC", LK_BOX1, false, NO_MERGE, "TRUNC VD0, 5", &kWriteDword},
        {"DTR VD0, VD4", "DI_REAL", LK_BOX1, false, NO_MERGE, "DTR VB0, VD4", &kReadDword},
        {"SWAP VW0, VW2", "SWAP", LK_TIMER, false, NO_MERGE, "SWAP VW0, 5", &kWriteWord},
        {"TON T37, 10", "TON", LK_TIMER, false, NO_MERGE, "TON Z0, VD0", &kReadWord},
        {"TONR T1, VW0", "TONR", LK_TIMER, false, NO_MERGE, "TONR T37, 10", &kOnlyTon},
        {"ZV Z0, 3", "CTU", LK_UP_COUNTER, false, NO_MERGE, "ZV T37, 3", &kCounterExpected},
        {"ZVR Z1, 5", "CTUD", LK_UPDOWN_COUNTER, false, NO_MERGE, "ZVR Z0, VB0", &kReadWord},
        {"JMP 3", "JMP", LK_COIL, false, NO_MERGE, "JMP VB0", &kOnlyNumber},
        {"LBL 3", "LBL", LK_LABEL, true, NO_MERGE, "LBL VW0", &kReadByte},
        {"CALL SBR0", "CALL", LK_COIL, false, NO_MERGE, "CALL VB0", &kSbrExpected},
        {"CRET", "RET", LK_COIL, false, NO_MERGE, "CRET 1", &kNoOperand},
        {"NOP 0", "NOP", LK_COIL, false, NO_MERGE, "NOP", &kNeedOperand},
        {"LSCR S0.0", "SCR", LK_LABEL, false, NO_MERGE, "LSCR M0.0", &kOnlyS},
        {"SCRT S0.1", "SCRT", LK_COIL, false, NO_MERGE, "SCRT VB0", &kReadBit},
        {"SCRE", "SCRE", LK_COIL, true, NO_MERGE, "SCRE S0.0", &kNoOperand},
        {"ATT VW0, VW10", "AD_T_TBL", LK_BOX2, false, NO_MERGE, "ATT VD0, VW10", &kReadWord},
        {"FIFO VW10, VW0", "FIFO", LK_BOX1, false, NO_MERGE, "FIFO VW10, 5", &kWriteWord},
        {"LIFO *VD0, AC0", "LIFO", LK_BOX1, false, NO_MERGE, "LIFO 5, VW0", &kReadWord},
        {"FILL 0, VW0, 3", "FILL_N", LK_BOX2, false, NO_MERGE, "FILL 0, VW0", &kNeedThird},
        {"BMB VB0, VB10, 3", "BLKMOV_B", LK_BOX2, false, NO_MERGE, "BMB VB0, AC0, 3", &kWriteByte},
        {"BMW VW0, VW10, VB20", "BLKMOV_W", LK_BOX2, false, NO_MERGE, "BMW AC0, VW10, 3", &kReadWord},
        {"BMD VD0, VD10, 3", "BLKMOV_DW", LK_BOX2, false, NO_MERGE, "BMD VD0, VD10, VW0", &kReadByte},
        {"FIND= VW0, 7, VW10", "TBL_FIND=", LK_BOX2, false, NO_MERGE, "FIND= VW0, VD4, VW10", &kReadWord},
        {"FIND<> VW0, 7, AC0", "TBL_FIND<>", LK_BOX2, false, NO_MERGE, "FIND<> AC0, 7, VW10", &kReadWord},
        {"FIND> VW0, VW2, VW10", "TBL_FIND>", LK_BOX2, false, NO_MERGE, "FIND> VW0, 7, AAW0", &kReadWord},
        {"FIND< VW0, 7, VW10", "TBL_FIND<", LK_BOX2, false, NO_MERGE, "FIND< VW0, 7, AEW0", &kWriteWord},
    };
    return rows;
}

// One valid line per mnemonic of every family.
std::vector<std::string> allValidLines() {
    std::vector<std::string> lines = {
        "LD M0.0",  "LDN M0.0", "U M0.0",   "UN M0.0", "O M0.0",  "ON M0.0",   "LDI E0.0", "LDNI E0.0",  "UI E0.0",
        "UNI E0.0", "OI E0.0",  "ONI E0.0", "= M0.0",  "=I A0.0", "S M0.0, 1", "R T37, 1", "SI A0.0, 1", "RI A0.0, 1",
        "NOT",      "EU",       "ED",       "ULD",     "OLD",     "LPS",       "LRD",      "LPP",
    };
    const char* prefixes[] = {"LD", "LDN", "U", "UN", "O", "ON"};
    const char* types[][2] = {{"B", "VB0, VB1"}, {"W", "VW0, 5"}, {"D", "VD0, VD4"}, {"R", "VD0, 1.5"}};
    const char* relations[] = {"=", ">=", "<=", "<>", "<", ">"};
    for (const char* prefix : prefixes)
        for (const auto& type : types)
            for (const char* relation : relations)
                lines.push_back(std::string(prefix) + type[0] + relation + " " + type[1]);
    for (const Expected& row : ownInstructions()) lines.emplace_back(row.line);
    for (const char* line :
         {"*I VW0, VW2",    "/I VW0, VW2",  "*D VD0, VD4",  "/D VD0, VD4",   "ITD VW0, VD4",  "DTI VD0, VW4",
          "ROUND VD0, VD4", "BTI VB0, VW4", "ITB VW0, VB4", "DECO VB0, VW4", "ENCO VW0, VB4", "SEG VB0, VB4",
          "SIN VD0, VD4",   "COS VD0, VD4", "TAN VD0, VD4", "LN VD0, VD4",   "EXP VD0, VD4",  "BCDI VW0",
          "IBCD VW0",       "TOF T37, 10",  "ZR Z1, 5",     "WDR",           "END",           "STOP",
          "FOR VW0, 1, 10", "NEXT"})
        lines.emplace_back(line);
    return lines;
}

TEST(MnemonicCatalogue, EveryMnemonicLoadsWithValidOperands) {
    CPU cpu;
    std::set<std::string> tableMnemonics;
    for (const TableEntry& entry : instructionTable()) tableMnemonics.insert(entry.row->mnemonic);
    EXPECT_EQ(instructionTable().size(), 267u);
    EXPECT_EQ(tableMnemonics.size(), 267u) << "a mnemonic appears twice";

    std::set<std::string> loaded;
    for (const std::string& line : allValidLines()) {
        SCOPED_TRACE(line);
        EXPECT_EQ(loadError(cpu, line), "");
        const auto op = makeInstruction(cpu, line);
        EXPECT_EQ(line.substr(0, line.find(' ')), op->mnemonic());
        loaded.insert(op->mnemonic());
    }
    EXPECT_EQ(loaded, tableMnemonics);
}

// The ladder layout joins by these columns: every contact has its role, every
// element-less instruction is a stack operation, and only moves have a size.
TEST(MnemonicCatalogue, LadderColumnsFitTheLadderKind) {
    int moves = 0;
    for (const TableEntry& entry : instructionTable()) {
        const InstructionRow& row = *entry.row;
        SCOPED_TRACE(row.mnemonic);
        EXPECT_EQ(row.contactRole != ContactRole::None, row.ladderKind == LK_CONTACT);
        EXPECT_EQ(row.stackOperation != StackOperation::None, row.ladderKind == LK_NONE);
        if (row.moveSize) {
            EXPECT_EQ(row.ladderKind, LK_BOX1);
            ++moves;
        }
    }
    EXPECT_EQ(moves, 4);
}

TEST(MnemonicCatalogue, DataTimerControlAndTableRows) {
    CPU cpu;
    ASSERT_EQ(ownInstructions().size(), 71u);
    for (const Expected& row : ownInstructions()) {
        SCOPED_TRACE(row.line);
        const auto op = makeInstruction(cpu, row.line);
        EXPECT_STREQ(op->boxLabel(), row.label);
        EXPECT_EQ(op->ladderKind(), row.kind);
        EXPECT_EQ(op->standsAlone(), row.standsAlone);

        const MergeInfo merge = op->boxMergeInfo();
        if (row.mergeSize == NO_MERGE) {
            EXPECT_EQ(merge.pin, 0);
        } else {
            EXPECT_EQ(merge.pin, 3);
            EXPECT_EQ(merge.operand, op->operand2()); // empty for the one-operand forms
            EXPECT_EQ(merge.size, *row.mergeSize);
        }
        EXPECT_EQ(loadError(cpu, row.badLine), *row.error) << row.badLine;
    }
}

// Pins name the operands the ladder shows; an absent pin writes nothing.
TEST(MnemonicCatalogue, PinsOfRepresentativeBoxes) {
    CPU cpu;
    struct PinCase {
        const char* line;
        int pin;
        const char* name;
    };
    const PinCase cases[] = {
        {"MOVB VB0, VB1", 3, " VB0"},
        {"MOVB VB0, VB1", 5, " VB1"},
        {"MOVB VB0, VB1", 4, ""},
        {"INCW VW0", 5, " VW0"},
        {"+I VW0, VW2", 3, " VW2"},
        {"+I VW0, VW2", 4, " VW0"},
        {"SLB VB0, VB1", 3, " VB0"},
        {"SLB VB0, VB1", 4, " VB1"},
        {"SLB VB0, VB1", 5, " VB0"},
        {"BMW VW0, VW10, 3", 4, " 3"},
        {"BMW VW0, VW10, 3", 5, " VW10"},
        {"ATT VW0, VW10", 5, ""},
        {"FIND= VW0, 7, VW10", 5, " VW10"},
        {"TON T37, 10", 1, " T37"},
        {"TON T37, 10", 3, " 10"},
        {"ZVR Z1, 5", 1, " Z1"},
        {"CALL SBR0", 1, " SBR0"},
        {"SWAP VW0, VW2", 5, ""},
        {"NOP 0", 1, ""},
        {"LSCR S0.0", 1, " S0.0"},
    };
    for (const PinCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " pin " + std::to_string(c.pin));
        const auto op = makeInstruction(cpu, c.line);
        StringWriter writer;
        op->pinName(writer, c.pin, 0, nullptr);
        EXPECT_EQ(writer.text(), c.name);
    }
}

TEST(MnemonicCatalogue, PinValuesUseTheWidth) {
    CPU cpu;
    cpu.areaV.writeDword(0, 0x3FC00000u); // 1.5
    cpu.timers[37].value = 150;
    cpu.timers[37].preset = 200;
    const auto value = [&](const char* line, int pin) {
        StringWriter writer;
        makeInstruction(cpu, line)->pinValue(writer, pin, 0, nullptr);
        return writer.text();
    };
    EXPECT_EQ(value("MOVR VD0, VD4", 3), "+1.5");
    EXPECT_EQ(value("TRUNC VD0, VD4", 3), "+1.5");
    EXPECT_EQ(value("MOVD VD0, VD4", 3), "1069547520");
    EXPECT_EQ(value("TON T37, 200", 1), "0:150");
}

} // namespace
