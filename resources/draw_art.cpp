// Draws the station's artwork: the sprite sheet SPSPART (128 x 128 pixels,
// indexed colour, every picture at the place the station drawing takes it
// from) and the icon SPSICON at several sizes and as SVG. Run at build time:
//
//     spsart SHEET.png ICON_DIR
//
// ICON_DIR receives spsicon_SIZE.png for each size and spsicon.svg.
//
// The sheet is drawn pixel by pixel from shapes (discs, rings, capsules,
// bevels) in a fixed palette, so the output is the same on every machine.
// The icon is a list of vector shapes (icon_art.cpp), painted at each size
// and written as SVG.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include <QColor>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include "icon_art.h"

namespace {

// ---------------------------------------------------------------------------
// The palette: index 0 is transparent; the rest are ramps from dark to light.

class Palette {
public:
    Palette() {
        colors_.push_back(qRgba(0, 0, 0, 0));
        grey_ = ramp(QColor(22, 22, 26), QColor(248, 248, 250), 16);
        amber_ = table({{120, 40, 0},
                        {180, 70, 0},
                        {230, 110, 0},
                        {255, 150, 10},
                        {255, 190, 40},
                        {255, 222, 90},
                        {255, 242, 160},
                        {255, 255, 225}});
        lampOff_ = table({{34, 28, 22},
                          {50, 42, 32},
                          {66, 56, 42},
                          {84, 72, 54},
                          {104, 92, 72},
                          {134, 124, 106},
                          {178, 172, 160},
                          {222, 220, 214}});
        green_ = table({{0, 50, 0}, {0, 100, 10}, {20, 160, 30}, {60, 210, 60}, {140, 245, 130}, {215, 255, 205}});
        red_ = table({{70, 0, 0}, {130, 10, 10}, {190, 30, 25}, {230, 60, 50}, {250, 130, 115}, {255, 210, 200}});
        blue_ = table({{14, 30, 70}, {28, 56, 120}, {44, 86, 170}, {70, 120, 210}, {120, 165, 235}, {190, 215, 250}});
        lcd_ = table({{96, 112, 80}, {136, 154, 112}, {166, 184, 140}, {184, 200, 158}});
        glass_ = table({{118, 138, 152}, {156, 176, 190}, {188, 204, 214}, {226, 236, 242}});
        background_ = add(QColor(160, 160, 164));
    }

    QList<QRgb> colorTable() const { return colors_; }
    int grey(int k) const { return pick(grey_, k); }
    int amber(int k) const { return pick(amber_, k); }
    int lampOff(int k) const { return pick(lampOff_, k); }
    int green(int k) const { return pick(green_, k); }
    int red(int k) const { return pick(red_, k); }
    int blue(int k) const { return pick(blue_, k); }
    int lcd(int k) const { return pick(lcd_, k); }
    int glass(int k) const { return pick(glass_, k); }
    int background() const { return background_; }

private:
    struct Ramp {
        int first;
        int count;
    };

    int add(const QColor& c) {
        colors_.push_back(c.rgb());
        return static_cast<int>(colors_.size()) - 1;
    }
    Ramp ramp(const QColor& from, const QColor& to, int count) {
        const int first = static_cast<int>(colors_.size());
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / (count - 1);
            const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
            add(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())));
        }
        return {first, count};
    }
    Ramp table(std::initializer_list<std::array<int, 3>> rgbs) {
        const int first = static_cast<int>(colors_.size());
        for (const auto& c : rgbs) add(QColor(c[0], c[1], c[2]));
        return {first, static_cast<int>(rgbs.size())};
    }
    static int pick(Ramp r, int k) { return r.first + std::clamp(k, 0, r.count - 1); }

    QList<QRgb> colors_;
    Ramp grey_{}, amber_{}, lampOff_{}, green_{}, red_{}, blue_{}, lcd_{}, glass_{};
    int background_ = 0;
};

// ---------------------------------------------------------------------------
// The sheet with a pen that writes palette indices.

class Sheet {
public:
    static constexpr int SIZE = 128;

    Sheet() : image_(SIZE, SIZE, QImage::Format_Indexed8) {
        image_.setColorTable(palette_.colorTable());
        image_.fill(0);
    }

    const Palette& pal() const { return palette_; }
    const QImage& image() const { return image_; }

    void set(int x, int y, int index) {
        if (x >= 0 && y >= 0 && x < SIZE && y < SIZE) image_.setPixel(x, y, static_cast<uint>(index));
    }
    void fill(int x, int y, int w, int h, int index) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) set(x + i, y + j, index);
    }
    // For every pixel of the rectangle: shade(u, v) with (u, v) the pixel's
    // centre relative to the rectangle's top-left corner; -1 leaves it.
    template <typename Shade> void paint(int x, int y, int w, int h, Shade shade) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const int index = shade(i + 0.5, j + 0.5);
                if (index >= 0) set(x + i, y + j, index);
            }
    }

private:
    Palette palette_;
    QImage image_;
};

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// How much a surface at direction (dx, dy) from a centre faces the light,
// which comes from the top left: -1 (away) .. 1 (towards).
double facing(double dx, double dy) {
    const double len = std::hypot(dx, dy);
    if (len < 1e-9) return 0.0;
    return (-dx - dy) / (len * std::sqrt(2.0));
}

// A square mounting plate with bevelled edges and four screws: the panel
// that every lamp and switch sits on.
void plate(Sheet& s, int x, int y, int size) {
    const Palette& p = s.pal();
    s.paint(x, y, size, size, [&](double u, double v) {
        const int i = static_cast<int>(u);
        const int j = static_cast<int>(v);
        const int last = size - 1;
        if (i == last || j == last) return p.grey(5);
        if (i == 0 || j == 0) return p.grey(13);
        if (i == last - 1 || j == last - 1) return p.grey(8);
        if (i == 1 || j == 1) return p.grey(11);
        return p.grey(10);
    });
    const int far = size - 5;
    for (const auto& [sx, sy] : {std::pair{3, 3}, {far, 3}, {3, far}, {far, far}}) {
        s.set(x + sx, y + sy, p.grey(6));
        s.set(x + sx + 1, y + sy, p.grey(5));
        s.set(x + sx, y + sy + 1, p.grey(7));
        s.set(x + sx + 1, y + sy + 1, p.grey(12));
    }
}

// A raised chrome ring between radii r0 and r1 around (cx, cy).
int chromeRing(const Palette& p, double dx, double dy, double d, double r0, double r1) {
    const double outer = (d - r0) / (r1 - r0); // 0 inner edge .. 1 outer edge
    const double light = facing(dx, dy) * (outer > 0.5 ? 1.0 : -1.0);
    return p.grey(9 + static_cast<int>(std::lround(light * 4.0)));
}

// A signal lamp in a chrome bezel, lit or dark (31 x 31).
void lamp(Sheet& s, int x, int y, bool on) {
    plate(s, x, y, 31);
    const Palette& p = s.pal();
    const double c = 15.5;
    s.paint(x, y, 31, 31, [&](double u, double v) {
        const double dx = u - c, dy = v - c, d = std::hypot(dx, dy);
        if (d > 14.0) return -1;
        if (d > 13.2) return facing(dx, dy) > 0.2 ? -1 : p.grey(6); // shadow of the bezel
        if (d > 11.0) return chromeRing(p, dx, dy, d, 11.0, 13.2);
        const double t = clamp01(1.0 - d / 11.0);
        const double spot = clamp01(1.0 - std::hypot(dx + 3.6, dy + 3.6) / 3.8);
        if (on) {
            const double glow = t * 5.2 + spot * 3.0;
            return p.amber(static_cast<int>(glow));
        }
        const double shade = t * 2.5 + (facing(dx, dy) < -0.3 && d > 8.0 ? 1.0 : 0.0) + spot * 6.0;
        return p.lampOff(static_cast<int>(shade));
    });
}

// A toggle switch on its plate, its dark lever up (on) or down (off)
// (31 x 31), with the marks "I" above and "0" below on the left and a green
// dot beside "I" while the switch is on.
void toggleSwitch(Sheet& s, int x, int y, bool on) {
    plate(s, x, y, 31);
    const Palette& p = s.pal();
    s.fill(x + 5, y + 4, 1, 5, p.grey(3));
    for (const auto& [mx, my] :
         {std::pair{5, 22}, {6, 22}, {4, 23}, {7, 23}, {4, 24}, {7, 24}, {4, 25}, {7, 25}, {5, 26}, {6, 26}})
        s.set(x + mx, y + my, p.grey(3));
    if (on) s.fill(x + 8, y + 5, 2, 2, p.green(4));
    const double c = 15.5;
    const double tipY = on ? 5.0 : 26.0;
    s.paint(x, y, 31, 31, [&](double u, double v) {
        const double dx = u - c, dy = v - c, d = std::hypot(dx, dy);
        // The ball at the lever's end.
        const double tip = std::hypot(u - c, v - tipY);
        if (tip < 3.3) {
            const double spot = clamp01(1.0 - std::hypot(u - c + 1.2, v - tipY + 1.2) / 1.6);
            return p.grey(1 + static_cast<int>(std::lround(facing(u - c, v - tipY) * 1.5 + 1.5 + spot * 5.0)));
        }
        // The lever, tapering from the nut to the ball, lit from the left.
        const double along = (v - c) / (tipY - c);
        if (along > 0.0 && along < 1.0) {
            const double half = 2.4 - 0.9 * along;
            if (std::abs(dx) < half) return p.grey(dx < -half / 3.0 ? 6 : dx < half / 3.0 ? 3 : 1);
        }
        if (d < 2.6) return p.grey(2);
        if (d < 6.4) return chromeRing(p, dx, dy, d, 2.6, 6.4);
        if (d < 7.2 && facing(dx, dy) < 0.3) return p.grey(6);
        // The lever's shadow on the plate, falling to the lower right.
        const double sv = (v - 1.2 - c) / (tipY - c);
        if (sv > 0.0 && sv < 1.0 && std::abs(u - 1.6 - c) < 2.0 && d >= 7.2) return p.grey(7);
        if (std::hypot(u - 1.6 - c, v - 1.2 - tipY) < 3.3) return p.grey(7);
        return -1;
    });
}

// A small indicator in its dark frame: 0 dark, 1 green, 2 amber (12 x 7).
void indicator(Sheet& s, int x, int y, int state) {
    const Palette& p = s.pal();
    s.paint(x, y, 12, 7, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (i == 0 || j == 0) return p.grey(3);
        if (i == 11 || j == 6) return p.grey(12);
        const bool top = j == 1;
        const bool core = j >= 2 && j <= 4 && i >= 3 && i <= 8;
        switch (state) {
        case 1: return p.green(top ? 5 : core ? 4 : 2);
        case 2: return p.amber(top ? 7 : core ? 5 : 3);
        default: return top ? p.grey(6) : p.grey(4);
        }
    });
}

// The entry light barrier seen from above: emitter left, receiver right.
// Free: the red beam reaches the receiver, whose eye is lit green.
// Interrupted: a workpiece stands in the beam and the receiver is dark.
void entryBarrier(Sheet& s, int x, int y, bool interrupted) {
    const Palette& p = s.pal();
    s.paint(x, y, 12, 7, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (i <= 1 || i >= 10) {
            if (j == 3) return i == 1 ? p.red(3) : i == 10 ? (interrupted ? p.grey(2) : p.green(4)) : p.grey(4);
            return j == 0 || j == 6 ? p.grey(3) : p.grey(6);
        }
        if (interrupted && i >= 4 && i <= 7 && j >= 1 && j <= 5)
            return j == 1 ? p.blue(4) : i == 7 || j == 5 ? p.blue(1) : p.blue(3);
        if (j == 3 && (!interrupted || i <= 3)) return p.red(4);
        if ((j == 2 || j == 4) && (!interrupted || i <= 3)) return p.red(1);
        return p.background();
    });
}

// The display panel of the analog value: a light LCD pane, sunk in.
void analogPanel(Sheet& s, int x, int y) {
    const Palette& p = s.pal();
    s.paint(x, y, 27, 11, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (i == 0 || j == 0) return p.grey(4);
        if (i == 26 || j == 10) return p.grey(13);
        if (j == 1) return p.lcd(0);
        if (i == 1) return p.lcd(1);
        return j == 9 ? p.lcd(3) : p.lcd(2);
    });
}

// The joystick's housing: a plate with a chrome ring and a rubber boot with
// concentric folds (52 x 52).
void joystickBase(Sheet& s, int x, int y) {
    plate(s, x, y, 52);
    const Palette& p = s.pal();
    const double c = 26.0;
    s.paint(x, y, 52, 52, [&](double u, double v) {
        const double dx = u - c, dy = v - c, d = std::hypot(dx, dy);
        if (d > 25.3) return -1;
        if (d > 24.5) return facing(dx, dy) > 0.0 ? -1 : p.grey(6);
        if (d > 22.0) return chromeRing(p, dx, dy, d, 22.0, 24.5);
        // Folds: concentric ridges, whose crests catch the light on the
        // upper left.
        if (d < 3.5) return p.grey(d < 2.0 ? 2 : 5);
        const double fold = std::fmod(d - 3.5, 3.0) / 3.0;
        if (fold < 0.34) return p.grey(facing(dx, dy) > 0.2 ? 6 : 5);
        return p.grey(fold < 0.67 ? 3 : 2);
    });
    // Direction marks on the plate beside the ring.
    for (int k = 0; k < 3; ++k) {
        s.set(x + 26, y + 0 + 1 + k, p.grey(4));
        s.set(x + 26, y + 48 + k, p.grey(4));
        s.set(x + 1 + k, y + 26, p.grey(4));
        s.set(x + 48 + k, y + 26, p.grey(4));
    }
}

// The joystick's knob: a red ball, transparent around (12 x 12).
void joystickKnob(Sheet& s, int x, int y) {
    const Palette& p = s.pal();
    s.paint(x, y, 12, 12, [&](double u, double v) {
        const double dx = u - 6.0, dy = v - 6.0, d = std::hypot(dx, dy);
        if (d > 5.9) return -1;
        if (d > 5.1) return p.red(0);
        const double spot = clamp01(1.0 - std::hypot(dx + 1.8, dy + 1.8) / 2.6);
        const double shade = 2.0 + facing(dx, dy) * 1.3 * (d / 5.1) + spot * 3.0;
        return p.red(static_cast<int>(std::lround(shade)));
    });
}

// The column: an aluminium profile with two slots. The shaft's rows are all
// alike, so it stretches to any length.
void column(Sheet& s) {
    const Palette& p = s.pal();
    const int profile[16] = {5, 11, 13, 12, 4, 2, 6, 12, 14, 6, 2, 4, 11, 10, 9, 5};
    for (int i = 0; i < 16; ++i) {
        // Top cap (0, 82) 16 x 2.
        s.set(i, 82, i == 0 || i == 15 ? p.grey(5) : p.grey(12));
        s.set(i, 83, p.grey(6));
        // Shaft (0, 84) 16 x 6.
        for (int j = 84; j < 90; ++j) s.set(i, j, p.grey(profile[i]));
        // Bottom (0, 91) 16 x 2.
        s.set(i, 91, p.grey(8));
        s.set(i, 92, p.grey(4));
    }
    // Base (0, 64) 16 x 18: the foot with the two jog buttons, up above down.
    s.paint(0, 64, 16, 18, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (i == 0 || i == 15 || j == 17) return p.grey(3);
        if (j == 0) return p.grey(9);
        const bool upper = j >= 1 && j <= 7;
        const bool lower = j >= 10 && j <= 16;
        if ((!upper && !lower) || i < 2 || i > 13) return p.grey(6);
        const int top = upper ? 1 : 10, bottom = upper ? 7 : 16;
        // The arrow, pointing up in the upper button and down in the lower.
        const double row = upper ? v - top - 1.5 : bottom - v - 0.5;
        if (row >= 0.0 && row < 4.0 && std::abs(u - 8.0) < 0.6 + row) return p.grey(1);
        if (j == top || i == 2) return p.grey(13);
        if (j == bottom || i == 13) return p.grey(7);
        return p.grey(11);
    });
}

// The carrier: a blue slide block with two screws (16 x 6).
void carrier(Sheet& s) {
    const Palette& p = s.pal();
    s.paint(0, 93, 16, 6, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (j == 0) return p.blue(5);
        if (j == 5) return p.blue(0);
        if (i == 0 || i == 15) return p.blue(1);
        if ((i == 3 || i == 12) && (j == 2 || j == 3)) return j == 2 ? p.grey(14) : p.grey(8);
        return j == 1 ? p.blue(4) : p.blue(3);
    });
}

// The ejector: an upright glass cylinder in a metal frame (21 x 31) and its
// piston (15 x 2), which travels down inside the glass.
void ejector(Sheet& s) {
    const Palette& p = s.pal();
    s.paint(23, 82, 21, 31, [&](double u, double v) {
        const int i = static_cast<int>(u), j = static_cast<int>(v);
        if (j == 0) return i == 0 || i == 20 ? p.grey(5) : p.grey(12);
        if (j == 1) return p.grey(6);
        if (j <= 26) {
            if (i == 0 || i == 20) return p.grey(4);
            if (i == 1 || i == 19) return p.grey(12);
            if (i == 2 || i == 18) return p.grey(7);
            if (i == 3 || i == 17) return p.glass(0);
            if (i == 5 || i == 6) return p.glass(3);
            // Scale marks every quarter of the stroke on the right.
            if (i == 16 && (j - 2) % 6 == 0) return p.grey(5);
            return p.glass(j % 2 == 0 && i == 7 ? 2 : 1);
        }
        if (j == 27) return p.grey(5);
        // The gland below, narrower than the tube.
        if (i >= 6 && i <= 14) return i == 6 ? p.grey(13) : i == 14 ? p.grey(5) : j == 30 ? p.grey(6) : p.grey(10);
        return p.background();
    });
    for (int i = 0; i < 15; ++i) {
        s.set(26 + i, 79, i == 0 || i == 14 ? p.grey(8) : p.grey(13));
        s.set(26 + i, 80, p.grey(4));
    }
}

QImage drawSheet() {
    Sheet s;
    lamp(s, 0, 0, true);
    lamp(s, 0, 32, false);
    toggleSwitch(s, 33, 0, false);
    toggleSwitch(s, 33, 32, true);
    for (int state = 0; state < 3; ++state) indicator(s, 12 * state, 113, state);
    entryBarrier(s, 0, 99, true);
    entryBarrier(s, 0, 106, false);
    analogPanel(s, 64, 0);
    joystickBase(s, 64, 12);
    joystickKnob(s, 92, 0);
    column(s);
    carrier(s);
    ejector(s);
    return s.image();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: spsart SHEET.png ICON_DIR\n");
        return 2;
    }
    const QImage sheet = drawSheet();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "spsart: cannot write %s\n", argv[1]);
        return 1;
    }
    const QString iconDir = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = iconDir + QStringLiteral("/spsicon_%1.png").arg(size);
        if (!sps::drawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "spsart: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QSaveFile svg(iconDir + QStringLiteral("/spsicon.svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(sps::iconSvg().toUtf8()) < 0 || !svg.commit()) {
        std::fprintf(stderr, "spsart: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
