#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "canvas/canvases.h"
#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "ladder/kop_elements.h"
#include "ladder/kop_net.h"
#include "messages/cpu_exception.h"
#include "support/fake_operation.h"
#include "support/instruction_harness.h"

using namespace sps;

namespace {

using Listing = std::vector<std::string>;

// Units of 8 x 15 pixels make every half-unit rounding visible: 3.5v is
// 52.5 and 4.5v is 67.5 pixels.
constexpr int U = 8;
constexpr int V = 15;

Listing drawn(const KOPE& element) {
    RecordingCanvas canvas(U, V);
    element.draw(canvas, 100, 200);
    return canvas.listing();
}

long countOf(const Listing& listing, const std::string& primitive) {
    return std::count(listing.begin(), listing.end(), primitive);
}

const Listing BOX_FRAME{"line 100 260 180 260", "line 180 215 340 215", "line 180 380 340 380", "line 180 215 180 380",
                        "line 340 215 340 380"};

Listing concat(Listing a, const Listing& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ElementDrawing, ContactsShowBarsLabelAndPins) {
    CPU cpu;
    const auto negated = fake::instruction(cpu, "LDN E0.1");
    EXPECT_EQ(drawn(KontaktKOPE(*negated)),
              (Listing{"line 100 260 116 260", "line 220 260 260 260", "line 116 245 116 275", "line 220 245 220 275",
                       "text 124 253 /", "text 124 230  E0.1", "text 204 230 0", "text 124 275 ", "text 204 275 "}));

    cpu.areaV.writeByte(0, 7);
    const auto compare = fake::instruction(cpu, "LDB= VB0, 5");
    const Listing texts = drawn(KontaktKOPE(*compare));
    EXPECT_EQ(Listing(texts.begin() + 4, texts.end()),
              (Listing{"text 124 253 ==B", "text 124 230  VB0", "text 204 230 7", "text 124 275  5", "text 204 275 "}));
}

TEST(ElementDrawing, CoilsShowParenthesesFromHalfUnits) {
    CPU cpu;
    const auto set = fake::instruction(cpu, "S A0.0, 2");
    EXPECT_EQ(drawn(SpuleKOPE(*set)),
              (Listing{"line 100 260 116 260", "line 116 252 120 245", "line 116 252 116 268", "line 116 268 120 275",
                       "line 220 252 220 268", "line 220 252 216 245", "line 216 275 220 268", "text 132 253 S",
                       "text 124 230  A0.0", "text 204 230 0", "text 124 275  2", "text 204 275 "}));
}

TEST(ElementDrawing, LabelIsFramedOnTheWire) {
    CPU cpu;
    const auto label = fake::instruction(cpu, "LBL 3");
    EXPECT_EQ(drawn(LableKOPE(*label)),
              (Listing{"line 100 260 116 260", "line 116 245 196 245", "line 116 275 196 275", "line 116 245 116 275",
                       "line 196 245 196 275", "text 124 260 LBL", "text 124 230  3", "text 204 230 "}));
}

TEST(ElementDrawing, OneInputBoxShowsInputAndOutput) {
    CPU cpu;
    cpu.areaV.writeWord(0, 300);
    const auto move = fake::instruction(cpu, "MOVW VW0, VW4");
    EXPECT_EQ(drawn(Box1KOPE(*move)),
              concat(BOX_FRAME, {"text 260 215 MOV_W", "line 172 358 180 358", "text 132 350  VW0", "text 140 365 300",
                                 "line 340 358 348 358", "text 348 350  VW4", "text 356 365 0"}));
}

TEST(ElementDrawing, TwoInputBoxShowsTheFoldedOperandAtItsFirstInput) {
    CPU cpu;
    const auto add = fake::instruction(cpu, "+I VW2, VW4");
    const auto source = parseOperand(cpu, "VW0");
    Box2KOPE box(*add);
    box.setMerge(3, source.get(), Width::Word);
    EXPECT_EQ(drawn(box),
              concat(BOX_FRAME, {"text 260 215 ADD_I", "line 172 328 180 328", "text 132 320  VW0", "text 156 335 0",
                                 "line 172 358 180 358", "text 132 350  VW2", "text 156 365 0", "line 340 358 348 358",
                                 "text 348 350  VW4", "text 356 365 0"}));
}

TEST(ElementDrawing, TimerShowsItselfAboveAndThePresetBelow) {
    CPU cpu;
    cpu.timers[37].value = 150;
    cpu.timers[37].preset = 300;
    const auto timer = fake::instruction(cpu, "TON T37, 100");
    EXPECT_EQ(drawn(TimerKOPE(*timer)),
              (Listing{"line 100 260 180 260", "line 180 230 340 230", "line 180 380 340 380", "line 180 230 180 380",
                       "line 340 230 340 380", "text 260 230 TON", "line 172 358 180 358", "text 204 215  T37",
                       "text 300 215 0:150", "text 132 350  100", "text 164 365 "}));
}

TEST(ElementDrawing, CountersHaveOneLeadPerInputRow) {
    CPU cpu;
    cpu.counters[1].value = 3;
    cpu.counters[1].preset = 5;
    const auto up = fake::instruction(cpu, "ZV Z1, 5");
    EXPECT_EQ(drawn(CounterKOPE(*up, 3)),
              (Listing{"line 100 260 180 260", "line 100 365 180 365", "line 180 230 340 230", "line 180 485 340 485",
                       "line 180 230 180 485", "line 340 230 340 485", "text 260 230 CTU", "line 172 462 180 462",
                       "text 204 215  Z1", "text 300 215 0:3", "text 148 455  5", "text 164 470 "}));

    cpu.counters[2].value = 9;
    cpu.counters[2].preset = 7;
    const auto upDown = fake::instruction(cpu, "ZVR Z2, 7");
    EXPECT_EQ(
        drawn(CounterKOPE(*upDown, 4)),
        (Listing{"line 100 260 180 260", "line 100 365 180 365", "line 100 470 180 470", "line 180 230 340 230",
                 "line 180 590 340 590", "line 180 230 180 590", "line 340 230 340 590", "text 260 230 CTUD",
                 "line 172 568 180 568", "text 204 215  Z2", "text 300 215 1:9", "text 148 560  7", "text 164 575 "}));
}

// A program built from networks of instruction lines; every block is named
// as given (empty for none).
struct ProgramFixture {
    CPU cpu;
    std::shared_ptr<Program> program = std::make_shared<Program>();

    void addBlock(const std::string& name, const std::vector<std::pair<int, std::vector<std::string>>>& networks) {
        Block block;
        block.name = name;
        for (const auto& [number, lines] : networks) {
            Network network;
            network.number = number;
            network.ops = fake::instructions(cpu, lines);
            block.networks.push_back(std::move(network));
        }
        program->push_back(std::move(block));
    }
};

TEST(LadderDrawing, HeadersNameTheBlockWhenItHasAName) {
    ProgramFixture f;
    f.addBlock("MAIN", {{3, {"LD E0.0", "= A0.0"}}});
    f.addBlock("", {{3, {"LD E0.0", "= A0.0"}}, {4, {}}});
    KOPNet net;
    net.setProgram(f.program);
    ASSERT_EQ(net.rungs().size(), 3u);
    RecordingCanvas canvas(U, V);
    net.drawContent(canvas);
    const Listing listing = canvas.listing();
    EXPECT_EQ(listing.front(), "text 10 15 Network 3 (MAIN)");
    // Each one-row rung takes 4v header, 7v row and 3v gap: 210 pixels.
    EXPECT_EQ(countOf(listing, "text 10 225 Network 3"), 1);
    // The empty network still shows its header and a rail of no length.
    EXPECT_EQ(listing[listing.size() - 2], "text 10 435 Network 4");
    EXPECT_EQ(listing.back(), "line 1 480 1 480");
}

TEST(LadderDrawing, ContentSizeFollowsTheGrids) {
    ProgramFixture f;
    f.addBlock("OB1", {{1, {"LD E0.0", "= A0.0"}}, {2, {"LD E0.0", "= A0.0", "= A0.1"}}});
    KOPNet net;
    net.setProgram(f.program);
    RecordingCanvas canvas(U, V);
    EXPECT_EQ(net.contentHeight(canvas), 42 * V);
    EXPECT_EQ(net.contentWidth(canvas), (20 * 2 + 20) * U);

    KOPNet empty;
    EXPECT_EQ(empty.contentHeight(canvas), 7 * V);
    EXPECT_EQ(empty.contentWidth(canvas), 20 * U);
}

TEST(LadderDrawing, RailCellsAndConnectorsFromEitherSide) {
    ProgramFixture f;
    f.addBlock("OB1", {{1, {"LD E0.0", "= A0.0", "= A0.1"}}, {2, {"LD E0.0", "U E0.1", "O E0.2", "= A0.0"}}});
    KOPNet net;
    net.setProgram(f.program);
    RecordingCanvas canvas(U, V);
    net.drawContent(canvas);
    const Listing listing = canvas.listing();

    // First rung: rows at y 60 and 165, columns at x 1 and 161.
    EXPECT_EQ(countOf(listing, "line 1 60 1 270"), 1);      // rail over two rows
    EXPECT_EQ(countOf(listing, "line 1 120 17 120"), 1);    // the contact's lead in cell (0, 0)
    EXPECT_EQ(countOf(listing, "line 161 165 177 165"), 0); // no lead in the empty cell (1, 0)
    EXPECT_EQ(countOf(listing, "line 161 225 177 225"), 1); // the lower coil's lead
    // The join between the coils: drawn by each coil as its own left edge and
    // by its left neighbour, whose flags are clear, as that neighbour's right edge.
    EXPECT_EQ(countOf(listing, "line 161 120 161 165"), 2);
    EXPECT_EQ(countOf(listing, "line 161 165 161 225"), 2);
    EXPECT_EQ(countOf(listing, "line 161 60 161 120"), 0);

    // Second rung starts at 315: header at 330, rows at 375 and 480.
    EXPECT_EQ(countOf(listing, "text 10 330 Network 2 (OB1)"), 1);
    EXPECT_EQ(countOf(listing, "line 161 540 321 540"), 1); // the wire in cell (1, 1)
    EXPECT_EQ(countOf(listing, "line 321 480 321 540"), 2); // its right edge, and the next cell's left
    EXPECT_EQ(countOf(listing, "line 321 435 321 480"), 2); // the upper half of that join
    EXPECT_EQ(countOf(listing, "line 1 435 1 480"), 1);     // left edge of column 0, beside the rail
    EXPECT_EQ(countOf(listing, "line 1 375 1 585"), 1);     // the rail itself
}

TEST(LadderDrawing, FailedLayoutLeavesNoRungs) {
    ProgramFixture good;
    good.addBlock("OB1", {{1, {"LD E0.0", "= A0.0"}}});
    ProgramFixture bad;
    bad.addBlock("OB1", {{1, {"LD E0.0", "= A0.0"}}, {2, {"LPP"}}});
    KOPNet net;
    net.setProgram(good.program);
    EXPECT_EQ(net.rungs().size(), 1u);
    EXPECT_THROW(net.setProgram(bad.program), CPUException);
    EXPECT_TRUE(net.rungs().empty());
}

// The view shares the program it was made from: replacing the CPU's program
// leaves it painting the old one with live values.
TEST(LadderDrawing, KeepsPaintingItsProgramAfterTheCpuLoadsAnother) {
    CPU cpu;
    harness::installProgram(cpu, {{BLOCK_ORGANIZATION, "OB1", {{"LD E0.0", "= A0.0"}}}});
    KOPNet net;
    net.setProgram(cpu.program);
    harness::installProgram(cpu, {{BLOCK_ORGANIZATION, "OB2", {{"LD E0.1"}}}});
    cpu.areaE.writeBit(0, 0, 1);
    RecordingCanvas canvas(U, V);
    net.drawContent(canvas);
    EXPECT_EQ(canvas.listing().front(), "text 10 15 Network 1 (OB1)");
    EXPECT_EQ(countOf(canvas.listing(), "text 105 90 1"), 1); // E0.0's live value at the contact
}

bool allCoordinatesInRange(const RecordingCanvas& canvas) {
    return std::all_of(canvas.primitives().begin(), canvas.primitives().end(),
                       [](const CanvasPrimitive& p) { return p.x1 >= 0 && p.y1 >= 0 && p.x2 >= 0 && p.y2 >= 0; });
}

TEST(LadderDrawing, LeavesOutWhatLiesBeyondTheIntRange) {
    // Columns 200 000 000 pixels wide: a cell is drawn while its element's
    // reach of 40 units ends within INT_MAX, that is columns 0 to 8.
    ProgramFixture wide;
    std::vector<std::string> series{"LD E0.0"};
    series.insert(series.end(), 11, "U E0.1");
    wide.addBlock("", {{1, series}});
    KOPNet wideNet;
    wideNet.setProgram(wide.program);
    RecordingCanvas columns(10'000'000, 1);
    wideNet.drawContent(columns);
    EXPECT_TRUE(allCoordinatesInRange(columns));
    EXPECT_EQ(countOf(columns.listing(), "line 1600000001 8 1620000001 8"), 1); // lead in column 8
    EXPECT_EQ(countOf(columns.listing(), "line 1800000001 8 1820000001 8"), 0); // column 9

    // Rungs of 140 000 000 pixels: a rung is drawn while its header and a
    // four-row element fit, that is rungs 0 to 13.
    ProgramFixture tall;
    std::vector<std::pair<int, std::vector<std::string>>> networks;
    for (int number = 1; number <= 20; ++number) networks.push_back({number, {"LD E0.0", "= A0.0"}});
    tall.addBlock("", networks);
    KOPNet tallNet;
    tallNet.setProgram(tall.program);
    RecordingCanvas rows(1, 10'000'000);
    tallNet.drawContent(rows);
    EXPECT_TRUE(allCoordinatesInRange(rows));
    EXPECT_EQ(countOf(rows.listing(), "text 10 1830000000 Network 14"), 1);
    EXPECT_EQ(countOf(rows.listing(), "text 10 1970000000 Network 15"), 0);
}

TEST(LadderDrawing, RendersAsCharacters) {
    ProgramFixture f;
    f.addBlock("OB1", {{1, {"LD E0.0", "= A0.0"}}});
    KOPNet net;
    net.setProgram(f.program);
    CharGridCanvas canvas;
    net.drawContent(canvas);
    EXPECT_EQ(canvas.rows(),
              (Listing{"", "          Network 1 (OB1)", "", "", " |", " |", " |   E0.0     0          A0.0     0",
                       " | |            |      |            |", " +-+            +------+            |",
                       " | |            |      |            |", " |", " |"}));
}

} // namespace
