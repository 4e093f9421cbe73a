// The power flow: what the engine notes for each instruction while it records
// (the top of the logic stack before and after it, in the scan it ran), for
// each shape of rung, and how the ladder view draws it ("*" on a character
// grid).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "canvas/canvases.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/operation.h"
#include "ladder/kop_net.h"
#include "ladder/kop_power.h"
#include "support/program_text.h"

using namespace sps;

namespace {

// Every instruction of the program as "MNEMONIC before after", or
// "MNEMONIC -" when it did not run in the last scan.
std::vector<std::string> notedPower(const CPU& cpu) {
    std::vector<std::string> noted;
    for (const Block& block : *cpu.program)
        for (const Network& network : block.networks)
            for (const auto& op : network.ops) {
                const PowerRecord power = op->power();
                std::string line = op->mnemonic();
                if (power.scan != (cpu.scanNumber & POWER_SCAN_MASK))
                    line += " -";
                else
                    line += " " + std::to_string(power.before) + " " + std::to_string(power.after);
                noted.push_back(line);
            }
    return noted;
}

struct PowerCase {
    const char* name;
    std::string source; // networks of OB1, and any blocks after it
    std::vector<std::string> noted;

    friend void PrintTo(const PowerCase& c, std::ostream* out) { *out << c.name; }
};

class NotedPower : public testing::TestWithParam<PowerCase> {};

// M0.0 = 1, M0.1 = 0, S0.0 = 0.
TEST_P(NotedPower, IsTheTopBeforeAndAfterEachInstruction) {
    CPU cpu;
    programtext::load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n" + GetParam().source);
    resetCpu(cpu);
    cpu.recordPower = true;
    cpu.areaM.writeBit(0, 0, 1);
    scanCycle(cpu);
    EXPECT_EQ(notedPower(cpu), GetParam().noted);
}

const std::string END = "END_ORGANIZATION_BLOCK\n";

INSTANTIATE_TEST_SUITE_P(
    Shapes, NotedPower,
    testing::Values(
        PowerCase{"Series", "NETWORK 1\nLD M0.0\nU M0.1\n= M1.0\n" + END, {"LD 0 1", "U 1 0", "= 0 0"}},
        PowerCase{"ParallelBranch", "NETWORK 1\nLD M0.1\nO M0.0\n= M1.0\n" + END, {"LD 0 0", "O 0 1", "= 1 1"}},
        PowerCase{"StackOperations",
                  "NETWORK 1\nLD M0.0\nLD M0.1\nON M0.1\nULD\nLD M0.1\nOLD\n= M1.0\n" + END,
                  {"LD 0 1", "LD 1 0", "ON 0 1", "ULD 1 1", "LD 1 0", "OLD 0 1", "= 1 1"}},
        PowerCase{"BoxAndCoil",
                  "NETWORK 1\nLD M0.0\nMOVW 5, VW0\n= M1.0\nLDN M0.0\nINCW VW2\n" + END,
                  {"LD 0 1", "MOVW 1 1", "= 1 1", "LDN 1 0", "INCW 0 0"}},
        PowerCase{"ClosedSegment",
                  "NETWORK 1\nLSCR S0.0\nNETWORK 2\nLD M0.0\n= M1.0\nNETWORK 3\nSCRE\n" + END,
                  {"LSCR 0 0", "LD 0 0", "= 0 0", "SCRE 0 0"}},
        PowerCase{"JumpOverANetwork",
                  "NETWORK 1\nLD M0.0\nJMP 1\nNETWORK 2\nLD M0.0\n= M1.0\nNETWORK 3\nLBL 1\n" + END,
                  {"LD 0 1", "JMP 1 1", "LD -", "= -", "LBL 0 0"}},
        PowerCase{"SubroutineCall",
                  "NETWORK 1\nLD M0.0\nCALL SBR0\n" + END +
                      "SUBROUTINE_BLOCK SBR0:SBR0\nBEGIN\nNETWORK 1\nU M0.1\n= M1.1\nEND_SUBROUTINE_BLOCK\n",
                  {"LD 0 1", "CALL 1 1", "U 1 0", "= 0 0"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(PowerFlow, NothingIsNotedWhileItIsNotRecorded) {
    CPU cpu;
    programtext::load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\nLD SM0.0\n= M1.0\n" + END);
    resetCpu(cpu);
    scanCycle(cpu);
    EXPECT_EQ(notedPower(cpu), (std::vector<std::string>{"LD -", "= -"}));
}

// A closed contact carries power to the coil; an open one stops it, and the
// branch below the open contact shows the power its own contact lets through.
TEST(PowerFlow, TheLadderMarksWhatCarriesPower) {
    CPU cpu;
    programtext::load(cpu, "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\nLD M0.0\nU M0.1\nO M0.2\n= M1.0\n" + END);
    resetCpu(cpu);
    cpu.recordPower = true;
    cpu.areaM.writeBit(0, 0, 1);
    cpu.areaM.writeBit(0, 2, 1);
    scanCycle(cpu);
    KOPNet ladder;
    ladder.setProgram(cpu.program);
    ladder.showPower(&cpu);
    const RungPower power(ladder.rungs().at(0).grid, cpu.scanNumber);
    const ElementPower first = power.element(0, 0);
    EXPECT_TRUE(first.in && first.out && first.closed);
    const ElementPower open = power.element(0, 1);
    EXPECT_TRUE(open.in);
    EXPECT_FALSE(open.out || open.closed);
    const ElementPower below = power.element(1, 0);
    EXPECT_TRUE(below.in && below.out && below.closed);

    CharGridCanvas marked;
    ladder.drawContent(marked);
    CharGridCanvas plain;
    ladder.showPower(nullptr);
    ladder.drawContent(plain);
    EXPECT_NE(marked.render().find('*'), std::string::npos);
    EXPECT_EQ(plain.render().find('*'), std::string::npos);
    // Power marks replace line strokes only: the texts stand where they stood.
    std::string unmarked = marked.render();
    for (char& c : unmarked)
        if (c == '*') c = '#';
    std::string strokes = plain.render();
    for (char& c : strokes)
        if (c == '-' || c == '|' || c == '+') c = '#';
    ASSERT_EQ(unmarked.size(), strokes.size());
    for (std::size_t i = 0; i < unmarked.size(); ++i) {
        if (unmarked[i] != '#' && strokes[i] != '#') {
            ASSERT_EQ(unmarked[i], strokes[i]) << "at " << i;
        }
    }
}

} // namespace
