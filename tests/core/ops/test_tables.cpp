// Word tables, fill, block moves and table searches on V memory.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "cpu/cpu.h"
#include "support/error_text.h"
#include "support/german_texts.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using harness::makeInstruction;

class TableTest : public ::testing::Test {
protected:
    // Writes consecutive words from VW<address> on.
    void words(int address, std::initializer_list<int> values) {
        for (int value : values) {
            cpu.areaV.writeWord(address, value);
            address += 2;
        }
    }
    std::vector<int> wordsAt(int address, int count) {
        std::vector<int> values;
        for (int i = 0; i < count; ++i) values.push_back(cpu.areaV.readWord(address + 2 * i));
        return values;
    }
    void run(const char* line, int top = 1) {
        auto op = makeInstruction(cpu, line);
        cpu.logicStack = static_cast<std::uint32_t>(top);
        op->execute(cpu);
    }

    CPU cpu;
};

// The ATT, FIFO and LIFO table at VW100: TL, EC, entries.

TEST_F(TableTest, AddToTable) {
    words(0, {77});
    words(100, {3, 3, 1, 2, 3, 99});
    run("ATT VW0, VW100");
    EXPECT_EQ(wordsAt(100, 6), (std::vector<int>{3, 3, 1, 2, 3, 99})) << "a full table is left alone";

    words(100, {3, 1, 1, 0, 0});
    run("ATT VW0, VW100");
    EXPECT_EQ(wordsAt(100, 5), (std::vector<int>{3, 2, 1, 77, 0}));

    run("ATT VW0, VW100", 0);
    EXPECT_EQ(wordsAt(100, 5), (std::vector<int>{3, 2, 1, 77, 0})) << "top 0";
}

TEST_F(TableTest, FirstInFirstOut) {
    words(100, {5, 3, 10, 20, 30});
    run("FIFO VW100, VW0");
    EXPECT_EQ(cpu.areaV.readWord(0), 10);
    EXPECT_EQ(wordsAt(100, 5), (std::vector<int>{5, 2, 20, 30, 30})) << "the last entry's old word stays";
}

TEST_F(TableTest, LastInFirstOut) {
    words(100, {5, 3, 10, 20, 30});
    run("LIFO VW100, VW0");
    EXPECT_EQ(cpu.areaV.readWord(0), 30);
    EXPECT_EQ(wordsAt(100, 5), (std::vector<int>{5, 2, 10, 20, 30}));
}

// Too long (TL above 100), full, empty, or holding more entries than it
// may: nothing is written.
TEST_F(TableTest, UnsoundTablesAreIgnored) {
    struct Case {
        const char* line;
        std::vector<int> table;
    };
    const Case cases[] = {
        {"ATT VW0, VW100", {150, 1, 10, 0}},   {"FIFO VW100, VW0", {150, 2, 10, 20}},
        {"LIFO VW100, VW0", {150, 2, 10, 20}}, {"ATT VW0, VW100", {2, 3, 10, 20}},
        {"FIFO VW100, VW0", {5, 0, 10, 20}},   {"LIFO VW100, VW0", {5, 0, 10, 20}},
        {"FIFO VW100, VW0", {1, 2, 10, 20}},   {"LIFO VW100, VW0", {1, 2, 10, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        words(0, {1234});
        for (std::size_t i = 0; i < c.table.size(); ++i) cpu.areaV.writeWord(100 + 2 * static_cast<int>(i), c.table[i]);
        run(c.line);
        EXPECT_EQ(cpu.areaV.readWord(0), 1234);
        EXPECT_EQ(wordsAt(100, 4), c.table);
    }
}

// The search table at VW200: EC, then the entries 4, 7, 9, 7, 2; the index
// lives in VW10.
TEST_F(TableTest, FindFromAStartIndex) {
    words(200, {5, 4, 7, 9, 7, 2});
    struct Case {
        const char* line;
        int start;
        int found;
    };
    const Case cases[] = {
        {"FIND= VW200, 7, VW10", 0, 1}, {"FIND= VW200, 7, VW10", 2, 3},  {"FIND= VW200, 7, VW10", 4, 5},
        {"FIND= VW200, 7, VW10", 9, 9}, {"FIND<> VW200, 4, VW10", 0, 1}, {"FIND> VW200, 8, VW10", 0, 2},
        {"FIND< VW200, 4, VW10", 0, 4}, {"FIND< VW200, 4, VW10", 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        words(10, {c.start});
        run(c.line, 0); // a search runs whatever the stack holds
        EXPECT_EQ(cpu.areaV.readWord(10), c.found);
        EXPECT_EQ(cpu.logicStack, 0u);
    }
}

TEST_F(TableTest, FindComparesUnsigned) {
    words(200, {3, 0xFFFF, 0x8000, 1});
    words(10, {0});
    run("FIND> VW200, 1, VW10");
    EXPECT_EQ(cpu.areaV.readWord(10), 0);
    words(10, {0});
    run("FIND< VW200, 2, VW10");
    EXPECT_EQ(cpu.areaV.readWord(10), 2);
    words(10, {0});
    run("FIND< VW200, 16#FFFF, VW10");
    EXPECT_EQ(cpu.areaV.readWord(10), 1);
}

// A search over more than 100 entries stops at index 100.
TEST_F(TableTest, FindStopsAfterOneHundredEntries) {
    words(200, {150});
    words(10, {0});
    run("FIND= VW200, 1, VW10");
    EXPECT_EQ(cpu.areaV.readWord(10), 100);
}

TEST_F(TableTest, Fill) {
    words(100, {1, 1, 1, 1});
    run("FILL 0, VW100, 0");
    EXPECT_EQ(wordsAt(100, 4), (std::vector<int>{1, 1, 1, 1}));
    run("FILL 16#ABCD, VW100, 3");
    EXPECT_EQ(wordsAt(100, 4), (std::vector<int>{0xABCD, 0xABCD, 0xABCD, 1}));
}

TEST_F(TableTest, BlockMoves) {
    words(0, {1, 2, 3, 4});
    run("BMW VW0, VW100, 3");
    EXPECT_EQ(wordsAt(100, 4), (std::vector<int>{1, 2, 3, 0}));

    run("BMB VB0, VB200, 3");
    EXPECT_EQ(cpu.areaV.readDword(200), 0x00010000u);

    cpu.areaV.writeDword(300, 0x11111111);
    cpu.areaV.writeDword(304, 0x22222222);
    run("BMD VD300, VD400, 2");
    EXPECT_EQ(cpu.areaV.readDword(400), 0x11111111u);
    EXPECT_EQ(cpu.areaV.readDword(404), 0x22222222u);
}

// Each element is read just before it is written, so a move onto an
// overlapping higher block repeats the first element.
TEST_F(TableTest, OverlappingBlockMoveRepeatsTheFirstElement) {
    words(0, {1, 2, 3, 4});
    run("BMW VW0, VW2, 3");
    EXPECT_EQ(wordsAt(0, 4), (std::vector<int>{1, 1, 1, 1}));
}

// Each element is read just before it is written, so the words before the
// end of V are moved when the read beyond it fails.
TEST_F(TableTest, BlockMoveBeyondTheAreaFailsWhereItLeavesTheArea) {
    words(4090, {1, 2, 3});
    EXPECT_EQ(errorText([&] { run("BMW VW4090, VW0, 10"); }), german::OUT_OF_FIELD_READ);
    EXPECT_EQ(wordsAt(0, 4), (std::vector<int>{1, 2, 3, 0}));
}

} // namespace
