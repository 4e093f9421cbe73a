#pragma once

#include "canvas/canvases.h"
#include <QColor>
#include <QPen>

class QPainter;

namespace sps {

// The status windows' canvas on a QPainter: what survives the clipping of
// ClippedCanvas is drawn with the painter's pen and font. A text's (x, y) is
// its top-left corner, so it is drawn on the baseline `ascent` pixels lower.
// Without a painter it draws nothing and only tells a content its unit, to
// measure it.
// The colours of the ladder's power flow.
inline const QColor POWER_COLOUR{0, 170, 0};
inline const QColor CLOSED_COLOUR{170, 235, 170};
inline const QColor BREAKPOINT_COLOUR{210, 30, 30};

class PainterCanvas final : public ClippedCanvas {
public:
    PainterCanvas(QPainter* painter, int unitWidth, int unitHeight, int offsetX, int offsetY, int clipWidth,
                  int clipHeight, int ascent);

protected:
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawText(int x, int y, const std::string& s) override;
    // Power: a strong green, two pixels wide; a closed contact a pale green.
    void drawPowered(bool powered) override;
    void drawFill(int x1, int y1, int x2, int y2, Fill kind) override;

private:
    QPainter* painter_;
    int ascent_;
    QPen normalPen_;
};

} // namespace sps
