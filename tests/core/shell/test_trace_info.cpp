#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/canvases.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/operation.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "shell/trace_info.h"
#include "support/instruction_harness.h"
#include "support/program_text.h"

using namespace sps;

namespace {

using Lines = std::vector<std::string>;

// An instruction whose execution fails as a jump to a missing label does.
class FailingOp final : public Operation {
public:
    FailingOp() : Operation(Operands{}) {}
    void execute(CPU&) override { throwMessage("Label not found"); }
    bool standsAlone() const override { return false; }
    const char* mnemonic() const override { return "FAIL"; }
    const char* boxLabel() const override { return ""; }
    void checkOperands() const override {}
    LadderKind ladderKind() const override { return LK_COIL; }
};

TEST(TraceInfo, ScanThatExecutesNothingGivesOneEmptyLine) {
    CPU cpu;
    TraceInfo trace(traceScan(cpu));
    EXPECT_EQ(trace.lines(), Lines{""});
    RecordingCanvas canvas(8, 15);
    EXPECT_EQ(trace.contentWidth(canvas), 53 * 8);
    EXPECT_EQ(trace.contentHeight(canvas), 15);
    EXPECT_EQ(cpu.traceSink, nullptr);
}

TEST(TraceInfo, KeepsTheEngineLinesOfOneScan) {
    CPU cpu;
    harness::installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD E0.0", "= A0.0"}}}});
    cpu.areaE.writeBit(0, 0, 1);
    TraceInfo trace(traceScan(cpu));
    const Lines expected{"SStack: 000->LD()    E0.0 1 ", "EStack: 001->LD()   E0.0 1 ", "SStack: 001->=()    A0.0 0 ",
                         "EStack: 001->=()   A0.0 1 ", ""};
    EXPECT_EQ(trace.lines(), expected);
    EXPECT_EQ(cpu.areaA.readBit(0, 0), 1);
    EXPECT_EQ(cpu.traceSink, nullptr);

    RecordingCanvas canvas(8, 15);
    EXPECT_EQ(trace.contentHeight(canvas), 5 * 15);
    trace.drawContent(canvas);
    ASSERT_EQ(canvas.listing().size(), 5u);
    EXPECT_EQ(canvas.listing()[1], "text 0 15 " + expected[1]);
    EXPECT_EQ(canvas.listing()[4], "text 0 60 ");
}

TEST(TraceInfo, FailedScanBecomesTheOnlyLineAndLeavesNoSink) {
    CPU cpu;
    const auto program = harness::buildProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD E0.0", "= A0.0"}}}});
    program->front().networks.front().ops.push_back(std::make_unique<FailingOp>());
    cpu.program = program;
    EXPECT_EQ(traceScan(cpu), Lines{lookupMessage("Label not found")});
    EXPECT_EQ(cpu.traceSink, nullptr);

    // Later scans trace nothing, failing or not.
    EXPECT_THROW(scanCycle(cpu), CPUException);
    program->front().networks.front().ops.pop_back();
    scanCycle(cpu);
    EXPECT_EQ(cpu.traceSink, nullptr);
}

TEST(TraceInfo, LongScanKeepsTheFirstLinesAndSaysWhereTheTraceWasCut) {
    CPU cpu;
    // 30000 passes of five instructions: 300000 trace lines.
    harness::installProgram(
        cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LBL 1"}, {"LD SM0.0", "INCW MW0"}, {"LDW<= MW0, 29999", "JMP 1"}}}});
    resetCpu(cpu);
    const Lines lines = traceScan(cpu);
    ASSERT_EQ(lines.size(), 100001u);
    EXPECT_EQ(lines[99998].rfind("SStack: ", 0), 0u);
    EXPECT_EQ(lines[99999].rfind("EStack: ", 0), 0u);
    EXPECT_EQ(lines.back(), formatMessage("Trace cut off after %d lines", 100000));
    // The scan itself ran to its end.
    EXPECT_EQ(cpu.areaM.readWord(0), 30000);
    EXPECT_EQ(cpu.traceSink, nullptr);
}

TEST(TraceInfo, RowsSayWhereEachInstructionRanItsOperandValuesAndTheStack) {
    CPU cpu;
    programtext::load(cpu, "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 1\nLD E0.0\nCALL SBR0\n"
                           "NETWORK 2\nLD SM0.0\nMOVW 7, MW2\nEND_ORGANIZATION_BLOCK\n"
                           "SUBROUTINE_BLOCK SBR0:SBR0\nBEGIN\nNETWORK 1\nLD SM0.0\n= A0.1\n"
                           "END_SUBROUTINE_BLOCK\n");
    resetCpu(cpu);
    cpu.areaE.writeBit(0, 0, 1);
    std::vector<TraceRow> rows;
    traceScan(cpu, rows);
    struct Expected {
        const char* block;
        int network;
        int depth;
        const char* instruction;
        const char* before;
        const char* after;
        int stackBefore;
        int stackAfter;
    };
    // A constant has no value of its own: MOVW shows MW2 only. A network
    // starts on an empty stack.
    const std::vector<Expected> expected{
        {"OB1", 1, 0, "LD E0.0", "E0.0=1", "E0.0=1", 0, 1},
        {"OB1", 1, 0, "CALL SBR0", "", "", 1, 1},
        {"SBR0", 1, 1, "LD SM0.0", "SM0.0=1", "SM0.0=1", 1, 3},
        {"SBR0", 1, 1, "= A0.1", "A0.1=0", "A0.1=1", 3, 3},
        {"OB1", 2, 0, "LD SM0.0", "SM0.0=1", "SM0.0=1", 0, 1},
        {"OB1", 2, 0, "MOVW 7, MW2", "MW2=0", "MW2=7", 1, 1},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].block, expected[i].block);
        EXPECT_EQ(rows[i].network, expected[i].network);
        EXPECT_EQ(rows[i].depth, expected[i].depth);
        EXPECT_EQ(rows[i].instruction, expected[i].instruction);
        EXPECT_EQ(rows[i].valuesBefore, expected[i].before);
        EXPECT_EQ(rows[i].valuesAfter, expected[i].after);
        EXPECT_EQ(rows[i].stackBefore, expected[i].stackBefore);
        EXPECT_EQ(rows[i].stackAfter, expected[i].stackAfter);
    }
    EXPECT_EQ(cpu.traceRows, nullptr);
}

} // namespace
