#include "gui/station_drawing.h"

#include <cstdio>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "gui/art_resources.h"
#include "gui/fault_marks.h"
#include "station/target.h"

namespace sps {

namespace {

// Places in the sprite sheet.
constexpr QRect LAMP_ON{0, 0, 31, 31};
constexpr QRect LAMP_OFF{0, 32, 31, 31};
constexpr QRect SWITCH_OFF{33, 0, 31, 31};
constexpr QRect SWITCH_ON{33, 32, 31, 31};
constexpr QRect BARRIER_INTERRUPTED{0, 99, 12, 7};
constexpr QRect BARRIER_FREE{0, 106, 12, 7};
constexpr QRect ANALOG_PANEL{64, 0, 27, 11};
constexpr QRect JOYSTICK_BASE{64, 12, 52, 52};
constexpr QRect JOYSTICK_KNOB{92, 0, 12, 12};
constexpr QRect COLUMN_TOP{0, 82, 16, 2};
constexpr QRect COLUMN_SHAFT{0, 84, 16, 6};
constexpr QRect COLUMN_BOTTOM{0, 91, 16, 2};
constexpr QRect COLUMN_BASE{0, 64, 16, 18};
constexpr QRect CARRIER{0, 93, 16, 6};
constexpr QRect EJECTOR_BODY{23, 82, 21, 31};
constexpr QRect EJECTOR_ROD{26, 79, 15, 2};
// Indicator state s (0 dark, 1, 2) lies at (12 s, 113).
QRect indicatorSprite(int state) { return {12 * state, 113, 12, 7}; }

constexpr int ELEMENT = 62; // lamps, LEDs, switches and buttons are 62 x 62
constexpr int PITCH = 70;   // from one to the next in a row
const QColor TEXT_BACKGROUND(170, 170, 170);

// A row of lamps (outputs) or switches (inputs), left to right, with a label
// above its first and its last element. The leftmost shows `firstSignal`,
// each further one the signal below.
struct ElementRow {
    int x, y, count;
    bool output;
    int firstSignal;
    const char* firstLabel;
    QPoint firstLabelAt;
    const char* lastLabel;
    QPoint lastLabelAt;
};

constexpr ElementRow ROWS[] = {
    {80, 10, 1, true, 8, "A1.0", {20, 10}, nullptr, {}},
    {10, 130, 8, true, 7, "Led7", {20, 90}, "Led0", {520, 90}},
    {10, 240, 8, false, 7, "Swt7", {20, 200}, "Swt0", {520, 200}},
    {290, 350, 4, true, 12, "Lampe3", {300, 310}, "Lampe0", {500, 310}},
    {290, 460, 4, false, 11, "Taste3", {300, 420}, "Taste0", {500, 420}},
};

// The sensor indicators with their labels.
struct Indicator {
    QPoint at;
    int (Target::*state)() const;
    const char* label;
    QPoint labelAt;
};

constexpr Indicator INDICATORS[] = {
    {{630, 63}, &Target::optShown, "OptNS", {660, 63}},
    {{630, 93}, &Target::magnetShown, "ElMag", {660, 93}},
    {{630, 143}, &Target::kapShown, "KapNS", {660, 143}},
    {{630, 264}, &Target::indShown, "IndNS", {630, 245}},
};

void blit(QPainter& painter, const QRect& target, const QPixmap& sprites, const QRect& source) {
    painter.drawPixmap(target, sprites, source);
}

// A label: its text on the text background, the top-left corner at `at`.
void label(QPainter& painter, QPoint at, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(at, QSize(metrics.horizontalAdvance(text), metrics.height()));
    painter.fillRect(box, TEXT_BACKGROUND);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

QString formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

void drawRows(QPainter& painter, const Target& target, const QPixmap& sprites) {
    for (const ElementRow& row : ROWS) {
        for (int i = 0; i < row.count; ++i) {
            const int signal = row.firstSignal - i;
            const bool on = (row.output ? target.outputSignal(signal) : target.inputSignal(signal)) != 0;
            const QRect& source = row.output ? (on ? LAMP_ON : LAMP_OFF) : (on ? SWITCH_ON : SWITCH_OFF);
            blit(painter, QRect(row.x + PITCH * i, row.y, ELEMENT, ELEMENT), sprites, source);
        }
        label(painter, row.firstLabelAt, QString::fromUtf8(row.firstLabel));
        if (row.lastLabel != nullptr) label(painter, row.lastLabelAt, QString::fromUtf8(row.lastLabel));
    }
}

void drawSensors(QPainter& painter, const Target& target, const QPixmap& sprites) {
    for (const Indicator& indicator : INDICATORS) {
        blit(painter, QRect(indicator.at, QSize(24, 12)), sprites, indicatorSprite((target.*indicator.state)()));
        label(painter, indicator.labelAt, QString::fromUtf8(indicator.label));
    }
    blit(painter, QRect(620, 318, 24, 12), sprites, target.entryBarrierToggle() ? BARRIER_INTERRUPTED : BARRIER_FREE);
    label(painter, {620, 338}, QStringLiteral("EinLS"));
}

// The column with the carrier, the height of the carrier above the bottom,
// and the ejector.
void drawMachine(QPainter& painter, const Target& target, const QPixmap& sprites) {
    blit(painter, QRect(580, 10, 32, 4), sprites, COLUMN_TOP);
    blit(painter, QRect(580, 14, 32, 300), sprites, COLUMN_SHAFT);
    blit(painter, QRect(580, 314, 32, 4), sprites, COLUMN_BOTTOM);
    blit(painter, QRect(580, 318, 32, 36), sprites, COLUMN_BASE);
    const double travel = static_cast<double>(target.carrierPos()) / Target::CARRIER_MAX;
    blit(painter, QRect(580, static_cast<int>(travel * 288 + 14), 32, 12), sprites, CARRIER);
    const double height = static_cast<double>(Target::CARRIER_MAX - target.carrierPos()) / Target::CARRIER_MAX * 26.0;
    label(painter, {660, 4}, formatted("%04.1fcm", height));

    const double stroke = static_cast<double>(target.ejectorPos()) / Target::EJECTOR_MAX;
    blit(painter, QRect(670, 270, 42, 62), sprites, EJECTOR_BODY);
    blit(painter, QRect(676, static_cast<int>(stroke * 44 + 272), 30, 4), sprites, EJECTOR_ROD);
    label(painter, {670, 338}, QStringLiteral("Zylinder"));
}

void drawOperatorPanel(QPainter& painter, const Target& target, const QPixmap& sprites) {
    blit(painter, QRect(10, 310, 71, 33), sprites, ANALOG_PANEL);
    // Drawn transparently onto the display.
    painter.drawText(QRect(20, 320, 60, 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     formatted("%0.3f", static_cast<double>(target.analogValue())));
    blit(painter, QRect(10, 350, 156, 156), sprites, JOYSTICK_BASE);
    blit(painter, QRect(77 + target.joystickDx(), 417 + target.joystickDy(), 22, 22), sprites, JOYSTICK_KNOB);
}

} // namespace

QImage loadSpriteSheet() {
    initArtResources();
    return QImage(QStringLiteral(":/art/spspart.png"));
}

void drawStation(QPainter& painter, const Target& target, const QPixmap& sprites) {
    painter.fillRect(QRect(0, 0, STATION_WIDTH, STATION_HEIGHT), QColor::fromRgba(STATION_BACKGROUND));
    painter.setPen(Qt::black);
    drawRows(painter, target, sprites);
    drawSensors(painter, target, sprites);
    drawMachine(painter, target, sprites);
    drawOperatorPanel(painter, target, sprites);
    drawFaultMarks(painter, target);
}

} // namespace sps
