#include <gtest/gtest.h>

#include <string>

#include "base/sim_clock.h"
#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/io.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::BlockSource;
using harness::installProgram;

// Eight input and eight output bits that the test sets and reads directly.
class TestDevice final : public IO {
public:
    int inputs = 0;
    int outputs = 0;

    int readInput(int byte, int bit) override { return byte == 0 ? (inputs >> bit) & 1 : 0; }
    int inputBytes() override { return 1; }
    void writeOutput(int byte, int bit, int value) override {
        if (byte == 0) outputs = value ? outputs | (1 << bit) : outputs & ~(1 << bit);
    }
    int outputBytes() override { return 1; }
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        simClock().switchToManual();
        bus.setDevice(0, &device);
    }
    void TearDown() override { simClock().switchToAutomatic(); }

    int m(int byte, int bit) { return cpu.areaM.readBit(byte, bit); }
    int sm(int byte, int bit) { return cpu.areaSM.readBit(byte, bit); }

    TestDevice device;
    IOBus bus;
    CPU cpu{bus};
};

TEST_F(EngineTest, FirstScanBitIsSetOnlyDuringTheFirstScanAfterAReset) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.1", "= M0.0"}, {"LD SM0.0", "= M0.1"}}}});
    resetCpu(cpu);
    EXPECT_EQ(sm(0, 0), 1);
    EXPECT_EQ(sm(0, 7), 1);
    EXPECT_EQ(cpu.areaSM.readByte(6), 0x20);
    scanCycle(cpu);
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(m(0, 1), 1);
    EXPECT_EQ(sm(0, 1), 0);
    scanCycle(cpu);
    EXPECT_EQ(m(0, 0), 0);
    EXPECT_EQ(m(0, 1), 1);
}

TEST_F(EngineTest, ClockBitsFollowTheSimulationTimeAtTheirEdges) {
    struct Case {
        std::uint32_t time;
        int sm04;
        int sm05;
    };
    for (const Case c : {Case{499, 0, 0}, Case{500, 0, 1}, Case{29999, 0, 1}, Case{30000, 1, 0}, Case{59999, 1, 1},
                         Case{60000, 0, 0}}) {
        simClock().switchToAutomatic();
        simClock().switchToManual();
        simClock().advance(c.time);
        scanCycle(cpu);
        EXPECT_EQ(sm(0, 4), c.sm04) << c.time;
        EXPECT_EQ(sm(0, 5), c.sm05) << c.time;
    }
}

TEST_F(EngineTest, ProgramsCannotWriteTheSystemBitsButTheyKeepSm06) {
    cpu.areaSM.systemWriteBit(0, 6, 1);
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "R SM0.0, 8"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    EXPECT_EQ(sm(0, 0), 1);
    EXPECT_EQ(sm(0, 6), 1);
}

TEST_F(EngineTest, AWriteIsSeenByALaterReadInTheSameScan) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "= M0.0"}, {"LD M0.0", "= M0.1"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    EXPECT_EQ(m(0, 1), 1);
}

TEST_F(EngineTest, InputsChangeOnlyAtTheNextScanAndOutputsReachTheBusAtTheEnd) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD E0.0", "= A0.3"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    device.inputs = 1;
    EXPECT_EQ(cpu.areaE.readBit(0, 0), 0);
    EXPECT_EQ(device.outputs, 0);
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaE.readBit(0, 0), 1);
    EXPECT_EQ(device.outputs, 1 << 3);
}

TEST_F(EngineTest, ResetClearsTheOutputImageAndKeepsMemories) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "= A0.0", "= M1.0"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    cpu.areaV.writeByte(7, 42);
    cpu.accumulators[2] = 5;
    resetCpu(cpu);
    EXPECT_EQ(cpu.areaA.readBit(0, 0), 0);
    EXPECT_EQ(m(1, 0), 1);
    EXPECT_EQ(cpu.areaV.readByte(7), 42);
    EXPECT_EQ(cpu.accumulators[2], 5u);
}

TEST_F(EngineTest, OrganizationBlocksRunInFileOrderAndInterruptBlocksNever) {
    installProgram(cpu, {{BLOCK_INTERRUPT, "INT0", {{"LD SM0.0", "= M2.0"}}},
                         {BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "= M0.0"}}},
                         {BLOCK_SUBROUTINE, "SBR0", {{"LD SM0.0", "= M2.1"}}},
                         {BLOCK_ORGANIZATION, "OB2", {{"LD M0.0", "= M0.1"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    EXPECT_EQ(m(0, 1), 1);
    EXPECT_EQ(m(2, 0), 0);
    EXPECT_EQ(m(2, 1), 0);
}

TEST_F(EngineTest, EveryNetworkStartsWithAnEmptyStack) {
    // A network that ends with a 1 on its stack must not pass it on.
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0"}, {"LPS", "= M0.0", "LPP", "= M0.1"}}}});
    resetCpu(cpu);
    scanCycle(cpu);
    EXPECT_EQ(m(0, 0), 0);
    EXPECT_EQ(m(0, 1), 0);
}

TEST_F(EngineTest, AnErrorEndsTheScanAndTheNextScanStartsClean) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "= A0.0", "LD M0.0", "U M40.0", "= M0.1"}}}});
    resetCpu(cpu);
    cpu.areaM.writeBit(0, 0, 1);
    try {
        scanCycle(cpu);
        FAIL() << "M40.0 lies beyond the 32 flag bytes";
    } catch (const CPUException& error) {
        EXPECT_EQ(error.messageText(), lookupMessage("Out of field read"));
    }
    EXPECT_EQ(device.outputs, 0) << "the failed scan does not write the output image";
    cpu.areaM.writeBit(0, 0, 0);
    scanCycle(cpu);
    EXPECT_EQ(device.outputs, 1);
}

TEST_F(EngineTest, TraceWritesTheStackAndPinsBeforeAndAfterEveryInstruction) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "UW>= MW0, 5", "S M4.0, 2"}}}});
    resetCpu(cpu);
    cpu.areaM.writeWord(0, 7);
    StringWriter trace;
    cpu.traceSink = &trace;
    scanCycle(cpu);
    cpu.traceSink = nullptr;
    EXPECT_EQ(trace.text(), "SStack: 000->LD()    SM0.0 1 \n"
                            "EStack: 001->LD()   SM0.0 1 \n"
                            "SStack: 001->UW>=(>=I)    MW0 7 5 \n"
                            "EStack: 001->UW>=(>=I)   MW0 7 5 \n"
                            "SStack: 001->S(S)    M4.0 0 2 \n"
                            "EStack: 001->S(S)   M4.0 1 2 \n");
}

// Counts what reaches it; full after `capacity` characters.
class CountingSink final : public Writer {
public:
    explicit CountingSink(std::size_t capacity) : capacity_(capacity) {}
    void putChar(char) override { ++written; }
    bool full() const override { return written >= capacity_; }
    std::size_t written = 0;

private:
    std::size_t capacity_;
};

TEST_F(EngineTest, AFullTraceSinkEndsTheTracingButNotTheScan) {
    installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD SM0.0", "INCW MW0", "INCW MW0"}}}});
    resetCpu(cpu);
    CountingSink sink(1); // full once anything is written: only the first instruction is traced
    cpu.traceSink = &sink;
    scanCycle(cpu);
    cpu.traceSink = nullptr;
    EXPECT_EQ(sink.written, std::string("SStack: 000->LD()    SM0.0 1 \nEStack: 001->LD()   SM0.0 1 \n").size());
    EXPECT_EQ(cpu.areaM.readWord(0), 2);
}

TEST_F(EngineTest, AScanWithoutAProgramStillExchangesTheImages) {
    device.inputs = 0x81;
    cpu.areaA.writeByte(0, 0x24);
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaE.readByte(0), 0x81);
    EXPECT_EQ(device.outputs, 0x24);
}

} // namespace
