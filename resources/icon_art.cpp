#include "icon_art.h"

#include <vector>

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRectF>
#include <QTextStream>

namespace sps {

namespace {

constexpr double ICON_UNITS = 256.0;

struct ColorStop {
    double at;
    QColor color;
};

// How a shape is filled: one colour, a linear gradient from `from` to `to`,
// or a radial gradient around `from` with radius `radius`. Outside its ends
// a gradient keeps its end colours, in Qt and in SVG alike.
struct Fill {
    enum Kind { Solid, Linear, Radial };
    Kind kind = Solid;
    QColor color;
    QPointF from, to;
    double radius = 0.0;
    std::vector<ColorStop> stops;
};

struct Shape {
    enum Kind { Rect, RoundedRect, Ellipse };
    Kind kind = Rect;
    QRectF box;
    double cornerRadius = 0.0;
    Fill fill;
    QColor outline;
    double outlineWidth = 0.0; // 0: no outline
};

Fill solid(const QColor& color) { return {Fill::Solid, color, {}, {}, 0.0, {}}; }
Fill linear(QPointF from, QPointF to, std::vector<ColorStop> stops) {
    return {Fill::Linear, {}, from, to, 0.0, std::move(stops)};
}
Fill radial(QPointF centre, double radius, std::vector<ColorStop> stops) {
    return {Fill::Radial, {}, centre, {}, radius, std::move(stops)};
}
QRectF circle(double cx, double cy, double r) { return {cx - r, cy - r, 2 * r, 2 * r}; }

std::vector<Shape> iconShapes() {
    std::vector<Shape> shapes;
    const auto add = [&shapes](Shape::Kind kind, QRectF box, Fill fill) {
        shapes.push_back({kind, box, 0.0, std::move(fill), {}, 0.0});
        return &shapes.back();
    };

    // The rail behind the module.
    add(Shape::Rect, {4, 108, 248, 40},
        linear({0, 104}, {0, 152}, {{0.0, QColor(226, 228, 232)}, {1.0, QColor(128, 132, 140)}}));

    // The module's housing.
    Shape* housing = add(Shape::RoundedRect, {44, 16, 168, 224},
                         linear({40, 0}, {216, 0}, {{0.0, QColor(238, 238, 236)}, {1.0, QColor(186, 188, 190)}}));
    housing->cornerRadius = 16;
    housing->outline = QColor(60, 64, 72);
    housing->outlineWidth = 6;

    // Terminal rows with screw heads.
    add(Shape::Rect, {58, 30, 140, 34}, solid(QColor(70, 110, 160)));
    add(Shape::Rect, {58, 192, 140, 34}, solid(QColor(70, 110, 160)));
    for (int k = 0; k < 4; ++k) {
        add(Shape::Ellipse, circle(76 + 35 * k, 47, 11), solid(QColor(214, 218, 224)));
        add(Shape::Ellipse, circle(76 + 35 * k, 209, 11), solid(QColor(214, 218, 224)));
    }

    // The front panel: status lamps on the left, the run lamp on the right.
    add(Shape::RoundedRect, {66, 78, 124, 100}, solid(QColor(40, 44, 52)))->cornerRadius = 8;
    const QColor lampColors[3] = {QColor(80, 230, 90), QColor(255, 190, 40), QColor(80, 230, 90)};
    for (int k = 0; k < 3; ++k) {
        const QPointF centre(96, 100 + 28 * k);
        add(Shape::Ellipse, circle(centre.x(), centre.y(), 11),
            radial(centre, 12, {{0.0, QColor(Qt::white)}, {0.35, lampColors[k]}, {1.0, lampColors[k].darker(170)}}));
    }
    add(Shape::RoundedRect, {130, 92, 44, 16}, solid(QColor(220, 60, 50)))->cornerRadius = 4;
    for (int k = 0; k < 3; ++k) add(Shape::Rect, {130, 124.0 + 16 * k, 44, 6}, solid(QColor(150, 156, 166)));
    return shapes;
}

// ---------------------------------------------------------------------------
// Painting.

QBrush brushOf(const Fill& fill) {
    if (fill.kind == Fill::Solid) return fill.color;
    QGradientStops stops;
    for (const ColorStop& s : fill.stops) stops.append({s.at, s.color});
    if (fill.kind == Fill::Linear) {
        QLinearGradient gradient(fill.from, fill.to);
        gradient.setStops(stops);
        return gradient;
    }
    QRadialGradient gradient(fill.from, fill.radius);
    gradient.setStops(stops);
    return gradient;
}

// ---------------------------------------------------------------------------
// SVG text.

QString number(double v) { return QString::number(v, 'g', 8); }

// "#rrggbb" plus an opacity attribute named `opacity` when not opaque.
QString colorAttributes(const QString& attribute, const QString& opacity, const QColor& color) {
    QString text = QStringLiteral(" %1=\"%2\"").arg(attribute, color.name(QColor::HexRgb));
    if (color.alpha() != 255) text += QStringLiteral(" %1=\"%2\"").arg(opacity, number(color.alphaF()));
    return text;
}

void writeGradient(QTextStream& out, const Fill& fill, const QString& id) {
    if (fill.kind == Fill::Linear) {
        out << "    <linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\"" << number(fill.from.x())
            << "\" y1=\"" << number(fill.from.y()) << "\" x2=\"" << number(fill.to.x()) << "\" y2=\""
            << number(fill.to.y()) << "\">\n";
    } else {
        out << "    <radialGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" cx=\"" << number(fill.from.x())
            << "\" cy=\"" << number(fill.from.y()) << "\" r=\"" << number(fill.radius) << "\">\n";
    }
    for (const ColorStop& s : fill.stops)
        out << "      <stop offset=\"" << number(s.at) << "\""
            << colorAttributes(QStringLiteral("stop-color"), QStringLiteral("stop-opacity"), s.color) << "/>\n";
    out << (fill.kind == Fill::Linear ? "    </linearGradient>\n" : "    </radialGradient>\n");
}

void writeShape(QTextStream& out, const Shape& shape, const QString& fill) {
    const QRectF& b = shape.box;
    if (shape.kind == Shape::Ellipse) {
        out << "  <ellipse cx=\"" << number(b.center().x()) << "\" cy=\"" << number(b.center().y()) << "\" rx=\""
            << number(b.width() / 2) << "\" ry=\"" << number(b.height() / 2) << "\"";
    } else {
        out << "  <rect x=\"" << number(b.x()) << "\" y=\"" << number(b.y()) << "\" width=\"" << number(b.width())
            << "\" height=\"" << number(b.height()) << "\"";
        if (shape.kind == Shape::RoundedRect)
            out << " rx=\"" << number(shape.cornerRadius) << "\" ry=\"" << number(shape.cornerRadius) << "\"";
    }
    out << fill;
    if (shape.outlineWidth > 0.0)
        out << colorAttributes(QStringLiteral("stroke"), QStringLiteral("stroke-opacity"), shape.outline)
            << " stroke-width=\"" << number(shape.outlineWidth) << "\"";
    out << "/>\n";
}

} // namespace

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / ICON_UNITS, size / ICON_UNITS);
    for (const Shape& shape : iconShapes()) {
        painter.setPen(shape.outlineWidth > 0.0 ? QPen(shape.outline, shape.outlineWidth) : QPen(Qt::NoPen));
        painter.setBrush(brushOf(shape.fill));
        switch (shape.kind) {
        case Shape::Rect: painter.drawRect(shape.box); break;
        case Shape::RoundedRect: painter.drawRoundedRect(shape.box, shape.cornerRadius, shape.cornerRadius); break;
        case Shape::Ellipse: painter.drawEllipse(shape.box); break;
        }
    }
    return image;
}

QString iconSvg() {
    const std::vector<Shape> shapes = iconShapes();
    QString text;
    QTextStream out(&text);
    const QString units = number(ICON_UNITS);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << units << "\" height=\"" << units
        << "\" viewBox=\"0 0 " << units << " " << units << "\">\n"
        << "  <title>SPS-Simulator</title>\n";
    // The gradients first, each named after the shape that it fills.
    QStringList fills;
    bool anyGradient = false;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Fill& fill = shapes[i].fill;
        if (fill.kind == Fill::Solid) {
            fills << colorAttributes(QStringLiteral("fill"), QStringLiteral("fill-opacity"), fill.color);
            continue;
        }
        if (!anyGradient) out << "  <defs>\n";
        anyGradient = true;
        const QString id = QStringLiteral("fill%1").arg(i);
        writeGradient(out, fill, id);
        fills << QStringLiteral(" fill=\"url(#%1)\"").arg(id);
    }
    if (anyGradient) out << "  </defs>\n";
    for (std::size_t i = 0; i < shapes.size(); ++i) writeShape(out, shapes[i], fills[static_cast<qsizetype>(i)]);
    out << "</svg>\n";
    return text;
}

} // namespace sps
