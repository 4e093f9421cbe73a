#include <set>

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPixmap>
#include <QTest>

#include "base/sim_clock.h"
#include "gui/station_drawing.h"
#include "station/target.h"

using namespace sps;

// The station drawn into an image, checked for what a user would see change.
// Whole pictures are never compared: fonts differ between machines.
class StationDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void init() { simClock().switchToManual(); }
    void cleanup() { simClock().switchToAutomatic(); }
    void spriteSheetHoldsEveryPicture_data();
    void spriteSheetHoldsEveryPicture();
    void picturesOfTwoStatesDiffer();
    void ledLightsOnlyItsSquare();
    void carrierRowFollowsItsPosition();
    void knobFollowsTheJoystick();

private:
    QImage render(const Target& target) const;
    // The smallest rectangle holding every pixel that differs.
    static QRect changed(const QImage& a, const QImage& b, const QRect& within);

    QPixmap sprites_ = QPixmap::fromImage(loadSpriteSheet());
};

QImage StationDrawingTest::render(const Target& target) const {
    QImage image(STATION_WIDTH, STATION_HEIGHT, QImage::Format_RGB32);
    QPainter painter(&image);
    drawStation(painter, target, sprites_);
    return image;
}

QRect StationDrawingTest::changed(const QImage& a, const QImage& b, const QRect& within) {
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

namespace {

int colourCount(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

// Every place the drawing takes a picture from holds one: opaque (the
// knob's round corners aside) and drawn with several colours.
void StationDrawingTest::spriteSheetHoldsEveryPicture_data() {
    QTest::addColumn<QRect>("place");
    QTest::addColumn<int>("minColours");
    QTest::newRow("lamp on") << QRect(0, 0, 31, 31) << 6;
    QTest::newRow("lamp off") << QRect(0, 32, 31, 31) << 6;
    QTest::newRow("switch down") << QRect(33, 0, 31, 31) << 6;
    QTest::newRow("switch up") << QRect(33, 32, 31, 31) << 6;
    QTest::newRow("indicator dark") << QRect(0, 113, 12, 7) << 3;
    QTest::newRow("indicator 1") << QRect(12, 113, 12, 7) << 3;
    QTest::newRow("indicator 2") << QRect(24, 113, 12, 7) << 3;
    QTest::newRow("barrier interrupted") << QRect(0, 99, 12, 7) << 4;
    QTest::newRow("barrier free") << QRect(0, 106, 12, 7) << 4;
    QTest::newRow("analog panel") << QRect(64, 0, 27, 11) << 4;
    QTest::newRow("joystick base") << QRect(64, 12, 52, 52) << 8;
    QTest::newRow("joystick knob") << QRect(92, 0, 12, 12) << 4;
    QTest::newRow("column top") << QRect(0, 82, 16, 2) << 2;
    QTest::newRow("column shaft") << QRect(0, 84, 16, 6) << 5;
    QTest::newRow("column bottom") << QRect(0, 91, 16, 2) << 2;
    QTest::newRow("column base") << QRect(0, 64, 16, 18) << 5;
    QTest::newRow("carrier") << QRect(0, 93, 16, 6) << 4;
    QTest::newRow("ejector body") << QRect(23, 82, 21, 31) << 6;
    QTest::newRow("ejector rod") << QRect(26, 79, 15, 2) << 2;
}

void StationDrawingTest::spriteSheetHoldsEveryPicture() {
    QFETCH(QRect, place);
    QFETCH(int, minColours);
    const QImage sheet = loadSpriteSheet();
    QCOMPARE(sheet.size(), QSize(128, 128));
    QCOMPARE(sheet.format(), QImage::Format_Indexed8);
    const QImage picture = sheet.copy(place);
    QVERIFY2(colourCount(picture) >= minColours, qPrintable(QString::number(colourCount(picture))));
    const bool roundKnob = place == QRect(92, 0, 12, 12);
    QCOMPARE(qAlpha(picture.pixel(place.width() / 2, place.height() / 2)), 255);
    if (!roundKnob) QCOMPARE(qAlpha(picture.pixel(0, 0)), 255);
}

void StationDrawingTest::picturesOfTwoStatesDiffer() {
    const QImage sheet = loadSpriteSheet();
    const auto differ = [&](QRect a, QRect b) { return sheet.copy(a) != sheet.copy(b); };
    QVERIFY(differ({0, 0, 31, 31}, {0, 32, 31, 31}));
    QVERIFY(differ({33, 0, 31, 31}, {33, 32, 31, 31}));
    QVERIFY(differ({0, 99, 12, 7}, {0, 106, 12, 7}));
    QVERIFY(differ({0, 113, 12, 7}, {12, 113, 12, 7}));
    QVERIFY(differ({12, 113, 12, 7}, {24, 113, 12, 7}));
}

void StationDrawingTest::ledLightsOnlyItsSquare() {
    Target target;
    const QImage dark = render(target);
    target.writeOutput(0, 0, 1);
    const QImage lit = render(target);
    // Led0 is the rightmost of the row of eight.
    const QRect led0(10 + 70 * 7, 130, 62, 62);
    const QRect row(10, 130, 70 * 8, 62);
    const QRect difference = changed(dark, lit, row);
    QVERIFY(!difference.isEmpty());
    QVERIFY(led0.contains(difference));
    QVERIFY(difference.width() > 30 && difference.height() > 30);
}

void StationDrawingTest::carrierRowFollowsItsPosition() {
    Target target;
    const QRect column(580, 10, 32, 344);
    const QImage top = render(target);
    target.placeCarrier(Target::CARRIER_MAX);
    const QImage bottom = render(target);
    target.placeCarrier(Target::CARRIER_MAX / 2);
    const QImage middle = render(target);
    // 12 rows at y = position / 2000000 * 288 + 14.
    QCOMPARE(changed(top, bottom, column), QRect(580, 14, 32, 302 + 12 - 14));
    QCOMPARE(changed(top, middle, column), QRect(580, 14, 32, 158 + 12 - 14));
    QCOMPARE(changed(bottom, middle, column), QRect(580, 158, 32, 302 + 12 - 158));
}

void StationDrawingTest::knobFollowsTheJoystick() {
    Target target;
    const QRect field(10, 350, 156, 156);
    const QImage centred = render(target);
    target.setJoystick(30, -20);
    const QImage moved = render(target);
    const QRect difference = changed(centred, moved, field);
    // Only where the knob was and where it is now.
    QVERIFY(QRect(77, 417, 22, 22).united(QRect(107, 397, 22, 22)).contains(difference));
    QVERIFY(difference.intersects(QRect(107, 397, 22, 22)) && difference.intersects(QRect(77, 417, 22, 22)));
}

int runStationDrawingTests(int argc, char** argv) {
    StationDrawingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_station_drawing.moc"
