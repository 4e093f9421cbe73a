// Contacts, coils, edges and the logic-stack operations, executed on a CPU
// whose bus has one small input/output device.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/io.h"
#include "cpu/operation.h"
#include "messages/cpu_exception.h"
#include "support/german_texts.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::makeInstruction;

// Two input and two output bytes; counts how often an input is read.
class FakeIO final : public IO {
public:
    int readInput(int byte, int bit) override {
        ++reads;
        return (inputs.at(static_cast<std::size_t>(byte)) >> bit) & 1;
    }
    int inputBytes() override { return 2; }
    void writeOutput(int byte, int bit, int value) override {
        auto& out = outputs.at(static_cast<std::size_t>(byte));
        out = static_cast<std::uint8_t>(value ? out | (1u << bit) : out & ~(1u << bit));
    }
    int outputBytes() override { return 2; }

    std::array<std::uint8_t, 2> inputs{};
    std::array<std::uint8_t, 2> outputs{};
    int reads = 0;
};

class BitLogic : public testing::Test {
protected:
    BitLogic() { bus.setDevice(0, &io); }

    void run(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) makeInstruction(cpu, line)->execute(cpu);
    }

    // The German text of running the lines, or "" when they run through.
    std::string runError(const std::vector<std::string>& lines) {
        try {
            run(lines);
        } catch (const CPUException& error) {
            return error.messageText();
        }
        return "";
    }

    int top() const { return static_cast<int>(cpu.logicStack & 1u); }

    FakeIO io;
    IOBus bus;
    CPU cpu{bus};
};

// Results for (top, operand) = 00, 01, 10, 11.
struct ContactCase {
    std::string mnemonic;
    std::string results;
};

const ContactCase kAndOrContacts[] = {
    {"U", "0001"},
    {"UN", "0010"},
    {"O", "0111"},
    {"ON", "1011"},
};

TEST_F(BitLogic, AndOrContactsCombineWithTheTopAndKeepTheDepth) {
    for (const ContactCase& c : kAndOrContacts) {
        for (int combo = 0; combo < 4; ++combo) {
            const auto topBefore = static_cast<std::uint32_t>(combo >> 1);
            const int operand = combo & 1;
            const std::uint32_t expected = static_cast<std::uint32_t>(c.results[static_cast<std::size_t>(combo)] - '0');
            SCOPED_TRACE(c.mnemonic + " combo " + std::to_string(combo));

            cpu.areaM.writeBit(0, 1, operand);
            cpu.logicStack = 0b10u | topBefore;
            run({c.mnemonic + " M0.1"});
            EXPECT_EQ(cpu.logicStack, 0b10u | expected);

            // The immediate form reads the bus input, not the image.
            io.inputs[1] = static_cast<std::uint8_t>(operand << 2);
            cpu.areaE.writeBit(1, 2, !operand);
            cpu.logicStack = 0b10u | topBefore;
            run({c.mnemonic + "I E1.2"});
            EXPECT_EQ(cpu.logicStack, 0b10u | expected);
        }
    }
}

TEST_F(BitLogic, LoadContactsPushANewLevel) {
    struct Case {
        std::string line;
        int operand;
        std::uint32_t pushed;
    };
    const Case cases[] = {
        {"LD M0.1", 0, 0},  {"LD M0.1", 1, 1},  {"LDN M0.1", 0, 1},  {"LDN M0.1", 1, 0},
        {"LDI E1.2", 0, 0}, {"LDI E1.2", 1, 1}, {"LDNI E1.2", 0, 1}, {"LDNI E1.2", 1, 0},
    };
    for (const Case& c : cases) {
        cpu.areaM.writeBit(0, 1, c.operand);
        io.inputs[1] = static_cast<std::uint8_t>(c.operand << 2);
        cpu.areaE.writeBit(1, 2, !c.operand);
        cpu.logicStack = 0b1;
        run({c.line});
        EXPECT_EQ(cpu.logicStack, 0b10u | c.pushed) << c.line << " with " << c.operand;
    }
}

TEST_F(BitLogic, AndOrContactsReadOnlyWhenTheOperandCanChangeTheResult) {
    // V4096.0 lies beyond the end of V: reading it fails.
    struct Case {
        std::string mnemonic;
        std::uint32_t decidingTop; // the popped value that decides alone
    };
    const Case cases[] = {{"U", 0}, {"UN", 0}, {"O", 1}, {"ON", 1}};
    for (const Case& c : cases) {
        cpu.logicStack = c.decidingTop;
        EXPECT_EQ(runError({c.mnemonic + " V4096.0"}), "") << c.mnemonic;
        EXPECT_EQ(cpu.logicStack, c.decidingTop) << c.mnemonic;
        cpu.logicStack = 1u - c.decidingTop;
        EXPECT_EQ(runError({c.mnemonic + " V4096.0"}), german::OUT_OF_FIELD_READ) << c.mnemonic;

        io.reads = 0;
        cpu.logicStack = c.decidingTop;
        run({c.mnemonic + "I E0.0"});
        EXPECT_EQ(io.reads, 0) << c.mnemonic << "I";
        cpu.logicStack = 1u - c.decidingTop;
        run({c.mnemonic + "I E0.0"});
        EXPECT_EQ(io.reads, 1) << c.mnemonic << "I";
    }
}

TEST_F(BitLogic, AssignWritesTheGatedTopAlsoWhenItIsZero) {
    cpu.areaM.writeBit(0, 0, 1);
    cpu.logicStack = 0b10;
    run({"= M0.0"});
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 0);

    cpu.logicStack = 1;
    run({"= M0.0"});
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 1);

    cpu.scrState = ScrState::Inactive;
    run({"= M0.0"});
    EXPECT_EQ(cpu.areaM.readBit(0, 0), 0);
}

TEST_F(BitLogic, AssignImmediateWritesImageAndBusOutput) {
    cpu.logicStack = 1;
    run({"=I A1.3"});
    EXPECT_EQ(cpu.areaA.readBit(1, 3), 1);
    EXPECT_EQ(io.outputs[1], 0x08);

    cpu.logicStack = 0;
    run({"=I A1.3"});
    EXPECT_EQ(cpu.areaA.readBit(1, 3), 0);
    EXPECT_EQ(io.outputs[1], 0x00);
}

TEST_F(BitLogic, SetAndResetWriteARunOfBitsAcrossByteBoundaries) {
    struct Case {
        std::string line;
        std::uint32_t top;
        int fill; // value of MB0..MB2 before
        std::array<int, 3> after;
    };
    const Case cases[] = {
        {"S M0.5, 10", 1, 0x00, {0xE0, 0x7F, 0x00}}, {"R M0.5, 10", 1, 0xFF, {0x1F, 0x80, 0xFF}},
        {"S M0.0, 24", 1, 0x00, {0xFF, 0xFF, 0xFF}}, {"S M0.5, 0", 1, 0x00, {0x00, 0x00, 0x00}},
        {"R M0.5, 0", 1, 0xFF, {0xFF, 0xFF, 0xFF}},  {"S M0.5, 10", 0, 0x00, {0x00, 0x00, 0x00}},
        {"R M0.5, 10", 0, 0xFF, {0xFF, 0xFF, 0xFF}}, {"S M1.3, 1", 1, 0x00, {0x00, 0x08, 0x00}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) cpu.areaM.writeByte(i, c.fill);
        cpu.logicStack = c.top;
        run({c.line});
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(cpu.areaM.readByte(i), c.after[static_cast<std::size_t>(i)]) << c.line << " MB" << i;
    }
}

TEST_F(BitLogic, ImmediateSetAndResetAlsoWriteTheBusOutputs) {
    cpu.logicStack = 1;
    run({"SI A0.6, 4"});
    EXPECT_EQ(cpu.areaA.readByte(0), 0xC0);
    EXPECT_EQ(cpu.areaA.readByte(1), 0x03);
    EXPECT_EQ(io.outputs[0], 0xC0);
    EXPECT_EQ(io.outputs[1], 0x03);

    run({"RI A0.7, 2"});
    EXPECT_EQ(cpu.areaA.readByte(0), 0x40);
    EXPECT_EQ(cpu.areaA.readByte(1), 0x02);
    EXPECT_EQ(io.outputs[0], 0x40);
    EXPECT_EQ(io.outputs[1], 0x02);

    cpu.logicStack = 0;
    run({"RI A0.6, 8"});
    EXPECT_EQ(io.outputs[0], 0x40);
}

TEST_F(BitLogic, CoilCountIsReadOnlyWhenTheCoilActs) {
    // *VD0 with VD0 = 0 points outside V.
    for (const char* line : {"S M0.0, *VD0", "R M0.0, *VD0", "SI A0.0, *VD0", "RI A0.0, *VD0"}) {
        cpu.logicStack = 0;
        EXPECT_EQ(runError({line}), "") << line;
        cpu.logicStack = 1;
        EXPECT_EQ(runError({line}), german::POINTER_OUT_OF_RANGE) << line;
    }
}

TEST_F(BitLogic, ResetOfTimersAndCountersChecksItsCountInEveryExecution) {
    struct Case {
        std::string line;
        std::uint32_t top;
        ScrState scrState;
        const char* error;
        bool resets;
    };
    const Case cases[] = {
        {"R T37, 2", 0, ScrState::Outside, german::INVALID_RESET, false},
        {"R T37, 2", 1, ScrState::Outside, german::INVALID_RESET, false},
        {"R T37, 0", 1, ScrState::Outside, german::INVALID_RESET, false},
        {"R T37, 1", 0, ScrState::Outside, "", false},
        {"R T37, 1", 1, ScrState::Outside, "", true},
        {"R T37, 1", 1, ScrState::Inactive, "", false},
        {"R Z3, 2", 0, ScrState::Outside, german::INVALID_RESET, false},
        {"R Z3, 1", 0, ScrState::Outside, "", false},
        {"R Z3, 1", 1, ScrState::Outside, "", true},
        {"R Z3, 1", 1, ScrState::Active, "", true},
    };
    for (const Case& c : cases) {
        TimerRecord& timer = cpu.timers[37];
        timer = {};
        timer.value = 150;
        timer.preset = 300;
        timer.running = true;
        cpu.counters[3] = {5, 7}; // preset 5, value 7
        cpu.logicStack = c.top;
        cpu.scrState = c.scrState;

        EXPECT_EQ(runError({c.line}), c.error) << c.line << " top " << c.top;
        const bool timerLine = c.line[2] == 'T';
        const bool timerReset = timerLine && c.resets;
        const bool counterReset = !timerLine && c.resets;
        EXPECT_EQ(timer.value, timerReset ? 0 : 150) << c.line;
        EXPECT_EQ(timer.running, !timerReset) << c.line;
        EXPECT_EQ(timer.preset, 300) << c.line;
        EXPECT_EQ(cpu.counters[3].value, counterReset ? 0 : 7) << c.line;
        EXPECT_EQ(cpu.counters[3].preset, 5) << c.line;
    }
}

TEST_F(BitLogic, EdgesPulseOnceAndForgetTheirPastOnReset) {
    harness::installProgram(cpu,
                            {{BLOCK_ORGANIZATION, "OB1", {{"LD M0.0", "EU", "= M1.0"}, {"LD M0.0", "ED", "= M1.1"}}}});
    struct Step {
        bool reset;
        int input;
        int rising;
        int falling;
    };
    const Step steps[] = {
        {true, 1, 0, 0},  // input already 1 after a reset: no rising pulse
        {false, 1, 0, 0}, //
        {false, 0, 0, 1}, // falling edge
        {false, 0, 0, 0}, //
        {false, 1, 1, 0}, // rising edge
        {false, 1, 0, 0}, //
        {true, 1, 0, 0},  // reset remembers 1 for EU
        {false, 0, 0, 1}, //
        {true, 0, 0, 0},  // reset remembers 0 for ED
        {false, 1, 1, 0},
    };
    int n = 0;
    for (const Step& step : steps) {
        if (step.reset) resetCpu(cpu);
        cpu.areaM.writeBit(0, 0, step.input);
        scanCycle(cpu);
        EXPECT_EQ(cpu.areaM.readBit(1, 0), step.rising) << "step " << n;
        EXPECT_EQ(cpu.areaM.readBit(1, 1), step.falling) << "step " << n;
        ++n;
    }
}

TEST_F(BitLogic, EdgeMemoryHoldsWhileItsSegmentIsClosed) {
    const auto rising = makeInstruction(cpu, "EU");
    const auto falling = makeInstruction(cpu, "ED");
    rising->resetState();
    falling->resetState();

    // Open: both see 1.
    cpu.scrState = ScrState::Outside;
    cpu.logicStack = 1;
    rising->execute(cpu);
    EXPECT_EQ(top(), 0);
    cpu.logicStack = 1;
    falling->execute(cpu);
    EXPECT_EQ(top(), 0);

    // Closed: every read is 0, the memories keep 1.
    cpu.scrState = ScrState::Inactive;
    cpu.logicStack = 1;
    rising->execute(cpu);
    EXPECT_EQ(cpu.logicStack, 0u);
    cpu.logicStack = 1;
    falling->execute(cpu);
    EXPECT_EQ(cpu.logicStack, 0u);

    // Open again with 1: no rising edge. With 0: the falling edge against the kept 1.
    cpu.scrState = ScrState::Active;
    cpu.logicStack = 1;
    rising->execute(cpu);
    EXPECT_EQ(top(), 0);
    cpu.logicStack = 0;
    falling->execute(cpu);
    EXPECT_EQ(top(), 1);
}

TEST_F(BitLogic, StackHoldsThirtyTwoLevelsAndAnEmptyStackPopsZero) {
    for (const int zeros : {31, 32}) {
        cpu.logicStack = 0;
        std::vector<std::string> lines{"LD 1"};
        lines.insert(lines.end(), static_cast<std::size_t>(zeros), "LD 0");
        lines.insert(lines.end(), 31, "LPP");
        run(lines);
        // After 33 pushes the first one has been shifted out.
        EXPECT_EQ(cpu.logicStack, zeros == 31 ? 1u : 0u) << zeros;
    }

    cpu.logicStack = 0x80000000u;
    run({"LPP"});
    EXPECT_EQ(cpu.logicStack, 0x40000000u);

    struct Case {
        std::string line;
        std::uint32_t after;
    };
    const Case emptyCases[] = {{"NOT", 1}, {"ULD", 0}, {"OLD", 0}, {"LPP", 0}, {"LRD", 0}, {"U 1", 0}, {"O 1", 1}};
    for (const Case& c : emptyCases) {
        cpu.logicStack = 0;
        run({c.line});
        EXPECT_EQ(cpu.logicStack, c.after) << c.line;
    }
}

TEST_F(BitLogic, PushPopAndReadAroundThreeBranches) {
    cpu.areaM.writeByte(0, 0b1010); // M0.1 = 1, M0.2 = 0, M0.3 = 1
    for (const int input : {0, 1}) {
        cpu.areaM.writeBit(0, 0, input);
        cpu.areaA.writeByte(0, 0xFF);
        cpu.logicStack = 1; // a level below the branches
        run({"LD M0.0"});
        const std::uint32_t beforeBranches = cpu.logicStack;
        run({"LPS", "U M0.1", "= A0.0", "LRD"});
        EXPECT_EQ(cpu.logicStack, (beforeBranches << 1) | static_cast<std::uint32_t>(input));
        run({"U M0.2", "= A0.1", "LPP"});
        EXPECT_EQ(cpu.logicStack, beforeBranches);
        run({"U M0.3", "= A0.2"});
        EXPECT_EQ(cpu.areaA.readByte(0), 0xF8 | (input ? 0b101 : 0)) << input;
    }
}

TEST_F(BitLogic, BlockCombinationsPopTwoLevelsAndPushOne) {
    const ContactCase cases[] = {{"ULD", "0001"}, {"OLD", "0111"}, {"NOT", "1010"}, {"LPS", "0101"}};
    for (const ContactCase& c : cases) {
        for (std::uint32_t levels = 0; levels < 4; ++levels) {
            cpu.logicStack = 0b100u | levels;
            run({c.mnemonic});
            const std::uint32_t result = static_cast<std::uint32_t>(c.results[levels] - '0');
            std::uint32_t expected = 0;
            if (c.mnemonic == "ULD" || c.mnemonic == "OLD")
                expected = 0b10u | result;
            else if (c.mnemonic == "NOT")
                expected = (0b100u | (levels & 0b10u)) | result;
            else
                expected = ((0b100u | levels) << 1) | result;
            EXPECT_EQ(cpu.logicStack, expected) << c.mnemonic << " levels " << levels;
        }
    }
}

TEST_F(BitLogic, ClosedSegmentMakesEveryPushZero) {
    cpu.areaM.writeBit(0, 0, 1);
    cpu.scrState = ScrState::Inactive;
    for (const char* line : {"LD M0.0", "LDN M0.1", "LDI E0.0", "LDNI E0.0", "NOT", "LPS", "ON M0.1"}) {
        cpu.logicStack = 1;
        run({line});
        EXPECT_EQ(cpu.logicStack & 1u, 0u) << line;
    }
}

} // namespace
