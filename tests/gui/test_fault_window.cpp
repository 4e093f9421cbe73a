#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "base/sim_clock.h"
#include "gui/fault_marks.h"
#include "gui/fault_model.h"
#include "gui/fault_window.h"
#include "gui/station_drawing.h"
#include "station/target.h"

using namespace sps;

// The window "Störungen" drives the station's fault table through its model;
// the broken parts show red frames in the rendered station.
class FaultWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { simClock().switchToManual(); }
    void cleanup() { simClock().switchToAutomatic(); }
    void checkBoxSwitchesTheFaultOnAndOff();
    void kindAndNumbersOfAnOnRowReachTheStation();
    void refusedNumbersLeaveTheStationAsItWas();
    void brokenPartsAreFramedInRed_data();
    void brokenPartsAreFramedInRed();

private:
    QImage render(const Target& target) const {
        QImage image(STATION_WIDTH, STATION_HEIGHT, QImage::Format_RGB32);
        QPainter painter(&image);
        drawStation(painter, target, sprites_);
        return image;
    }
    static int redPixels(const QImage& image, const QRect& within) {
        int count = 0;
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x)
                if (image.pixel(x, y) == qRgb(220, 0, 0)) ++count;
        return count;
    }
    static bool check(FaultModel& model, int row, bool on) {
        return model.setData(model.index(row, FaultModel::On), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }

    QPixmap sprites_ = QPixmap::fromImage(loadSpriteSheet());
};

void FaultWindowTest::checkBoxSwitchesTheFaultOnAndOff() {
    Target target;
    FaultWindow window(target);
    FaultModel& model = window.model();
    QCOMPARE(model.rowCount(), static_cast<int>(faultInputs().size()));
    const int swt0 = findFaultInput("Swt0");
    QCOMPARE(model.data(model.index(swt0, FaultModel::Input), Qt::DisplayRole).toString(), QStringLiteral("Swt0"));
    QCOMPARE(model.data(model.index(swt0, FaultModel::Kind), Qt::DisplayRole).toString(),
             QStringLiteral("klemmt auf 0"));
    QVERIFY(check(model, swt0, true));
    QVERIFY(target.faults().has(swt0));
    QCOMPARE(model.data(model.index(swt0, FaultModel::On), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(check(model, swt0, false));
    QVERIFY(target.faults().empty());

    QVERIFY(check(model, swt0, true));
    QVERIFY(check(model, slaveRow(3), true));
    QTest::mouseClick(&window.clearButton(), Qt::LeftButton);
    QVERIFY(target.faults().empty());
    QCOMPARE(model.data(model.index(swt0, FaultModel::On), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

void FaultWindowTest::kindAndNumbersOfAnOnRowReachTheStation() {
    Target target;
    FaultWindow window(target);
    FaultModel& model = window.model();
    const int taste0 = findFaultInput("Taste0");
    QVERIFY(model.setData(model.index(taste0, FaultModel::Kind), QStringLiteral("prellt"), Qt::EditRole));
    QCOMPARE(model.data(model.index(taste0, FaultModel::Amount), Qt::DisplayRole).toInt(), 3);
    QVERIFY(check(model, taste0, true));
    QVERIFY(model.setData(model.index(taste0, FaultModel::Interval), 7, Qt::EditRole));
    const Fault* fault = target.faults().find(taste0);
    QVERIFY(fault != nullptr);
    QCOMPARE(int(fault->kind), int(FaultKind::Bounce));
    QCOMPARE(fault->amount, 3);
    QCOMPARE(fault->interval, 7);
    // A kind that does not fit the row is not taken.
    QVERIFY(!model.setData(model.index(taste0, FaultModel::Kind), QStringLiteral("Rauschen"), Qt::EditRole));
    QVERIFY(!(model.flags(model.index(slaveRow(2), FaultModel::Kind)) & Qt::ItemIsEditable));
}

void FaultWindowTest::refusedNumbersLeaveTheStationAsItWas() {
    Target target;
    FaultWindow window(target);
    FaultModel& model = window.model();
    const int sonar = findFaultInput("Sonar");
    QVERIFY(check(model, sonar, true));
    model.setData(model.index(sonar, FaultModel::Amount), 5000, Qt::EditRole);
    QVERIFY(window.message().contains(QStringLiteral("4095")));
    QCOMPARE(target.faults().find(sonar)->amount, 1);
    QCOMPARE(model.data(model.index(sonar, FaultModel::Amount), Qt::DisplayRole).toInt(), 1);
}

void FaultWindowTest::brokenPartsAreFramedInRed_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("switch 0") << "Swt0";
    QTest::newRow("push button 2") << "Taste2";
    QTest::newRow("upper end switch") << "EndOben";
    QTest::newRow("entry light barrier") << "EinLS";
    QTest::newRow("carrier drive") << "Schlitten";
    QTest::newRow("lost slave 7") << "Slave7";
}

void FaultWindowTest::brokenPartsAreFramedInRed() {
    QFETCH(QString, input);
    Target target;
    FaultWindow window(target);
    const int row = findFaultInput(input.toStdString());
    const auto part = faultPartRect(row, target);
    QVERIFY(part.has_value());
    const QRect around = part->adjusted(-3, -3, 3, 3);
    QCOMPARE(redPixels(render(target), QRect(0, 0, STATION_WIDTH, STATION_HEIGHT)), 0);
    QVERIFY(check(window.model(), row, true));
    const QImage broken = render(target);
    const int onFrame = redPixels(broken, around);
    QVERIFY2(onFrame >= 2 * (part->width() + part->height()), qPrintable(QString::number(onFrame)));
    // Nothing red outside the frame.
    QCOMPARE(redPixels(broken, QRect(0, 0, STATION_WIDTH, STATION_HEIGHT)), onFrame);
    QTest::mouseClick(&window.clearButton(), Qt::LeftButton);
    QCOMPARE(redPixels(render(target), around), 0);
}

int runFaultWindowTests(int argc, char** argv) {
    FaultWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_fault_window.moc"
