#include "gui/trend_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "gui/station_drawing.h"
#include "gui/trend_axis.h"
#include "gui/trend_layout.h"
#include "shell/recorder.h"

namespace sps {

namespace {

const QColor NAMES_BACKGROUND = QColor::fromRgb(STATION_BACKGROUND);
const QColor LANE_BACKGROUND[2] = {QColor(252, 252, 252), QColor(240, 242, 245)};
const QColor LANE_BORDER(200, 202, 206);
const QColor GRID(218, 220, 224);
const QColor BIT_TRACE(0, 120, 40);
const QColor NUMBER_TRACE(20, 70, 160);
const QColor UNKNOWN(200, 40, 40);
const QColor CURSOR(210, 40, 30);
const QColor HISTORY_POSITION(40, 90, 200);
const QColor FAINT_TEXT(60, 60, 66);
const QColor SCALE_TEXT(40, 40, 110);

// Room between a lane's border and its trace, and around texts.
constexpr int TRACE_PAD = 5;
constexpr int TEXT_PAD = 6;
// The least distance of two labelled ticks, in characters.
constexpr int TICK_CHARACTERS = 11;
constexpr int TICK_LENGTH = 5;
constexpr int MINOR_TICK_LENGTH = 3;
// The width of the hint of an empty window, in characters.
constexpr int HINT_CHARACTERS = 64;

// A pixel column, for a time whose x may lie far outside the client area:
// limited first, so that the conversion to int is always defined.
int columnOf(const TrendLayout& layout, double ms) {
    const double x = std::floor(layout.xOf(ms));
    const double low = layout.traces.left() - 1;
    const double high = layout.traces.right() + 2;
    return static_cast<int>(std::clamp(x, low, high));
}

std::uint64_t wholeMs(double ms) {
    // Limited to the range a recording's time can have.
    return static_cast<std::uint64_t>(std::clamp(std::floor(ms), 0.0, 1.8e19));
}

// A step line through the changes of one run of known values, one pixel
// column at a time: changes that fall into one column become a vertical
// stroke from their lowest to their highest value, so a value that changed
// only for a moment still shows.
class StepLine {
public:
    bool empty() const { return points_.isEmpty(); }
    const QPolygon& points() const { return points_; }
    int start() const { return points_.front().x(); }

    void add(int x, int y) {
        if (points_.isEmpty()) {
            points_ << QPoint(x, y);
            column_ = x;
            low_ = high_ = last_ = y;
            return;
        }
        if (x != column_) {
            closeColumn();
            points_ << QPoint(x, last_);
            column_ = x;
            low_ = high_ = last_;
        }
        low_ = std::min(low_, y);
        high_ = std::max(high_, y);
        last_ = y;
    }
    // Ends the line at column `x` with the value of its last change.
    void finish(int x) {
        closeColumn();
        if (x != points_.back().x()) points_ << QPoint(x, last_);
    }
    void clear() { points_.clear(); }

private:
    // From the level the column was entered at, over the extremes that lie
    // beyond it and beyond the last value, to the last value: a stroke turns
    // back only where a value really came and went within the column.
    void closeColumn() {
        const int entry = points_.back().y();
        const bool down = last_ >= entry; // y grows downwards
        const int beyondEntry = down ? low_ : high_;
        const int beyondLast = down ? high_ : low_;
        if (beyondEntry != entry) points_ << QPoint(column_, beyondEntry);
        if (beyondLast != last_) points_ << QPoint(column_, beyondLast);
        if (points_.back() != QPoint(column_, last_)) points_ << QPoint(column_, last_);
    }

    QPolygon points_;
    int column_ = 0;
    int low_ = 0;
    int high_ = 0;
    int last_ = 0;
};

// The span of held data in the recording's ms: from the start of the held
// data to the newest step.
struct HeldSpan {
    double from = 0;
    double to = 0;
    bool any = false;
};

HeldSpan heldSpan(const Recorder& recorder) {
    const auto from = recorder.heldFrom();
    const auto to = recorder.latest();
    if (!from || !to) return {};
    return {static_cast<double>(from->ms), static_cast<double>(to->ms), true};
}

// The lowest and the highest known value of the changes [first, end), as
// changes so that their texts can label the scale.
struct Scale {
    SignalChange low;
    SignalChange high;
    double lowNumber = 0;
    double highNumber = 0;
    bool any = false;
};

// The value to plot; only a real can be not finite. Inline, since it runs
// for every change in view.
double plotted(SignalType type, std::uint32_t value) {
    return type == SignalType::Real ? signalNumber(type, value) : static_cast<double>(value);
}

Scale scaleOf(const RecordedSignal& signal, std::size_t first, std::size_t end) {
    Scale scale;
    if (signal.type() == SignalType::Bit) {
        scale.low.value = 0;
        scale.high.value = 1;
        scale.low.known = scale.high.known = true;
        scale.highNumber = 1;
        scale.any = true;
        return scale;
    }
    const ChangeRing& changes = signal.changes();
    for (std::size_t i = first; i < end; ++i) {
        const SignalChange& change = changes[i];
        if (!change.known) continue;
        const double number = plotted(signal.type(), change.value);
        if (!std::isfinite(number)) continue;
        if (!scale.any || number < scale.lowNumber) {
            scale.low = change;
            scale.lowNumber = number;
        }
        if (!scale.any || number > scale.highNumber) {
            scale.high = change;
            scale.highNumber = number;
        }
        scale.any = true;
    }
    return scale;
}

class LanePainter {
public:
    LanePainter(QPainter& painter, const TrendScene& scene, const HeldSpan& held)
        : painter_(painter), scene_(scene), layout_(scene.layout), held_(held), metrics_(scene.font) {}

    void draw(std::size_t index, const QRect& lane) {
        const RecordedSignal& signal = scene_.recorder.signal(index);
        const QRect traces(layout_.traces.left(), lane.top(), layout_.traces.width(), lane.height());
        painter_.fillRect(QRect(traces.left(), lane.top(), lane.right() - traces.left() + 1, lane.height()),
                          LANE_BACKGROUND[index % 2]);
        drawGrid(traces);

        const double from = std::max(layout_.leftMs(), held_.from);
        const double to = std::min(layout_.rightMs, held_.to);
        std::size_t first = 0;
        std::size_t end = 0;
        if (held_.any && from <= to && !signal.changes().empty()) {
            first = signal.indexAt(wholeMs(from)).value_or(0);
            end = std::max(first, signal.indexAt(wholeMs(to)).has_value() ? *signal.indexAt(wholeMs(to)) + 1 : 0);
        }
        const Scale scale = scaleOf(signal, first, end);
        top_ = lane.top() + TRACE_PAD;
        bottom_ = lane.bottom() - TRACE_PAD;
        if (first < end) {
            painter_.save();
            painter_.setClipRect(layout_.traces.intersected(traces));
            drawTrace(signal, scale, first, end, from, to);
            painter_.restore();
        }
        drawTexts(index, signal, scale, lane);
        painter_.setPen(LANE_BORDER);
        painter_.drawLine(lane.left(), lane.bottom(), lane.right(), lane.bottom());
    }

private:
    void drawGrid(const QRect& traces) {
        painter_.setPen(GRID);
        const std::int64_t step = tickStepMs(layout_.msPerPixel, TICK_CHARACTERS * metrics_.averageCharWidth());
        for (std::int64_t tick = firstTick(step); static_cast<double>(tick) < layout_.rightMs; tick += step) {
            const int x = columnOf(layout_, static_cast<double>(tick));
            painter_.drawLine(x, traces.top(), x, traces.bottom());
        }
    }

    std::int64_t firstTick(std::int64_t step) const {
        const double left = std::max(0.0, layout_.leftMs());
        return static_cast<std::int64_t>(std::ceil(left / static_cast<double>(step))) * step;
    }

    int yOf(SignalType type, const Scale& scale, std::uint32_t value) const {
        if (type == SignalType::Bit) return value != 0 ? top_ : bottom_;
        const double span = scale.highNumber - scale.lowNumber;
        if (span <= 0) return (top_ + bottom_) / 2;
        const double share = std::clamp((plotted(type, value) - scale.lowNumber) / span, 0.0, 1.0);
        // Rounded; share is within 0 and 1, so the conversion is defined.
        return bottom_ - static_cast<int>(std::lround(share * (bottom_ - top_)));
    }

    // A step line, as it has only horizontal and vertical strokes, drawn as
    // rectangles: strokes two pixels wide, and the area under it filled
    // down to the lane's low level. Rectangles take the painter's fastest
    // path, where a wide pen or a polygon of thousands of corners in a few
    // columns would go through the general rasterizer.
    void drawSteps(const QPolygon& points, const QColor& colour, const QColor& fill) {
        QList<QRect> strokes;
        QList<QRect> areas;
        strokes.reserve(points.size());
        areas.reserve(points.size());
        for (qsizetype i = 0; i + 1 < points.size(); ++i) {
            const QPoint a = points[i];
            const QPoint b = points[i + 1];
            if (a.y() == b.y()) {
                const int left = std::min(a.x(), b.x());
                const int right = std::max(a.x(), b.x());
                strokes << QRect(QPoint(left - 1, a.y() - 1), QPoint(right, a.y()));
                if (right > left && a.y() < bottom_) areas << QRect(QPoint(left, a.y()), QPoint(right - 1, bottom_));
            } else {
                strokes << QRect(QPoint(a.x() - 1, std::min(a.y(), b.y()) - 1), QPoint(a.x(), std::max(a.y(), b.y())));
            }
        }
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(fill);
        painter_.drawRects(areas);
        painter_.setBrush(colour);
        painter_.drawRects(strokes);
        painter_.setBrush(Qt::NoBrush);
    }

    void drawTrace(const RecordedSignal& signal, const Scale& scale, std::size_t first, std::size_t end, double from,
                   double to) {
        const ChangeRing& changes = signal.changes();
        const bool bit = signal.type() == SignalType::Bit;
        const QColor colour = bit ? BIT_TRACE : NUMBER_TRACE;
        StepLine line;
        bool unknown = false;
        int unknownFrom = 0;
        int column = 0;
        double columnEnd = -std::numeric_limits<double>::infinity();
        const auto endLine = [&](int x) {
            line.finish(x);
            QColor fill = colour;
            fill.setAlpha(bit ? 70 : 28);
            drawSteps(line.points(), colour, fill);
            line.clear();
        };
        const auto endUnknown = [&](int x) {
            const QRect band(unknownFrom, top_, std::max(1, x - unknownFrom), bottom_ - top_ + 1);
            QColor tint = UNKNOWN;
            tint.setAlpha(40);
            painter_.fillRect(band, tint);
            tint.setAlpha(110);
            painter_.fillRect(band, QBrush(tint, Qt::BDiagPattern));
            painter_.setPen(UNKNOWN);
            painter_.drawLine(band.left(), top_, band.right(), top_);
            painter_.drawLine(band.left(), bottom_, band.right(), bottom_);
            unknown = false;
        };
        for (std::size_t i = first; i < end; ++i) {
            const SignalChange& change = changes[i];
            const double ms = std::max(static_cast<double>(change.at.ms), from);
            // Most changes of a dense signal fall into the column of the one before.
            if (ms >= columnEnd) {
                column = columnOf(layout_, ms);
                columnEnd = layout_.msAt(column + 1);
            }
            const int x = column;
            const bool drawable = change.known && std::isfinite(plotted(signal.type(), change.value)) && scale.any;
            if (!drawable) {
                if (!unknown) {
                    if (!line.empty()) endLine(x);
                    unknown = true;
                    unknownFrom = x;
                }
                continue;
            }
            if (unknown) endUnknown(x);
            line.add(x, yOf(signal.type(), scale, change.value));
        }
        const int last = columnOf(layout_, to);
        if (unknown) endUnknown(last);
        if (!line.empty()) endLine(last);
    }

    void drawTexts(std::size_t index, const RecordedSignal& signal, const Scale& scale, const QRect& lane) {
        const QRect names(layout_.names.left(), lane.top(), layout_.names.width(), lane.height());
        painter_.fillRect(names, NAMES_BACKGROUND);
        const int x = names.left() + TEXT_PAD;
        const int line = metrics_.height();
        const int baseline = names.top() + TEXT_PAD / 2 + metrics_.ascent();
        QFont bold = scene_.font;
        bold.setBold(true);
        painter_.setFont(bold);
        painter_.setPen(Qt::black);
        painter_.drawText(x, baseline, QString::fromLatin1(signal.name()));
        painter_.setFont(scene_.font);
        painter_.setPen(scene_.cursorX ? CURSOR.darker(130) : FAINT_TEXT);
        if (index < scene_.readouts.size()) painter_.drawText(x, baseline + line, scene_.readouts[index]);
        if (signal.type() == SignalType::Bit || !scale.any) return;

        // The scale beside the trace: the highest value at its top, the lowest at its bottom.
        const int right = names.right() - TEXT_PAD;
        const auto label = [&](const SignalChange& change, int y) {
            const QString text = QString::fromLatin1(signalValueText(signal.type(), change));
            painter_.drawText(right - metrics_.horizontalAdvance(text), y, text);
            painter_.drawLine(names.right() - 3, y - metrics_.ascent() / 2 + 1, names.right(),
                              y - metrics_.ascent() / 2 + 1);
        };
        painter_.setPen(SCALE_TEXT);
        if (scale.highNumber == scale.lowNumber) {
            // One value only: the line runs through the middle.
            label(scale.high, (top_ + bottom_) / 2 + metrics_.ascent() / 2);
            return;
        }
        label(scale.high, std::max(top_ + metrics_.ascent() / 2, names.top() + metrics_.ascent()));
        label(scale.low, std::min(bottom_ + metrics_.ascent() / 2, names.bottom() - metrics_.descent()));
    }

    QPainter& painter_;
    const TrendScene& scene_;
    const TrendLayout& layout_;
    HeldSpan held_;
    QFontMetrics metrics_;
    int top_ = 0;
    int bottom_ = 0;
};

void drawAxis(QPainter& painter, const TrendScene& scene) {
    const TrendLayout& layout = scene.layout;
    const QFontMetrics metrics(scene.font);
    painter.fillRect(layout.axis, NAMES_BACKGROUND);
    painter.setPen(Qt::black);
    painter.drawLine(layout.traces.left(), layout.axis.top(), layout.traces.right(), layout.axis.top());
    const std::int64_t step = tickStepMs(layout.msPerPixel, TICK_CHARACTERS * metrics.averageCharWidth());
    const std::int64_t minor = minorTickStepMs(step);
    const double left = std::max(0.0, layout.leftMs());
    const int baseline = layout.axis.top() + TICK_LENGTH + 1 + metrics.ascent();
    painter.save();
    painter.setClipRect(layout.axis.adjusted(layout.traces.left() - layout.axis.left(), 0, 0, 0));
    if (minor > 0) {
        const auto first = static_cast<std::int64_t>(std::ceil(left / static_cast<double>(minor))) * minor;
        for (std::int64_t tick = first; static_cast<double>(tick) < layout.rightMs; tick += minor) {
            const int x = columnOf(layout, static_cast<double>(tick));
            painter.drawLine(x, layout.axis.top(), x, layout.axis.top() + MINOR_TICK_LENGTH);
        }
    }
    const auto first = static_cast<std::int64_t>(std::ceil(left / static_cast<double>(step))) * step;
    for (std::int64_t tick = first; static_cast<double>(tick) < layout.rightMs; tick += step) {
        const int x = columnOf(layout, static_cast<double>(tick));
        painter.drawLine(x, layout.axis.top(), x, layout.axis.top() + TICK_LENGTH);
        const QString text = QString::fromUtf8(tickLabel(tick, step));
        const int textLeft = x - metrics.horizontalAdvance(text) / 2;
        // Only whole labels: one cut at an edge would read as another time.
        if (textLeft >= layout.names.right() && textLeft + metrics.horizontalAdvance(text) <= layout.axis.right())
            painter.drawText(textLeft, baseline, text);
    }
    painter.restore();

    if (!scene.cursorX) return;
    // The cursor's time in a box on the axis, kept within the traces' width.
    const auto ms = static_cast<std::int64_t>(wholeMs(layout.msAt(*scene.cursorX)));
    const QString text = QString::fromUtf8(cursorTimeLabel(ms, step));
    const int width = metrics.horizontalAdvance(text) + 2 * TEXT_PAD;
    const int boxLeft = std::clamp(*scene.cursorX - width / 2, layout.traces.left(), layout.traces.right() - width);
    const QRect box(boxLeft, layout.axis.top() + 1, width, layout.axis.height() - 1);
    painter.fillRect(box, CURSOR);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace

QString trendHint() {
    return QStringLiteral("Es werden keine Operanden aufgezeichnet.\n\n"
                          "Kreuzen Sie im Fenster \u201EBeobachten\u201C in der Spalte \u201EAufzeichnen\u201C "
                          "die Operanden an, deren Verlauf hier erscheinen soll, oder nennen Sie sie beim "
                          "Start des Simulators:\n\n"
                          "spssim --record E0.0,A0.0,MW2 programm.awl");
}

void drawTrend(QPainter& painter, const TrendScene& scene) {
    const TrendLayout& layout = scene.layout;
    painter.setFont(scene.font);
    const QRect area(0, 0, layout.axis.width(), layout.axis.top());
    painter.fillRect(area, LANE_BACKGROUND[0]);
    if (scene.recorder.size() == 0) {
        painter.fillRect(layout.axis, LANE_BACKGROUND[0]);
        painter.setPen(Qt::black);
        // At most a comfortable line's length wide, in the middle.
        const QFontMetrics metrics(scene.font);
        const int width = std::min(area.width() - 4 * TEXT_PAD, HINT_CHARACTERS * metrics.averageCharWidth());
        QRect text(0, 0, width, layout.axis.bottom() - 2 * TEXT_PAD);
        text.moveCenter(QRect(0, 0, layout.axis.width(), layout.axis.bottom()).center());
        painter.drawText(text, Qt::AlignCenter | Qt::TextWordWrap, trendHint());
        return;
    }
    painter.fillRect(layout.names, NAMES_BACKGROUND);

    const HeldSpan held = heldSpan(scene.recorder);
    LanePainter lanes(painter, scene, held);
    painter.save();
    painter.setClipRect(area);
    for (std::size_t i = 0; i < layout.lanes.size(); ++i)
        if (layout.lanes[i].intersects(area)) lanes.draw(i, layout.lanes[i]);
    painter.setPen(LANE_BORDER);
    painter.drawLine(layout.traces.left() - 1, area.top(), layout.traces.left() - 1, area.bottom());
    if (scene.positionX) {
        painter.setPen(QPen(HISTORY_POSITION, 2, Qt::DashLine));
        painter.drawLine(*scene.positionX, layout.traces.top(), *scene.positionX, layout.traces.bottom());
    }
    if (scene.cursorX) {
        painter.setPen(CURSOR);
        painter.drawLine(*scene.cursorX, layout.traces.top(), *scene.cursorX, layout.traces.bottom());
    }
    painter.restore();
    drawAxis(painter, scene);
}

} // namespace sps
