#pragma once

#include <optional>
#include <vector>

#include <QFont>
#include <QString>

class QPainter;

namespace sps {

class Recorder;
struct TrendLayout;

// What one picture of the "Verlauf" window shows: the recorder's operands as
// `layout` places them, beside each its value (at the cursor or at the right
// edge), the cursor line when the mouse is over the traces, and a dashed line
// at the scan shown when the simulation went back in its history.
struct TrendScene {
    const Recorder& recorder;
    const TrendLayout& layout;
    std::vector<QString> readouts; // one per operand
    std::optional<int> cursorX;
    // The scan the simulation stands at, when the scan history went back.
    std::optional<int> positionX;
    QFont font;
};

// The German hint that an empty window shows: how to choose operands.
QString trendHint();

// Draws the window's client area: names and values, the lanes with their
// traces (bits as digital traces, numbers as a line between their lowest and
// highest value in view, with that scale beside them), the time axis and the
// cursor; or, with nothing recorded, the hint.
void drawTrend(QPainter& painter, const TrendScene& scene);

} // namespace sps
