// Jumps, subroutine calls, early returns and sequence segments, end to end
// through small programs run by the scan.
#include <gtest/gtest.h>

#include <string>

#include "cpu/engine.h"
#include "messages/latin1.h"
#include "support/instruction_harness.h"
#include "support/program_text.h"

using namespace sps;

namespace {

using harness::BlockSource;
using harness::installProgram;
using harness::makeInstruction;

using Networks = std::vector<std::vector<std::string>>;

class ControlTest : public ::testing::Test {
protected:
    void load(const std::vector<BlockSource>& blocks) {
        installProgram(cpu, blocks);
        resetCpu(cpu);
    }
    void loadMain(const Networks& networks) { load({{BLOCK_ORGANIZATION, "OB1", networks}}); }
    // The German text of the error that ends the scan, or "".
    std::string scanError() {
        try {
            scanCycle(cpu);
        } catch (const CPUException& error) {
            return error.messageText();
        }
        return "";
    }
    int flag(int byte, int bit) { return cpu.areaM.readBit(byte, bit); }

    CPU cpu;
};

// ---- jumps ----

TEST_F(ControlTest, ForwardJumpSkipsToItsLabel) {
    loadMain({{"LD SM0.0", "JMP 3"}, {"LD SM0.0", "= M0.0"}, {"LBL 3"}, {"LD SM0.0", "= M0.1"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(flag(0, 0), 0);
    EXPECT_EQ(flag(0, 1), 1);
}

TEST_F(ControlTest, UntakenJumpRunsEverything) {
    loadMain({{"LD M5.0", "JMP 3"}, {"LD SM0.0", "= M0.0"}, {"LBL 3"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(flag(0, 0), 1);
}

// A loop: count VW0 up to 5 with a jump back to an earlier label.
TEST_F(ControlTest, BackwardJumpRepeatsNetworks) {
    loadMain({{"LBL 1"}, {"LD SM0.0", "INCW VW0"}, {"LDNW>= VW0, 5", "JMP 1"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaV.readWord(0), 5);
}

TEST_F(ControlTest, MissingLabelEndsTheScan) {
    loadMain({{"LD SM0.0", "JMP 7"}, {"LBL 3"}});
    EXPECT_EQ(scanError(), L1("Es ist der angegebene Label nicht gefunden worden"));
}

// A label in another block is never found.
TEST_F(ControlTest, LabelsBelongToTheirBlock) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "JMP 2"}}}, {BLOCK_ORGANIZATION, "OB2", {{"LBL 2"}}}});
    EXPECT_EQ(scanError(), L1("Es ist der angegebene Label nicht gefunden worden"));
}

TEST_F(ControlTest, SecondJumpKeepsTheSearchedLabel) {
    auto jump = makeInstruction(cpu, "JMP 5");
    cpu.logicStack = 1;
    cpu.jumpLabel = 3;
    jump->execute(cpu);
    EXPECT_EQ(cpu.jumpLabel, 3);
    cpu.jumpLabel.reset();
    jump->execute(cpu);
    EXPECT_EQ(cpu.jumpLabel, 5);
}

TEST_F(ControlTest, EndlessBackwardJumpIsStopped) {
    loadMain({{"LBL 1"}, {"LD SM0.0", "JMP 1"}});
    EXPECT_EQ(scanError(),
              L1("Es wurde eine mögliche Endlosschleife gefunden oder ein Programmzyklus enthält zu viele Befehle."));
}

// ---- subroutines ----

// The caller's stack holds 1 on top and 0 below; the subroutine leaves a
// different stack behind, which must not leak back. Each of its networks
// starts with a 1, so a bare coil writes 1.
TEST_F(ControlTest, CallRunsTheSubroutineAndRestoresTheStack) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD M0.0", "LDN M0.0", "CALL SBR0", "= M1.0", "LPP", "= M1.1"}}},
          {BLOCK_SUBROUTINE, "SBR0", {{"= M2.0", "LDN SM0.0"}, {"= M2.1", "LDN SM0.0"}}}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(flag(2, 0), 1);
    EXPECT_EQ(flag(2, 1), 1);
    EXPECT_EQ(flag(1, 0), 1);
    EXPECT_EQ(flag(1, 1), 0);
    EXPECT_EQ(cpu.callState, CallState::Organization);
}

TEST_F(ControlTest, CallWithTopZeroRunsNothing) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD M0.0", "CALL SBR9"}}}});
    EXPECT_EQ(scanError(), "");
}

TEST_F(ControlTest, SubroutineNamesMatchExactly) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "CALL sbr0"}}}, {BLOCK_SUBROUTINE, "SBR0", {{"= M2.0"}}}});
    EXPECT_EQ(scanError(), L1("Das angegebene Unterprogramm wurde nicht gefunden"));
    EXPECT_EQ(flag(2, 0), 0);
}

TEST_F(ControlTest, ReturnEndsTheSubroutineAndTheCallerContinues) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "CALL SBR0", "= M1.0"}}},
          {BLOCK_SUBROUTINE, "SBR0", {{"LD SM0.0", "CRET", "= M2.0"}, {"= M2.1"}}}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(flag(2, 0), 0);
    EXPECT_EQ(flag(2, 1), 0);
    EXPECT_EQ(flag(1, 0), 1);
}

// A return in an organization block ends it; the call state stays set until
// the next scan, so a later organization block runs only its first
// instruction.
TEST_F(ControlTest, ReturnInAnOrganizationBlock) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "CRET"}, {"LD SM0.0", "= M0.0"}}},
          {BLOCK_ORGANIZATION, "OB2", {{"LD SM0.0", "= M0.1"}, {"LD SM0.0", "= M0.2"}}}});
    for (int scan = 0; scan < 2; ++scan) {
        EXPECT_EQ(scanError(), "");
        EXPECT_EQ(cpu.instructionCount, 3);
        EXPECT_EQ(flag(0, 0) + flag(0, 1) + flag(0, 2), 0);
    }
}

TEST_F(ControlTest, RecursionIsStoppedWithAMessage) {
    load({{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "CALL SBR0"}}},
          {BLOCK_SUBROUTINE, "SBR0", {{"INCW VW0", "CALL SBR0"}}}});
    EXPECT_EQ(scanError(), L1("Die Unterprogramme sind zu tief verschachtelt"));
    EXPECT_EQ(cpu.areaV.readWord(0), MAX_CALL_DEPTH);
    EXPECT_EQ(scanError(), L1("Die Unterprogramme sind zu tief verschachtelt")) << "the next scan starts afresh";
    EXPECT_EQ(cpu.areaV.readWord(0), 2 * MAX_CALL_DEPTH);
}

// ---- sequence segments ----

// Two segments that hand activity to each other: segment S0.0 moves it to
// the later segment S0.1 (active later in the same scan), S0.1 moves it back
// to the earlier one (active from the next scan).
TEST_F(ControlTest, SegmentTransitionsForwardAndBackward) {
    loadMain({{"LSCR S0.0"},
              {"LD SM0.0", "= M0.0", "LD M1.0", "SCRT S0.1"},
              {"SCRE"},
              {"LSCR S0.1"},
              {"LD SM0.0", "= M0.1", "LD M1.1", "SCRT S0.0"},
              {"SCRE"}});
    cpu.areaS.writeBit(0, 0, 1);
    cpu.areaM.writeBit(1, 0, 1);
    ASSERT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaS.readBit(0, 0), 0);
    EXPECT_EQ(cpu.areaS.readBit(0, 1), 1);
    EXPECT_EQ(flag(0, 0), 1);
    EXPECT_EQ(flag(0, 1), 1) << "the later segment runs in the same scan";

    cpu.areaM.writeBit(1, 0, 0);
    cpu.areaM.writeBit(1, 1, 1);
    ASSERT_EQ(scanError(), "");
    EXPECT_EQ(flag(0, 0), 0) << "an inactive segment's coils write 0";
    EXPECT_EQ(cpu.areaS.readBit(0, 0), 1);
    EXPECT_EQ(cpu.areaS.readBit(0, 1), 0);

    cpu.areaM.writeBit(1, 1, 0);
    ASSERT_EQ(scanError(), "");
    EXPECT_EQ(flag(0, 0), 1) << "the earlier segment runs from the next scan";
    EXPECT_EQ(flag(0, 1), 0);
}

TEST_F(ControlTest, SegmentErrors) {
    struct Case {
        std::vector<BlockSource> blocks;
        std::string error;
    };
    const Case cases[] = {
        {{{BLOCK_ORGANIZATION, "OB1", {{"LSCR S0.0"}, {"LSCR S0.1"}}}},
         L1("Es sind verschachtelte SCR-Blöcke vorhanden")},
        {{{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "CALL SBR0"}}}, {BLOCK_SUBROUTINE, "SBR0", {{"LSCR S0.0"}}}},
         L1("Es wurde eine Schrittkette in einen Unterprogramm verwendet, was auf der SPS nicht erlaubt ist.")},
        {{{BLOCK_ORGANIZATION, "OB1", {{"SCRE"}}}}, L1("SCRE kommt nicht in einen SCR-Block vor")},
        {{{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "SCRT S0.1"}}}},
         L1("SCRT wird nicht in einen SCR-Block verwendet")},
        // A label search runs SCRE, which fails outside a segment.
        {{{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "JMP 1"}, {"SCRE"}, {"LBL 1"}}}},
         L1("SCRE kommt nicht in einen SCR-Block vor")},
    };
    for (const Case& c : cases) {
        load(c.blocks);
        EXPECT_EQ(scanError(), c.error);
    }
}

// A jump out of an open segment passes its SCRE, which closes the segment.
TEST_F(ControlTest, JumpAcrossSegmentEndClosesTheSegment) {
    loadMain({{"LSCR S0.0"}, {"LD SM0.0", "JMP 1"}, {"SCRE"}, {"LBL 1"}, {"LD SM0.0", "= M0.0"}});
    cpu.areaS.writeBit(0, 0, 1);
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.scrState, ScrState::Outside);
    EXPECT_EQ(flag(0, 0), 1);
}

TEST_F(ControlTest, ClosedSegmentGatesItsNetworks) {
    loadMain({{"LSCR S0.1"}, {"LD SM0.0", "= M0.0", "LD SM0.0", "JMP 4"}, {"= M0.1"}, {"SCRE"}, {"LBL 4"}});
    cpu.areaM.writeBit(0, 0, 1);
    EXPECT_EQ(scanError(), "") << "a jump inside a closed segment is not taken";
    EXPECT_EQ(flag(0, 0), 0);
}

// ---- loops, END and STOP: read by the parser, which links each NEXT to its FOR ----

class LoopTest : public ::testing::Test {
protected:
    // The networks of OB1, each a list of lines.
    void loadProgram(const std::vector<std::vector<std::string>>& networks, const std::string& subroutine = "") {
        std::string text = "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n";
        for (std::size_t n = 0; n < networks.size(); ++n) {
            text += "NETWORK " + std::to_string(n + 1) + "\n";
            for (const std::string& line : networks[n]) text += line + "\n";
        }
        text += "END_ORGANIZATION_BLOCK\n" + subroutine;
        programtext::load(cpu, text);
        resetCpu(cpu);
    }
    std::string scanError() {
        try {
            scanCycle(cpu);
        } catch (const CPUException& error) {
            return error.messageText();
        }
        return "";
    }
    int word(int address) { return static_cast<std::int16_t>(cpu.areaV.readWord(address)); }

    CPU cpu;
};

TEST_F(LoopTest, ForRunsTheNetworksUpToNextFromInitToFinal) {
    loadProgram({{"LD SM0.0", "FOR VW0, 1, 10"}, {"LD SM0.0", "+I VW0, VW2"}, {"NEXT"}, {"LD SM0.0", "INCW VW4"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(word(2), 55);
    EXPECT_EQ(word(0), 11);
    EXPECT_EQ(word(4), 1) << "after the loop the block goes on once";
}

TEST_F(LoopTest, ForSkipsTheLoopWhenInitIsAboveFinalOrTheTopIsZero) {
    loadProgram({{"LD SM0.0", "FOR VW0, 5, 4"},
                 {"LD SM0.0", "INCW VW2"},
                 {"NEXT"},
                 {"LD M0.0", "FOR VW6, 1, 3"},
                 {"LD SM0.0", "INCW VW8"},
                 {"NEXT"},
                 {"LD SM0.0", "INCW VW4"}});
    cpu.areaV.writeWord(6, 77);
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(word(0), 5) << "INDX is set before the test";
    EXPECT_EQ(word(2), 0);
    EXPECT_EQ(word(6), 77) << "with the top 0 nothing is written";
    EXPECT_EQ(word(8), 0);
    EXPECT_EQ(word(4), 1);
}

TEST_F(LoopTest, LoopsNestAndTheBodyKeepsItsStack) {
    loadProgram({{"LD SM0.0", "FOR VW0, 1, 3", "= M0.0"},
                 {"LD SM0.0", "FOR VW2, -1, 2"},
                 {"LD SM0.0", "INCW VW4"},
                 {"NEXT"},
                 {"NEXT"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(word(4), 12);
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 1) << "the rest of the FOR network runs with the stack FOR left";
}

TEST_F(LoopTest, AnEndlessLoopMeetsTheLoopGuard) {
    loadProgram({{"LD SM0.0", "FOR VW0, 0, 32767"}, {"NEXT"}});
    EXPECT_EQ(scanError(), L1("Es wurde eine mögliche Endlosschleife gefunden oder ein Programmzyklus enthält zu "
                              "viele Befehle."));
}

TEST_F(LoopTest, EndSkipsTheRestOfTheOrganizationBlock) {
    loadProgram({{"LD M0.0", "END"}, {"LD SM0.0", "= M1.0"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaM.readBit(1, 0), 1);
    cpu.areaM.writeBit(0, 0, 1);
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaM.readBit(1, 0), 1) << "the coil keeps its value: it does not run";
    cpu.areaM.writeBit(1, 0, 0);
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaM.readBit(1, 0), 0);
}

TEST_F(LoopTest, StopAsksToStopAfterTheScanWhileItsInputIsOne) {
    loadProgram({{"LD M0.0", "STOP"}, {"LD SM0.0", "INCW VW0"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_FALSE(cpu.stopRequested);
    cpu.areaM.writeBit(0, 0, 1);
    EXPECT_EQ(scanError(), "");
    EXPECT_TRUE(cpu.stopRequested);
    EXPECT_EQ(word(0), 2) << "the scan runs to its end";
    cpu.areaM.writeBit(0, 0, 0);
    EXPECT_EQ(scanError(), "");
    EXPECT_FALSE(cpu.stopRequested) << "each scan asks anew";
}

TEST_F(LoopTest, WatchdogResetChangesNothing) {
    loadProgram({{"LD SM0.0", "WDR", "= M0.0"}});
    EXPECT_EQ(scanError(), "");
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 1);
}

} // namespace
