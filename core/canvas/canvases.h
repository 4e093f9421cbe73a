#pragma once

#include <string>
#include <vector>

#include "canvas/kop_draw.h"

namespace sps {

// Pixels of `halves` half units of `unit` pixels (7 halves is 3.5 units):
// rounded to the nearest integer, an exact half to the even neighbour.
int halfUnits(int halves, int unit);

// The screen canvas without the screen: content coordinates are moved by the
// scroll offsets, and lines and texts that cannot be visible in the clip area
// are skipped before they reach a device. A concrete canvas implements the
// two hooks, which receive the surviving primitives in clip-area coordinates.
class ClippedCanvas : public KOPDraw {
public:
    ClippedCanvas(int unitWidth, int unitHeight, int offsetX, int offsetY, int clipWidth, int clipHeight);

    int unitWidth() const final { return unitWidth_; }
    int unitHeight() const final { return unitHeight_; }
    // Skipped when both ends lie left of 0, or above 0, or right of the clip
    // width, or below the clip height.
    void line(int x1, int y1, int x2, int y2) final;
    // Drawn whole when its start lies within one unit left of or above the
    // clip area and not beyond its right or bottom edge; skipped whole otherwise.
    void text(int x, int y, const std::string& s) final;
    void setPowered(bool powered) final { drawPowered(powered); }
    // Skipped when it lies wholly outside the clip area.
    void fill(int x1, int y1, int x2, int y2, Fill kind = Fill::Closed) final;

protected:
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    virtual void drawText(int x, int y, const std::string& s) = 0;
    virtual void drawPowered(bool /*powered*/) {}
    virtual void drawFill(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/, Fill /*kind*/) {}

private:
    int unitWidth_;
    int unitHeight_;
    int offsetX_;
    int offsetY_;
    int clipWidth_;
    int clipHeight_;
};

// One drawn line or text, as the recording canvas keeps it.
struct CanvasPrimitive {
    enum class Kind { Line, Text };

    Kind kind = Kind::Line;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0; // lines only
    int y2 = 0; // lines only
    std::string text;

    // "line X1 Y1 X2 Y2" or "text X Y STRING".
    std::string toString() const;
    bool operator==(const CanvasPrimitive&) const = default;
};

// Keeps every primitive in drawing order, unclipped.
class RecordingCanvas final : public KOPDraw {
public:
    explicit RecordingCanvas(int unitWidth = 1, int unitHeight = 1);

    int unitWidth() const override { return unitWidth_; }
    int unitHeight() const override { return unitHeight_; }
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const std::string& s) override;

    const std::vector<CanvasPrimitive>& primitives() const { return primitives_; }
    // Each primitive's toString(), in drawing order.
    std::vector<std::string> listing() const;
    void clear() { primitives_.clear(); }

private:
    int unitWidth_;
    int unitHeight_;
    std::vector<CanvasPrimitive> primitives_;
};

// Renders onto a grid of characters, one unit per character: texts overwrite
// what lies under them, horizontal lines are "-", vertical lines "|", a cell
// where both meet "+", and a line that carries power is "*" (which a line
// without power does not cover). Slanted lines and lines of no length are
// not drawn.
// Cells left of or above the origin and beyond the size limits are skipped;
// the canvas remembers whether the limits cut anything off.
class CharGridCanvas final : public KOPDraw {
public:
    static constexpr int MAX_COLUMNS = 4096;
    static constexpr int MAX_ROWS = 1 << 20;

    int unitWidth() const override { return 1; }
    int unitHeight() const override { return 1; }
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const std::string& s) override;
    void setPowered(bool powered) override { powered_ = powered; }

    // Row 0 to the last row holding anything, trailing blanks removed.
    std::vector<std::string> rows() const;
    // The rows, each ended by a line feed.
    std::string render() const;

    // Whether something lay below the last row or right of the last column.
    bool rowsCut() const { return rowsCut_; }
    bool columnsCut() const { return columnsCut_; }

private:
    char* cell(int x, int y);
    void putLineChar(int x, int y, char stroke);

    std::vector<std::string> rows_;
    bool powered_ = false;
    bool rowsCut_ = false;
    bool columnsCut_ = false;
};

} // namespace sps
