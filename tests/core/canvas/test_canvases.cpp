#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "canvas/canvases.h"

using namespace sps;

namespace {

// The clipping core with its surviving primitives recorded.
class ClipProbe final : public ClippedCanvas {
public:
    using ClippedCanvas::ClippedCanvas;
    RecordingCanvas drawn;

protected:
    void drawLine(int x1, int y1, int x2, int y2) override { drawn.line(x1, y1, x2, y2); }
    void drawText(int x, int y, const std::string& s) override { drawn.text(x, y, s); }
};

TEST(HalfUnits, RoundsExactHalvesToEven) {
    struct Case {
        int halves, unit, pixels;
    };
    const Case cases[] = {
        {7, 15, 52},   // 52.5
        {9, 15, 68},   // 67.5
        {17, 15, 128}, // 127.5
        {21, 15, 158}, // 157.5
        {7, 8, 28},    // exact
        {1, 1, 0},     {3, 1, 2}, {5, 1, 2}, {-7, 15, -52}, {0, 15, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(halfUnits(c.halves, c.unit), c.pixels) << c.halves << " x " << c.unit;
}

TEST(ClippedCanvas, SkipsLinesOnlyWhenBothEndsLieBeyondOneEdge) {
    struct Case {
        int x1, y1, x2, y2;
        bool drawn;
    };
    const Case cases[] = {
        {-5, 0, -1, 0, false},   {-5, 0, 3, 0, true},    // left edge
        {0, -5, 10, -1, false},  {0, -5, 0, 3, true},    // top edge
        {101, 0, 120, 0, false}, {100, 0, 120, 0, true}, // right edge (clip width 100)
        {0, 51, 0, 60, false},   {0, 50, 0, 60, true},   // bottom edge (clip height 50)
        {-5, 60, 200, -3, true},                         // crosses the whole area
    };
    for (const Case& c : cases) {
        ClipProbe canvas(8, 15, 0, 0, 100, 50);
        canvas.line(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(canvas.drawn.primitives().size(), c.drawn ? 1u : 0u)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
}

TEST(ClippedCanvas, DrawsTextWholeWhenItsStartIsWithinOneUnitOfTheArea) {
    struct Case {
        int x, y;
        bool drawn;
    };
    const Case cases[] = {
        {-8, 0, true},  {-9, 0, false},  // one unit width left of the area
        {100, 0, true}, {101, 0, false}, // clip width 100
        {0, -15, true}, {0, -16, false}, // one unit height above
        {0, 50, true},  {0, 51, false},  // clip height 50
    };
    for (const Case& c : cases) {
        ClipProbe canvas(8, 15, 0, 0, 100, 50);
        canvas.text(c.x, c.y, "a long text that would reach into the area");
        EXPECT_EQ(canvas.drawn.primitives().size(), c.drawn ? 1u : 0u) << c.x << "," << c.y;
    }
}

TEST(ClippedCanvas, AddsTheScrollOffsetsBeforeClipping) {
    ClipProbe canvas(8, 15, -10, -20, 100, 50);
    canvas.line(15, 25, 30, 40);
    canvas.text(2, 5, "A");  // lands at (-8, -15): still drawn
    canvas.text(1, 5, "B");  // (-9, -15): skipped
    canvas.line(0, 0, 9, 0); // x -10..-1: skipped
    EXPECT_EQ(canvas.drawn.listing(), (std::vector<std::string>{"line 5 5 20 20", "text -8 -15 A"}));
    EXPECT_EQ(canvas.unitWidth(), 8);
    EXPECT_EQ(canvas.unitHeight(), 15);
}

TEST(ClippedCanvas, ExtremeCoordinatesStayInRange) {
    ClipProbe canvas(8, 15, -10, 0, 100, 50);
    canvas.line(INT_MIN + 5, 10, 20, 10);
    canvas.text(INT_MIN, 0, "x");
    canvas.line(INT_MAX, 0, INT_MAX, 10);
    EXPECT_EQ(canvas.drawn.listing(), (std::vector<std::string>{"line " + std::to_string(INT_MIN) + " 10 10 10"}));
}

TEST(RecordingCanvas, KeepsPrimitivesInOrderAndAlignsTextRight) {
    RecordingCanvas canvas(8, 15);
    canvas.line(1, 2, 3, 4);
    canvas.textRight(100, 7, "AB");
    canvas.text(-5, 0, "");
    EXPECT_EQ(canvas.listing(), (std::vector<std::string>{"line 1 2 3 4", "text 84 7 AB", "text -5 0 "}));
}

TEST(CharGridCanvas, DrawsLinesWithCrossingsAndSkipsOthers) {
    CharGridCanvas canvas;
    canvas.line(0, 1, 4, 1);
    canvas.line(2, 2, 2, 0); // drawn in either direction
    canvas.line(0, 0, 3, 3); // slanted: not drawn
    canvas.line(6, 0, 6, 0); // no length: not drawn
    canvas.line(4, 1, 4, 2); // meets the end of the horizontal line
    EXPECT_EQ(canvas.render(), "  |\n--+-+\n  | |\n");
}

TEST(CharGridCanvas, TextsOverwriteAndLinesCrossOnlyLines) {
    CharGridCanvas canvas;
    canvas.text(0, 0, "ABCD");
    canvas.text(2, 0, "xy");
    canvas.line(0, 1, 5, 1);
    canvas.text(2, 1, "T");
    canvas.line(1, 0, 1, 1); // over a letter it is a plain stroke
    EXPECT_EQ(canvas.rows(), (std::vector<std::string>{"A|xy", "-+T---"}));
}

TEST(CharGridCanvas, TrimsBlanksAndSkipsNegativeAndFarCells) {
    CharGridCanvas canvas;
    canvas.text(-2, 0, "ABCD"); // the first two letters fall left of the grid
    canvas.text(0, -1, "gone");
    canvas.line(-3, 1, 2, 1);
    canvas.line(0, -5, 0, 1);
    canvas.text(0, 3, "z  ");
    canvas.text(0, 6, "   "); // blanks only: no row of its own
    canvas.line(0, 4, INT_MAX, 4);
    canvas.text(INT_MAX, 2, "far");
    const std::vector<std::string> rows = canvas.rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "|D");
    EXPECT_EQ(rows[1], "+--");
    EXPECT_EQ(rows[2], "");
    EXPECT_EQ(rows[3], "z");
    EXPECT_EQ(rows[4].size(), static_cast<std::size_t>(CharGridCanvas::MAX_COLUMNS));
}

TEST(CharGridCanvas, RemembersWhatItsLimitsCutOff) {
    constexpr int ROWS = CharGridCanvas::MAX_ROWS;
    constexpr int COLUMNS = CharGridCanvas::MAX_COLUMNS;
    struct Case {
        const char* name;
        void (*draw)(CharGridCanvas&);
        bool rowsCut;
        bool columnsCut;
    };
    const Case cases[] = {
        {"InsideAndAboveOrLeft",
         [](CharGridCanvas& c) {
             c.line(0, ROWS - 1, COLUMNS - 1, ROWS - 1);
             c.text(COLUMNS - 2, -1, "far");
             c.line(-1, -5, -1, ROWS + 5);
         },
         false, false},
        {"TextBelow", [](CharGridCanvas& c) { c.text(0, ROWS, "x"); }, true, false},
        {"LineDown", [](CharGridCanvas& c) { c.line(3, 0, 3, ROWS); }, true, false},
        {"TextRight", [](CharGridCanvas& c) { c.text(COLUMNS - 2, 0, "abc"); }, false, true},
        {"LineAcrossBoth",
         [](CharGridCanvas& c) {
             c.line(0, 1, INT_MAX, 1);
             c.line(1, 0, 1, INT_MAX);
         },
         true, true},
    };
    for (const Case& c : cases) {
        CharGridCanvas canvas;
        c.draw(canvas);
        EXPECT_EQ(canvas.rowsCut(), c.rowsCut) << c.name;
        EXPECT_EQ(canvas.columnsCut(), c.columnsCut) << c.name;
    }
}

TEST(CharGridCanvas, EmptyCanvasRendersNothing) {
    CharGridCanvas canvas;
    EXPECT_EQ(canvas.render(), "");
    EXPECT_EQ(canvas.unitWidth(), 1);
    EXPECT_EQ(canvas.unitHeight(), 1);
}

} // namespace
