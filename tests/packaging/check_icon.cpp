// Checks that the scalable icon shows the same picture as the drawn PNGs:
// renders the SVG at each PNG's size and compares them pixel by pixel.
//
//     check_icon ICON.svg ICON_SIZE.png...

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

namespace {

// Rendering the SVG differs from painting the shapes directly only in the
// rounding of antialiased edges: a few pixels of the curved outline. The
// smallest shape of the icon covers 0.4 % of it, so a shape that is missing,
// misplaced or wrongly coloured makes far more pixels differ.
constexpr int DIFFERENT = 32; // a channel differs by more than this
constexpr double MAX_DIFFERENT_SHARE = 0.001;
constexpr double MAX_MEAN_DIFFERENCE = 1.0; // per channel, 0..255

struct Difference {
    double mean = 0.0;
    int differentPixels = 0;
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    long long sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            int largest = 0;
            for (const int delta :
                 {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)}) {
                sum += std::abs(delta);
                largest = std::max(largest, std::abs(delta));
            }
            if (largest > DIFFERENT) ++d.differentPixels;
        }
    d.mean = static_cast<double>(sum) / (4.0 * a.width() * a.height());
    return d;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: check_icon ICON.svg ICON_SIZE.png...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "check_icon: %s is no valid SVG\n", argv[1]);
        return 1;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const QImage png = QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_ARGB32);
        if (png.isNull() || png.width() != png.height()) {
            std::fprintf(stderr, "check_icon: %s is no square PNG\n", argv[i]);
            status = 1;
            continue;
        }
        QImage rendered(png.size(), QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        {
            QPainter painter(&rendered);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter);
        }
        const Difference d = compare(png, rendered.convertToFormat(QImage::Format_ARGB32));
        const double share = static_cast<double>(d.differentPixels) / (png.width() * png.height());
        const bool same = d.mean <= MAX_MEAN_DIFFERENCE && share <= MAX_DIFFERENT_SHARE;
        std::printf("%s: %dx%d, mean difference %.3f, %d pixels differ%s\n", argv[i], png.width(), png.height(), d.mean,
                    d.differentPixels, same ? "" : " -- not the same picture");
        if (!same) status = 1;
    }
    return status;
}
