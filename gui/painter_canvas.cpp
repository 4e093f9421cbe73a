#include "gui/painter_canvas.h"

#include <QPainter>
#include <QString>

namespace sps {

PainterCanvas::PainterCanvas(QPainter* painter, int unitWidth, int unitHeight, int offsetX, int offsetY, int clipWidth,
                             int clipHeight, int ascent)
    : ClippedCanvas(unitWidth, unitHeight, offsetX, offsetY, clipWidth, clipHeight), painter_(painter), ascent_(ascent),
      normalPen_(painter != nullptr ? painter->pen() : QPen()) {}

void PainterCanvas::drawPowered(bool powered) {
    if (painter_ == nullptr) return;
    if (!powered) return painter_->setPen(normalPen_);
    QPen power(POWER_COLOUR);
    power.setWidth(2);
    painter_->setPen(power);
}

void PainterCanvas::drawFill(int x1, int y1, int x2, int y2, Fill kind) {
    if (painter_ == nullptr) return;
    painter_->fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(),
                       kind == Fill::Breakpoint ? BREAKPOINT_COLOUR : CLOSED_COLOUR);
}

void PainterCanvas::drawLine(int x1, int y1, int x2, int y2) {
    if (painter_ != nullptr) painter_->drawLine(x1, y1, x2, y2);
}

void PainterCanvas::drawText(int x, int y, const std::string& s) {
    // The core's texts are ISO-8859-1 bytes. A text the clipping let through
    // starts within one unit of the visible area, so the baseline stays in range.
    if (painter_ != nullptr)
        painter_->drawText(x, y + ascent_, QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())));
}

} // namespace sps
