#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "gui/frame_pacer.h"

using namespace sps;

namespace {

// Counts its paints and remembers when the last one came.
class PaintCounter final : public QWidget {
public:
    explicit PaintCounter(const QElapsedTimer& clock) : clock_(clock) {}

    int paints = 0;
    qint64 lastPaintMs = -1;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        lastPaintMs = clock_.elapsed();
    }

private:
    const QElapsedTimer& clock_;
};

} // namespace

class FramePacerTest : public QObject {
    Q_OBJECT
private slots:
    void frameOfTheScreen();
    void atMostOnePaintPerFrameAndTheLastStateShown();
};

void FramePacerTest::frameOfTheScreen() {
    QWidget widget;
    const FramePacer pacer(widget, nullptr);
    const double hz = widget.screen()->refreshRate();
    QVERIFY(pacer.frame().count() >= 1);
    QVERIFY(static_cast<double>(pacer.frame().count()) * hz >= 1000.0);
    QVERIFY(static_cast<double>(pacer.frame().count() - 1) * hz < 1000.0);
}

// Requests as fast as the event loop turns, for five frames: the first paints
// at once, the others wait for their frame's end, and after the last request
// its state is painted too.
void FramePacerTest::atMostOnePaintPerFrameAndTheLastStateShown() {
    QElapsedTimer clock;
    PaintCounter widget(clock);
    widget.resize(40, 30);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    FramePacer pacer(widget, nullptr);
    const qint64 frame = pacer.frame().count();
    QCoreApplication::processEvents();

    widget.paints = 0;
    clock.start();
    pacer.request();
    QCoreApplication::processEvents();
    QCOMPARE(widget.paints, 1);
    qint64 lastRequestMs = 0;
    while (clock.elapsed() < 5 * frame) {
        lastRequestMs = clock.elapsed();
        pacer.request();
        QCoreApplication::processEvents();
    }
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(widget.paints <= elapsed / frame + 1,
             qPrintable(QStringLiteral("%1 paints in %2 ms").arg(widget.paints).arg(elapsed)));
    QTRY_VERIFY(widget.lastPaintMs >= lastRequestMs);

    // A quiet frame later a request paints at once again.
    QTest::qWait(static_cast<int>(3 * frame));
    const int before = widget.paints;
    pacer.request();
    QCoreApplication::processEvents();
    QCOMPARE(widget.paints, before + 1);
}

int runFramePacerTests(int argc, char** argv) {
    FramePacerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frame_pacer.moc"
