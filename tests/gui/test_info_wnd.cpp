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

Q_DECLARE_METATYPE(Qt::Orientation)

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

// Steps of a scroll test: a scroll bar action, or the thumb dragged to `thumb`.
struct Step {
    QAbstractSlider::SliderAction action;
    int thumb = 0;
};

constexpr QAbstractSlider::SliderAction LINE_DOWN = QAbstractSlider::SliderSingleStepAdd;
constexpr QAbstractSlider::SliderAction LINE_UP = QAbstractSlider::SliderSingleStepSub;
constexpr QAbstractSlider::SliderAction PAGE_DOWN = QAbstractSlider::SliderPageStepAdd;
constexpr QAbstractSlider::SliderAction PAGE_UP = QAbstractSlider::SliderPageStepSub;
constexpr QAbstractSlider::SliderAction TOP = QAbstractSlider::SliderToMinimum;
constexpr QAbstractSlider::SliderAction BOTTOM = QAbstractSlider::SliderToMaximum;
constexpr QAbstractSlider::SliderAction THUMB = QAbstractSlider::SliderMove;

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

// The status window frame with contents of known sizes, and its canvas.
class InfoWndTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { window_.reset(); }

    void canvasHandsThePainterWhatIsVisible();
    void unitIsTheLetterFOfAFifteenPixelCell();
    void scrollingRules_data();
    void scrollingRules();
    void scrolling_data();
    void scrolling();
    void contentThatFitsDoesNotScroll();
    void sizeChangeResetsTheOffsets();
    void keys_data();
    void keys();
    void wheelScrollsThreeLinesPerNotch();
    void failingContentDoesNotEndThePaint();

private:
    // A shown window on `content` whose client area is `columns` x `lines`.
    InfoWnd& open(std::unique_ptr<InfoDraw> content, int columns, int lines);
    void setClient(int columns, int lines);
    QScrollBar* bar(Qt::Orientation orientation) {
        return orientation == Qt::Horizontal ? window_->horizontalScrollBar() : window_->verticalScrollBar();
    }
    void run(Qt::Orientation orientation, const QList<Step>& steps);
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

void InfoWndTest::run(Qt::Orientation orientation, const QList<Step>& steps) {
    for (const Step& step : steps) {
        if (step.action == THUMB) {
            bar(orientation)->setSliderDown(true); // dragging: the thumb tracks
            bar(orientation)->setSliderPosition(step.thumb);
            bar(orientation)->setSliderDown(false);
        } else {
            bar(orientation)->triggerAction(step.action);
        }
    }
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
    InfoWnd& window = open(std::make_unique<SizedContent>(10, 3), 60, 20);
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
    QTest::newRow("line up") << -50 << 1000 << 300 << R::LineUp << 0 << -40;
    QTest::newRow("page up past the top: 0") << -50 << 1000 << 300 << R::PageUp << 0 << 0;
    QTest::newRow("page down past the end: the end") << -650 << 1000 << 300 << R::PageDown << 0 << -700;
    QTest::newRow("thumb") << -50 << 1000 << 300 << R::Thumb << 420 << -420;
    QTest::newRow("thumb beyond the end") << 0 << 1000 << 300 << R::Thumb << 900 << -700;
    QTest::newRow("thumb before the start") << -50 << 1000 << 300 << R::Thumb << -20 << 0;
    QTest::newRow("top") << -650 << 1000 << 300 << R::Top << 0 << 0;
    QTest::newRow("bottom") << -50 << 1000 << 300 << R::Bottom << 0 << -700;
    QTest::newRow("content as large as the client") << 0 << 300 << 300 << R::PageDown << 0 << 0;
    QTest::newRow("content that fits: bottom") << 0 << 200 << 300 << R::Bottom << 0 << 0;
    QTest::newRow("content that fits: line up") << 0 << 200 << 300 << R::LineUp << 0 << 0;
    QTest::newRow("near INT_MAX") << -2'000'000'000 << 2'147'483'000 << 300 << R::PageDown << 0 << -2'000'000'100;
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

// A content of 100 characters by 100 lines in a client area of 40 by 20.
void InfoWndTest::scrolling_data() {
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("lines"); // the offset expected, in lines or characters
    const Qt::Orientation v = Qt::Vertical, h = Qt::Horizontal;
    QTest::newRow("line down") << v << QList<Step>{{LINE_DOWN}} << -1;
    QTest::newRow("line up at the top: never positive") << v << QList<Step>{{LINE_UP}} << 0;
    QTest::newRow("page down: ten lines") << v << QList<Step>{{PAGE_DOWN}} << -10;
    QTest::newRow("page up from line 5: to the top") << v << QList<Step>{{THUMB, 75}, {PAGE_UP}} << 0;
    QTest::newRow("bottom: the end at the client's end") << v << QList<Step>{{BOTTOM}} << -80;
    QTest::newRow("line down at the bottom") << v << QList<Step>{{BOTTOM}, {LINE_DOWN}} << -80;
    QTest::newRow("page down near the bottom") << v << QList<Step>{{THUMB, 75 * 15}, {PAGE_DOWN}} << -80;
    QTest::newRow("top") << v << QList<Step>{{PAGE_DOWN}, {PAGE_DOWN}, {TOP}} << 0;
    QTest::newRow("thumb") << v << QList<Step>{{THUMB, 33 * 15}} << -33;
    QTest::newRow("character right") << h << QList<Step>{{LINE_DOWN}} << -1;
    QTest::newRow("page right: forty characters") << h << QList<Step>{{PAGE_DOWN}} << -40;
    QTest::newRow("second page right stops at the end") << h << QList<Step>{{PAGE_DOWN}, {PAGE_DOWN}} << -60;
    QTest::newRow("character left at the left edge") << h << QList<Step>{{LINE_UP}} << 0;
}

void InfoWndTest::scrolling() {
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QList<Step>, steps);
    QFETCH(int, lines);
    InfoWnd& window = open(std::make_unique<SizedContent>(100, 100), 40, 20);
    run(orientation, steps);
    const QSize unit = window.unit();
    const QPoint expected =
        orientation == Qt::Vertical ? QPoint(0, lines * unit.height()) : QPoint(lines * unit.width(), 0);
    QCOMPARE(window.scrollOffset(), expected);
    QCOMPARE(bar(orientation)->value(), -(orientation == Qt::Vertical ? expected.y() : expected.x()));
}

void InfoWndTest::contentThatFitsDoesNotScroll() {
    InfoWnd& window = open(std::make_unique<SizedContent>(30, 5), 40, 20);
    for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QCOMPARE(bar(orientation)->maximum(), 0);
        run(orientation, {{LINE_DOWN}, {PAGE_DOWN}, {BOTTOM}, {THUMB, 3}, {LINE_UP}});
        QCOMPARE(window.scrollOffset(), QPoint(0, 0));
    }
}

void InfoWndTest::sizeChangeResetsTheOffsets() {
    InfoWnd& window = open(std::make_unique<SizedContent>(100, 100), 40, 20);
    run(Qt::Vertical, {{PAGE_DOWN}});
    run(Qt::Horizontal, {{PAGE_DOWN}});
    QVERIFY(window.scrollOffset().x() < 0 && window.scrollOffset().y() < 0);
    setClient(50, 30);
    QCOMPARE(window.scrollOffset(), QPoint(0, 0));
    QCOMPARE(bar(Qt::Horizontal)->maximum(), 50 * window.unit().width());
    QCOMPARE(bar(Qt::Vertical)->maximum(), 70 * window.unit().height());
    run(Qt::Vertical, {{BOTTOM}});
    QCOMPARE(window.scrollOffset().y(), -70 * window.unit().height());
}

void InfoWndTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("moved"); // in characters and lines, from (-40, -30)
    QTest::newRow("left") << int(Qt::Key_Left) << QPoint(1, 0);
    QTest::newRow("right") << int(Qt::Key_Right) << QPoint(-1, 0);
    QTest::newRow("up") << int(Qt::Key_Up) << QPoint(0, 1);
    QTest::newRow("down") << int(Qt::Key_Down) << QPoint(0, -1);
    QTest::newRow("page up") << int(Qt::Key_PageUp) << QPoint(0, 10);
    QTest::newRow("page down") << int(Qt::Key_PageDown) << QPoint(0, -10);
    QTest::newRow("home") << int(Qt::Key_Home) << QPoint(0, 30);
    QTest::newRow("end") << int(Qt::Key_End) << QPoint(0, -50);
    QTest::newRow("a letter") << int(Qt::Key_A) << QPoint(0, 0);
    QTest::newRow("tab") << int(Qt::Key_Tab) << QPoint(0, 0);
    QTest::newRow("return") << int(Qt::Key_Return) << QPoint(0, 0);
}

// Every key is consumed; the scrolling keys send their scroll request.
void InfoWndTest::keys() {
    QFETCH(int, key);
    QFETCH(QPoint, moved);
    InfoWnd& window = open(std::make_unique<SizedContent>(100, 100), 40, 20);
    run(Qt::Horizontal, {{PAGE_DOWN}});
    run(Qt::Vertical, {{PAGE_DOWN}, {PAGE_DOWN}, {PAGE_DOWN}});
    const QPoint before = window.scrollOffset();
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
    QVERIFY(event.isAccepted());
    const QSize unit = window.unit();
    QCOMPARE(window.scrollOffset() - before, QPoint(moved.x() * unit.width(), moved.y() * unit.height()));
}

void InfoWndTest::wheelScrollsThreeLinesPerNotch() {
    InfoWnd& window = open(std::make_unique<SizedContent>(100, 100), 40, 20);
    const QSize unit = window.unit();
    wheel(QPoint(0, -120)); // towards the user: down
    QCOMPARE(window.scrollOffset(), QPoint(0, -3 * unit.height()));
    wheel(QPoint(0, 60)); // half a notch of a fine wheel: not yet
    QCOMPARE(window.scrollOffset(), QPoint(0, -3 * unit.height()));
    wheel(QPoint(0, 60));
    QCOMPARE(window.scrollOffset(), QPoint(0, 0));
    wheel(QPoint(-240, 0)); // tilted right: two notches
    QCOMPARE(window.scrollOffset(), QPoint(-6 * unit.width(), 0));
}

// A content that raises CPUException while it draws (a value it cannot read)
// leaves a drawing that says why, and the paint returns.
void InfoWndTest::failingContentDoesNotEndThePaint() {
    InfoWnd& window = open(std::make_unique<SizedContent>(40, 10, true), 40, 20);
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
