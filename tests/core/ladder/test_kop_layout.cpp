#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "ladder/kop_layout.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "support/fake_operation.h"

using namespace sps;

namespace {

using Picture = std::vector<std::vector<std::string>>;

// One cell as text: "." empty, "-" wire, "#" covered, an element as its
// mnemonic and first operand; connector flags follow in braces.
std::string describe(const KOPCell& cell) {
    std::string text;
    switch (cell.state) {
    case CELL_EMPTY: text = "."; break;
    case CELL_WIRE: text = "-"; break;
    case CELL_COVERED: text = "#"; break;
    case CELL_ELEMENT: {
        text = cell.element->op().mnemonic();
        StringWriter name;
        cell.element->op().pinName(name, 1, 0, nullptr);
        text += name.text();
        break;
    }
    }
    std::vector<std::string> flags;
    if (cell.upLeft) flags.push_back("ul");
    if (cell.downLeft) flags.push_back("dl");
    if (cell.upRight) flags.push_back("ur");
    if (cell.downRight) flags.push_back("dr");
    if (!flags.empty()) {
        text += "{";
        for (std::size_t i = 0; i < flags.size(); ++i) text += (i ? "," : "") + flags[i];
        text += "}";
    }
    return text;
}

Picture picture(const KOPGrid& grid) {
    Picture rows;
    for (int r = 0; r < grid.height(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < grid.width(); ++c) rows.back().push_back(describe(grid.cell(r, c)));
    }
    return rows;
}

std::string layoutError(CPU& cpu, const std::vector<std::string>& lines) {
    const auto ops = fake::instructions(cpu, lines);
    try {
        layoutNetwork(ops);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

struct LayoutCase {
    const char* name;
    std::vector<std::string> lines;
    Picture expected;
};

class LayoutExamples : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutExamples, GridMatches) {
    CPU cpu;
    const auto ops = fake::instructions(cpu, GetParam().lines);
    EXPECT_EQ(picture(layoutNetwork(ops)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Networks, LayoutExamples,
    testing::Values(
        LayoutCase{"Series", {"LD E0.0", "U E0.1", "= A0.0"}, {{"LD E0.0", "U E0.1", "= A0.0"}}},
        LayoutCase{"TwoCoilsStackAtTheSameColumn",
                   {"LD E0.0", "= A0.0", "= A0.1"},
                   {{"LD E0.0", "= A0.0{dl}"}, {".", "= A0.1{ul}"}}},
        LayoutCase{"ParallelContactWithWireExtension",
                   {"LD E0.0", "U E0.1", "O E0.2", "= A0.0"},
                   {{"LD E0.0{dl}", "U E0.1{dr}", "= A0.0"}, {"O E0.2{ul}", "-{ur}", "."}}},
        LayoutCase{"ParallelPairInSeries",
                   {"LD E0.0", "LD E0.1", "O E0.2", "ULD", "= A0.0"},
                   {{"LD E0.0", "LD E0.1{dl,dr}", "= A0.0"}, {".", "O E0.2{ul,ur}", "."}}},
        LayoutCase{"OnlyTheLastOfTwoRungsRemains", {"LD E0.0", "= A0.0", "LD E0.1", "= A0.1"}, {{"LD E0.1", "= A0.1"}}},
        LayoutCase{"CompareContactsJoinLikeBitContacts",
                   {"LDW>= VW0, 5", "NOT", "OD<= VD0, 7", "= A0.0"},
                   {{"LDW>= VW0{dl}", "NOT{dr}", "= A0.0"}, {"OD<= VD0{ul}", "-{ur}", "."}}},
        LayoutCase{"PushedBranchStartsWherePushed",
                   {"LD E0.0", "LPS", "U E0.1", "= A0.0", "LPP", "U E0.2", "= A0.1"},
                   {{"LD E0.0", "U E0.1{dl}", "= A0.0"}, {".", "U E0.2{ul}", "= A0.1"}}},
        LayoutCase{"ReadBranchRestartsAtTheSavedCursor",
                   {"LD E0.0", "LPS", "U E0.1", "= A0.0", "LRD", "U E0.2", "= A0.1", "LPP", "= A0.2"},
                   {{"LD E0.0", "U E0.1{dl}", "= A0.0"}, {".", "U E0.2{ul,dl}", "= A0.1"}, {".", "= A0.2{ul}", "."}}},
        LayoutCase{
            "CounterWithTwoBranches",
            {"LD E0.0", "LD E0.1", "ZV Z1, 5"},
            {{"LD E0.0{dl}", "-", "-", "ZV Z1", "#"}, {"LD E0.1{ul}", "-", "-", "#", "#"}, {".", ".", ".", "#", "#"}}},
        LayoutCase{"CounterResetRoutedUpToItsRow",
                   {"LD E0.0", "O E0.2", "LD E0.1", "ZV Z1, 5"},
                   {{"LD E0.0{dl,dr}", "-", "-", "ZV Z1", "#"},
                    {"O E0.2{ul,dl,ur}", ".", ".{dr}", "#", "#"},
                    {"LD E0.1{ul}", "-", "-{ur}", "#", "#"}}},
        LayoutCase{"UpDownCounterWithThreeBranches",
                   {"LD E0.0", "LD E0.1", "LD E0.2", "ZVR Z2, 7"},
                   {{"LD E0.0{dl}", "-", "-", "-", "ZVR Z2", "#"},
                    {"LD E0.1{ul,dl}", "-", "-", "-", "#", "#"},
                    {"LD E0.2{ul}", "-", "-", "-", "#", "#"},
                    {".", ".", ".", ".", "#", "#"}}},
        LayoutCase{"OutputsAfterABoxGoBelowIt",
                   {"LD E0.0", "TON T37, 100", "= A0.0"},
                   {{"LD E0.0", "TON T37{dl}", "#"}, {".", "#{ul,dl}", "#"}, {".", "= A0.0{ul}", "."}}},
        LayoutCase{"LabelAlone", {"LBL 3"}, {{"LBL 3"}}}, LayoutCase{"EmptyNetwork", {}, {}}),
    [](const testing::TestParamInfo<LayoutCase>& testCase) { return testCase.param.name; });

// A move followed by an instruction that completes it in place becomes one box.
struct FoldCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> elements; // mnemonics in row order
    int mergeKind;
    const char* mergeOperand;
    Width mergeSize;
};

class MoveFolding : public testing::TestWithParam<FoldCase> {};

TEST_P(MoveFolding, ShowsOneBoxOnlyWhenOperandAndSizeMatch) {
    const FoldCase& c = GetParam();
    CPU cpu;
    std::vector<std::string> lines{"LD E0.0"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    const auto ops = fake::instructions(cpu, lines);
    const KOPGrid grid = layoutNetwork(ops);

    std::vector<std::string> elements;
    const KOPE* last = nullptr;
    for (int r = 0; r < grid.height(); ++r)
        for (int col = 1; col < grid.width(); ++col)
            if (const KOPE* e = grid.cell(r, col).element.get()) {
                elements.push_back(e->op().mnemonic());
                last = e;
            }
    ASSERT_EQ(elements, c.elements);
    EXPECT_EQ(last->mergeKind(), c.mergeKind);
    if (c.mergeOperand == nullptr) {
        EXPECT_EQ(last->mergeOperand(), nullptr);
        return;
    }
    ASSERT_NE(last->mergeOperand(), nullptr);
    EXPECT_EQ(last->pinName(3), c.mergeOperand);
    EXPECT_EQ(last->mergeSize(), c.mergeSize);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveFolding,
    testing::Values(
        FoldCase{"WordAddIntoTheMovedWord", {"MOVW VW0, VW4", "+I VW2, VW4"}, {"+I"}, 3, " VW0", Width::Word},
        FoldCase{"OtherTargetStaysTwoBoxes", {"MOVW VW0, VW4", "+I VW2, VW6"}, {"MOVW", "+I"}, 0, nullptr, Width::Byte},
        FoldCase{
            "SizesDifferForAccumulators", {"MOVB AC0, AC1", "+I AC2, AC1"}, {"MOVB", "+I"}, 0, nullptr, Width::Byte},
        FoldCase{"DoubleWordAdd", {"MOVD VD0, VD4", "+D VD8, VD4"}, {"+D"}, 3, " VD0", Width::Dword},
        FoldCase{"RealAddIntoTheMovedReal", {"MOVR VD0, VD4", "+R VD8, VD4"}, {"+R"}, 3, " VD0", Width::Dword},
        FoldCase{
            "InPlaceWithoutNamedOperand", {"MOVW VW0, VW4", "INCW VW4"}, {"MOVW", "INCW"}, 0, nullptr, Width::Byte},
        FoldCase{"MoveAtTheEnd", {"MOVW VW0, VW4"}, {"MOVW"}, 0, nullptr, Width::Byte}),
    [](const testing::TestParamInfo<FoldCase>& testCase) { return testCase.param.name; });

TEST(LayoutErrors, OverlapsAreReportedWithTheirMessages) {
    CPU cpu;
    // The lower branch is longer, so the upper one would need a wire through the coil.
    EXPECT_EQ(layoutError(cpu, {"LD E0.0", "= A0.0", "LD E0.1", "U E0.2", "OLD"}), lookupMessage("Entry in use"));

    KOPGrid grid = wireGrid();
    EXPECT_THROW(placeGrid(grid, wireGrid(), 0, 0), CPUException);
    try {
        placeGrid(grid, wireGrid(), 0, 0);
    } catch (const CPUException& error) {
        EXPECT_EQ(error.messageText(), lookupMessage("KOP-place in use"));
    }
}

TEST(LayoutErrors, BoxOverlappingALowerBranchIsPlaceInUse) {
    CPU cpu;
    // Row 0 is free right of the cursor, but the second row of the new box
    // meets the timer of the parallel branch below.
    EXPECT_EQ(layoutError(cpu, {"LD E0.0", "LD E0.1", "TON T37, 100", "OLD", "TON T38, 100"}),
              lookupMessage("KOP-place in use"));
}

TEST(LayoutErrors, StackRangeIsChecked) {
    CPU cpu;
    const std::string outOfRange = lookupMessage("KOP-levels out of range");
    const std::vector<std::vector<std::string>> cases{
        {"LPP"},                            // pop below level 0
        {"OLD"},                            // nothing to combine with
        {"ULD"},                            //
        {"LRD"},                            // no level below to read
        {"ZV Z1, 5"},                       // counter needs two input levels
        {"LD E0.0", "ZVR Z1, 5"},           // up-down counter needs three
        {"LD E0.0", "LPS", "OLD"},          // a level combined with itself
        {"LD E0.0", "LPS", "U E0.1", "ULD"} //
    };
    for (const auto& lines : cases) EXPECT_EQ(layoutError(cpu, lines), outOfRange) << lines.back();

    std::vector<std::string> deepest(KOP_LAYOUT_LEVELS - 1, "LD E0.0");
    EXPECT_EQ(layoutError(cpu, deepest), "");
    deepest.push_back("LD E0.0");
    EXPECT_EQ(layoutError(cpu, deepest), outOfRange);
    deepest.back() = "LPS";
    EXPECT_EQ(layoutError(cpu, deepest), outOfRange);
}

TEST(LayoutErrors, UnknownStackOperationFailsWithItsMnemonic) {
    CPU cpu;
    EXPECT_EQ(layoutError(cpu, {"LD E0.0", "BAD"}), "BAD");
}

TEST(LayoutPrimitives, ParallelBranchesEndingAtColumnZeroJoinAtTheRail) {
    CPU cpu;
    const auto coil = fake::instruction(cpu, "= A0.0");
    KOPGrid grid = gridForElement(makeElement(*coil));
    Cursor cursor{0, 0};
    appendParallel(grid, cursor, wireGrid(), Cursor{0, 0});
    EXPECT_EQ(picture(grid), (Picture{{"= A0.0{dl}"}, {"-{ul}"}}));
    EXPECT_EQ(cursor, (Cursor{0, 0}));
}

TEST(LayoutPrimitives, SeriesSearchSkipsRowsOccupiedRightOfTheCursor) {
    CPU cpu;
    const auto ops = fake::instructions(cpu, {"LD E0.0", "= A0.0", "= A0.1", "= A0.2"});
    KOPGrid grid = layoutNetwork(ops);
    Cursor cursor{1, 0};
    const auto contact = fake::instruction(cpu, "U E0.5");
    appendSeries(grid, cursor, gridForElement(makeElement(*contact)), ELEMENT_CURSOR);
    EXPECT_EQ(cursor, (Cursor{2, 3}));
    EXPECT_EQ(describe(grid.cell(3, 1)), "U E0.5{ul}");
    EXPECT_EQ(describe(grid.cell(2, 1)), "= A0.2{ul,dl}");
}

} // namespace
