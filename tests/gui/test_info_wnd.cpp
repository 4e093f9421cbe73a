#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "canvas/info_draw.h"
#include "canvas/kop_draw.h"
#include "gui/info_wnd.h"
#include "gui/painter_canvas.h"
#include "messages/cpu_exception.h"
#include "recording_paint_device.h"

using namespace sps;
using namespace sps::guitest;

namespace {

// A content of a given size in characters and lines that draws a text at the
// start of every line, or fails after its first line when asked to.
class SizedContent final : public InfoDraw {
public:
    SizedContent(int columns, int lines, bool fails = false) : columns_(columns), lines_(lines), fails_(fails) {}

    int contentWidth(KOPDraw& canvas) override { return columns_ * canvas.unitWidth(); }
    int contentHeight(KOPDraw& canvas) override { return lines_ * canvas.unitHeight(); }
    void drawContent(KOPDraw& canvas) override {
        for (int line = 0; line < lines_; ++line) {
            canvas.text(0, line * canvas.unitHeight(), "Zeile " + std::to_string(line));
            if (fails_) throw CPUException("Wert nicht lesbar\n");
        }
    }

private:
    int columns_;
    int lines_;
    bool fails_;
};

} // namespace

// The status window frame with contents of known sizes, and its canvas.
class InfoWndTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { window_.reset(); }

    void canvasHandsThePainterWhatIsVisible();
    void unitIsTheLetterFOfAFifteenPixelCell();
    void scrollingRules_data();
    void scrollingRules();
    void keys_data();
    void keys();
    void thumbAndWheel();
    void sizeChangeResetsTheOffsetsAndRanges();
    void failingContentDoesNotEndThePaint();

private:
    // A shown window on `content` whose client area is `columns` x `lines`.
    InfoWnd& open(std::unique_ptr<InfoDraw> content, int columns, int lines);
    void setClient(int columns, int lines);
    // The offset in whole characters and lines.
    QPoint offsetInUnits() const {
        return {window_->scrollOffset().x() / window_->unit().width(),
                window_->scrollOffset().y() / window_->unit().height()};
    }
    void wheel(QPoint angle);

    std::unique_ptr<InfoWnd> window_;
};

InfoWnd& InfoWndTest::open(std::unique_ptr<InfoDraw> content, int columns, int lines) {
    window_ = std::make_unique<InfoWnd>(std::move(content));
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) qWarning("the window was not exposed");
    setClient(columns, lines);
    return *window_;
}

void InfoWndTest::setClient(int columns, int lines) {
    const QSize unit = window_->unit();
    const QSize wanted(columns * unit.width(), lines * unit.height());
    window_->resize(window_->size() + wanted - window_->viewport()->size());
    QCOMPARE(window_->viewport()->size(), wanted);
}

void InfoWndTest::wheel(QPoint angle) {
    const QPointF at(10, 10);
    QWheelEvent event(at, window_->viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window_->viewport(), &event);
}

// Through the canvas's hooks to the painter: offsets added, invisible
// primitives kept back, texts placed by their top-left corner (so on the
// baseline one ascent lower) and read as ISO-8859-1.
void InfoWndTest::canvasHandsThePainterWhatIsVisible() {
    RecordingPaintDevice device(200, 100);
    {
        QPainter painter(&device);
        // Unit 8 x 15, scrolled by (-10, -20), client 100 x 50, ascent 12.
        PainterCanvas canvas(&painter, 8, 15, -10, -20, 100, 50, 12);
        canvas.line(5, 25, 9, 30);   // x -5 .. -1: left of the client, skipped
        canvas.line(5, 25, 13, 30);  // reaches x 3: drawn whole
        canvas.line(20, 71, 40, 90); // below the client: skipped
        canvas.text(2, 20, "AB");    // starts one unit left of the client: drawn
        canvas.text(1, 20, "CD");    // one pixel further left: skipped
        canvas.textRight(110, 40, "EF");
        canvas.text(20, 30, "Eing\xE4nge");
        PainterCanvas measuring(nullptr, 8, 15, 0, 0, 100, 50, 12);
        measuring.line(0, 0, 10, 10); // nothing to draw on, nothing drawn
        measuring.text(0, 0, "GH");
    }
    QCOMPARE(device.lines(), QList<QLineF>{QLineF(-5, 5, 3, 10)});
    const QList<std::pair<QPointF, QString>> expected{
        {QPointF(-8, 12), QStringLiteral("AB")},
        {QPointF(84, 32), QStringLiteral("EF")},
        {QPointF(10, 22), QStringLiteral("Eingänge")},
    };
    QCOMPARE(device.texts().size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(device.texts()[i].baseline, expected[i].first);
        QCOMPARE(device.texts()[i].text, expected[i].second);
    }
}

void InfoWndTest::unitIsTheLetterFOfAFifteenPixelCell() {
    const InfoWnd& window = open(std::make_unique<SizedContent>(10, 3), 60, 20);
    const QFontMetrics metrics(statusWindowFont());
    QVERIFY(QFontInfo(statusWindowFont()).fixedPitch());
    QCOMPARE(window.unit(), QSize(metrics.horizontalAdvance(QLatin1Char('F')), metrics.height()));
    QVERIFY2(window.unit().height() <= 15 && window.unit().height() >= 13,
             qPrintable(QString::number(metrics.height())));
    // Measured once, through a canvas of that unit.
    QCOMPARE(window.contentSize(), QSize(10 * window.unit().width(), 3 * window.unit().height()));
}

Q_DECLARE_METATYPE(sps::ScrollRequest)

// The rules on one axis, with a line of 10 and a page of 100 pixels, including
// requests that the scroll bars never send (they keep their thumb in range).
void InfoWndTest::scrollingRules_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("content");
    QTest::addColumn<int>("client");
    QTest::addColumn<sps::ScrollRequest>("request");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<int>("after");
    using R = ScrollRequest;
    QTest::newRow("line down") << 0 << 1000 << 300 << R::LineDown << 0 << -10;
    QTest::newRow("page up past the top: 0") << -50 << 1000 << 300 << R::PageUp << 0 << 0;
    QTest::newRow("page down past the end: the end") << -650 << 1000 << 300 << R::PageDown << 0 << -700;
    QTest::newRow("thumb beyond the end") << 0 << 1000 << 300 << R::Thumb << 900 << -700;
    QTest::newRow("thumb before the start") << -50 << 1000 << 300 << R::Thumb << -20 << 0;
    QTest::newRow("bottom") << -50 << 1000 << 300 << R::Bottom << 0 << -700;
    QTest::newRow("content as large as the client") << 0 << 300 << 300 << R::PageDown << 0 << 0;
    QTest::newRow("content that fits: bottom") << 0 << 200 << 300 << R::Bottom << 0 << 0;
    QTest::newRow("bottom near INT_MAX") << 0 << 2'147'483'000 << 300 << R::Bottom << 0 << -2'147'482'700;
}

void InfoWndTest::scrollingRules() {
    QFETCH(int, offset);
    QFETCH(int, content);
    QFETCH(int, client);
    QFETCH(sps::ScrollRequest, request);
    QFETCH(int, thumb);
    QTEST(scrolledOffset({offset, content, client, 10, 100}, request, thumb), "after");
}

void InfoWndTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("after"); // in characters and lines, from (-40, -30)
    QTest::newRow("left") << int(Qt::Key_Left) << QPoint(-39, -30);
    QTest::newRow("right") << int(Qt::Key_Right) << QPoint(-41, -30);
    QTest::newRow("up") << int(Qt::Key_Up) << QPoint(-40, -29);
    QTest::newRow("down") << int(Qt::Key_Down) << QPoint(-40, -31);
    QTest::newRow("page up") << int(Qt::Key_PageUp) << QPoint(-40, -20);
    QTest::newRow("page down") << int(Qt::Key_PageDown) << QPoint(-40, -40);
    QTest::newRow("home") << int(Qt::Key_Home) << QPoint(-40, 0);
    QTest::newRow("end: the content's end at the bottom") << int(Qt::Key_End) << QPoint(-40, -80);
    QTest::newRow("a letter") << int(Qt::Key_A) << QPoint(-40, -30);
    QTest::newRow("tab") << int(Qt::Key_Tab) << QPoint(-40, -30);
}

// A content of 100 characters by 100 lines in a client area of 40 by 20:
// each scrolling key sends its request through the scroll bar, every key is
// consumed.
void InfoWndTest::keys() {
    QFETCH(int, key);
    open(std::make_unique<SizedContent>(100, 100), 40, 20);
    window_->horizontalScrollBar()->setValue(40 * window_->unit().width());
    window_->verticalScrollBar()->setValue(30 * window_->unit().height());
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &event);
    QVERIFY(event.isAccepted());
    QTEST(offsetInUnits(), "after");
}

void InfoWndTest::thumbAndWheel() {
    open(std::make_unique<SizedContent>(100, 100), 40, 20);
    QScrollBar* vertical = window_->verticalScrollBar();
    vertical->setSliderDown(true); // dragging: the thumb tracks
    vertical->setSliderPosition(33 * window_->unit().height());
    vertical->setSliderDown(false);
    QCOMPARE(offsetInUnits(), QPoint(0, -33));
    window_->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(offsetInUnits(), QPoint(-40, -33));

    wheel(QPoint(0, 120)); // away from the user: up
    QCOMPARE(offsetInUnits(), QPoint(-40, -30));
    wheel(QPoint(0, -60)); // half a notch of a fine wheel: not yet
    QCOMPARE(offsetInUnits(), QPoint(-40, -30));
    wheel(QPoint(0, -60));
    QCOMPARE(offsetInUnits(), QPoint(-40, -33));
    wheel(QPoint(-240, 0)); // tilted right: two notches
    QCOMPARE(offsetInUnits(), QPoint(-46, -33));
}

void InfoWndTest::sizeChangeResetsTheOffsetsAndRanges() {
    open(std::make_unique<SizedContent>(100, 100), 40, 20);
    window_->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    window_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    setClient(50, 30);
    QCOMPARE(offsetInUnits(), QPoint(0, 0));
    QCOMPARE(window_->horizontalScrollBar()->maximum(), 50 * window_->unit().width());
    QCOMPARE(window_->verticalScrollBar()->maximum(), 70 * window_->unit().height());

    // A content smaller than the client area scrolls in neither direction.
    setClient(120, 120);
    for (QScrollBar* bar : {window_->horizontalScrollBar(), window_->verticalScrollBar()}) {
        QCOMPARE(bar->maximum(), 0);
        for (const auto action : {QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderPageStepAdd,
                                  QAbstractSlider::SliderToMaximum})
            bar->triggerAction(action);
    }
    QCOMPARE(window_->scrollOffset(), QPoint(0, 0));
}

// A content that raises CPUException while it draws (a value it cannot read)
// leaves a drawing that says why, and the paint returns.
void InfoWndTest::failingContentDoesNotEndThePaint() {
    const InfoWnd& window = open(std::make_unique<SizedContent>(40, 10, true), 40, 20);
    RecordingPaintDevice device(window.viewport()->width(), window.viewport()->height());
    window.viewport()->render(&device);
    QCOMPARE(device.texts().size(), 2);
    QCOMPARE(device.texts()[0].text, QStringLiteral("Zeile 0"));
    QCOMPARE(device.texts()[1].text, QStringLiteral("Wert nicht lesbar"));
}

int runInfoWndTests(int argc, char** argv) {
    InfoWndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_info_wnd.moc"
