#include <gtest/gtest.h>

#include <string>

#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/force_table.h"
#include "cpu/io.h"
#include "cpu/operand_parser.h"
#include "messages/message_catalog.h"
#include "support/error_text.h"
#include "support/fake_io_device.h"
#include "support/instruction_harness.h"
#include "support/manual_clock.h"

using namespace sps;

namespace {

class ForceTest : public ::testing::Test {
protected:
    ForceTest() { bus.setDevice(0, &device); }

    void load(const std::vector<std::vector<std::string>>& networks) {
        harness::installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", networks}});
        resetCpu(cpu);
    }
    void force(const char* operand, const char* value) { forceOperand(cpu, operand, value); }
    std::string forceError(const char* operand, const char* value) {
        return errorText([&] { force(operand, value); });
    }

    ManualClock clock;
    FakeIODevice device{1, 1, 3, 2};
    IOBus bus;
    CPU cpu{bus};
};

TEST_F(ForceTest, TheProgramSeesAForcedInputWhileTheSwitchIsOff) {
    load({{"LD E0.0", "= M0.0"}});
    force("E0.0", "1");
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 1);
    EXPECT_EQ(device.inputs[0], 0);
    unforceOperand(cpu, "E0.0");
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 0) << "the input image follows the bus again";
}

TEST_F(ForceTest, AForcedOutputReachesTheBusAlthoughTheProgramWritesZero) {
    load({{"LD SM0.0", "R A0.3, 1"}});
    force("A0.3", "1");
    scanCycle(cpu);
    EXPECT_EQ(device.outputs[0], 0x08);
}

TEST_F(ForceTest, AForcedWordIsWhatTheProgramReadsAndHoldsAfterItsWrite) {
    load({{"LD SM0.0", "MOVW MW0, MW2", "MOVW 5, MW0"}});
    force("MW0", "100");
    EXPECT_EQ(cpu.areaM.readWord(0), 100) << "forcing writes at once";
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readWord(2), 100) << "written again after the input image";
    EXPECT_EQ(cpu.areaM.readWord(0), 100) << "written again before the output image";
    resetCpu(cpu);
    ASSERT_EQ(cpu.forces.entries().size(), 1u) << "a reset keeps the forces";
    force("MW0", "7");
    ASSERT_EQ(cpu.forces.entries().size(), 1u) << "forcing again changes the value in place";
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readWord(2), 7);
}

TEST_F(ForceTest, AForcedAnalogInputIsWhatEveryReadYields) {
    device.analogIn = {11, 22, 33};
    const auto channel2 = parseOperand(cpu, "AEW2");
    force("AEW2", "-1");
    EXPECT_EQ(channel2->getWord(), 0xFFFF);
    EXPECT_EQ(parseOperand(cpu, "AEW0")->getWordAt(1), 0xFFFF) << "an indexed read of the channel too";
    EXPECT_EQ(parseOperand(cpu, "AEW1")->getWord(), 22);
    EXPECT_EQ(cpu.forces.entries()[0].valueText(), "65535");
    EXPECT_TRUE(unforceOperand(cpu, "AEW2"));
    EXPECT_EQ(channel2->getWord(), 33);
    EXPECT_FALSE(unforceOperand(cpu, "AEW2"));
}

TEST_F(ForceTest, ValuesShowAsPrintShowsThem) {
    force("M.3", "1");
    force("VD4", "1.5");
    force("MB1", "-1");
    force("T37", "30");
    ASSERT_EQ(cpu.forces.entries().size(), 4u);
    std::string shown;
    for (const ForcedOperand& entry : cpu.forces.entries()) shown += entry.name + "=" + entry.valueText() + " ";
    EXPECT_EQ(shown, "M0.3=1 VD4=+1.5 MB1=255 T37=30 ");
    EXPECT_EQ(cpu.timers[37].value, 30);
}

TEST_F(ForceTest, RefusesWhatCannotBeForced) {
    struct Row {
        const char* operand;
        const char* value;
        const char* key;
    };
    const Row rows[] = {
        {"16#FF", "1", "Operand can't be forced"},    {"SBR0", "1", "Operand can't be forced"},
        {"SM0.5", "1", "Operand can't be forced"},    {"*VD0", "1", "Operand can't be forced"},
        {"MB0", "256", "Value out of range"},         {"MW0", "-32769", "Value out of range"},
        {"E0.0", "2", "Value out of range"},          {"MW0", "1.5", "Can't write a dword on parameter"},
        {"VB5000", "1", "Out of field read"},         {"MW0", "MW2", "Constant expected"},
        {"E0.8", "1", "Bitnumber out of range"},      {"MB10", "4294967297", "Value out of range"},
        {"E0.0", "4294967296", "Value out of range"}, {"VD0", "16#100000000", "Value out of range"},
        {"VD0", "-2147483649", "Value out of range"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operand + std::string(" ") + row.value);
        EXPECT_EQ(forceError(row.operand, row.value), lookupMessage(row.key));
    }
    EXPECT_TRUE(cpu.forces.entries().empty());
    EXPECT_EQ(forceError("MB0", "-128"), "");
    EXPECT_EQ(forceError("MW0", "65535"), "");
    EXPECT_EQ(forceError("VD0", "4294967295"), "");
    EXPECT_EQ(forceError("VD4", "-2147483648"), "");
}

TEST_F(ForceTest, HoldsAtMostSixtyFourOperands) {
    for (int i = 0; i < 64; ++i) force(("V" + std::to_string(i) + ".0").c_str(), "1");
    EXPECT_EQ(forceError("M0.0", "1"), lookupMessage("Too many forced operands"));
    EXPECT_EQ(forceError("V63.0", "0"), "") << "a forced operand still takes a new value";
    cpu.forces.clear();
    EXPECT_TRUE(cpu.forces.idle());
}

TEST_F(ForceTest, WritesOnceAtTheNextScanStartUnderTheForces) {
    load({{"LD SM0.0", "MOVW MW0, MW2"}});
    writeOperandOnce(cpu, "MW0", "9");
    writeOperandOnce(cpu, "E0.1", "1");
    EXPECT_EQ(cpu.areaM.readWord(0), 0) << "nothing is written before the scan";
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readWord(2), 9);
    EXPECT_EQ(cpu.areaE.readBit(0, 1), 1) << "after the input image was read";
    EXPECT_EQ(cpu.forces.pendingWrites(), 0u);
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaE.readBit(0, 1), 0) << "once only";

    force("MW0", "3");
    writeOperandOnce(cpu, "MW0", "4");
    scanCycle(cpu);
    EXPECT_EQ(cpu.areaM.readWord(2), 3) << "the force wins";

    EXPECT_EQ(errorText([&] { writeOperandOnce(cpu, "AEW0", "1"); }), lookupMessage("Can't write a word on parameter"));
    EXPECT_EQ(errorText([&] { writeOperandOnce(cpu, "5", "1"); }), lookupMessage("Can't write a dword on parameter"));
    for (int i = 0; i < 64; ++i) writeOperandOnce(cpu, "MB4", "1");
    EXPECT_EQ(errorText([&] { writeOperandOnce(cpu, "MB4", "1"); }), lookupMessage("Too many pending writes"));
}

} // namespace
