#pragma once

// A paint device that keeps the lines and texts a QPainter hands to its
// engine, in device coordinates: what a canvas or a window really asks the
// painter to draw, without looking at pixels.

#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QTransform>

namespace sps::guitest {

struct PaintedText {
    QPointF baseline; // the start of the text's baseline
    QString text;
};

class RecordingPaintEngine final : public QPaintEngine {
public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QList<QLineF> lines;
    QList<PaintedText> texts;
    qreal penWidth = -1; // of the last line drawn

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override {
        if (changed.state() & QPaintEngine::DirtyTransform) transform_ = changed.transform();
        if (changed.state() & QPaintEngine::DirtyPen) pen_ = changed.pen();
    }
    void drawLines(const QLineF* drawn, int count) override {
        for (int i = 0; i < count; ++i) lines << transform_.map(drawn[i]);
        penWidth = pen_.widthF();
    }
    void drawLines(const QLine* drawn, int count) override {
        for (int i = 0; i < count; ++i) lines << transform_.map(QLineF(drawn[i]));
        penWidth = pen_.widthF();
    }
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        texts << PaintedText{transform_.map(at), item.text()};
    }
    // Backgrounds and frames are not recorded.
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }

private:
    QTransform transform_;
    QPen pen_;
};

class RecordingPaintDevice final : public QPaintDevice {
public:
    RecordingPaintDevice(int width, int height) : width_(width), height_(height) {}

    RecordingPaintEngine* paintEngine() const override { return &engine_; }
    const QList<QLineF>& lines() const { return engine_.lines; }
    const QList<PaintedText>& texts() const { return engine_.texts; }
    qreal penWidth() const { return engine_.penWidth; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return width_;
        case PdmHeight: return height_;
        case PdmDepth: return 32;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return metric == PdmDevicePixelRatio ? 1 : 96; // dots per inch, and sizes in mm that none reads
        }
    }

private:
    int width_;
    int height_;
    mutable RecordingPaintEngine engine_;
};

} // namespace sps::guitest
