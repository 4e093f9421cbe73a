#include <cmath>

#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include "base/sim_clock.h"
#include "gui/main_window.h"
#include "gui/status_window_kinds.h"
#include "gui/trend_window.h"
#include "gui_fixtures.h"
#include "recording_paint_device.h"
#include "shell/simulator.h"

using namespace sps;
using namespace sps::guitest;

namespace {

// What the window draws now, as texts with their baselines.
QList<PaintedText> drawnTexts(TrendWindow& window) {
    RecordingPaintDevice device(window.viewport()->width(), window.viewport()->height());
    window.viewport()->render(&device);
    return device.texts();
}

QString joined(const QList<PaintedText>& texts) {
    QStringList all;
    for (const PaintedText& text : texts) all << text.text;
    return all.join(' ');
}

} // namespace

// The "Verlauf" window of the real main window, with COUNTING_PROGRAM
// recorded on the manual clock: a step every 10 ms from 10 ms on, MW2 the
// step's number and M3.0 its lowest bit.
class TrendWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void lanesTileTheWindow_data();
    void lanesTileTheWindow();
    void timeAxisFollowsScrollsAndZooms_data();
    void timeAxisFollowsScrollsAndZooms();
    void zoomKeepsTheTimeUnderTheMouse();
    void followsTheRunningSimulation();
    void cursorShowsTheValuesAtItsTime_data();
    void cursorShowsTheValuesAtItsTime();
    void doubleClickGoesBackToTheScanAtThatTime();
    void emptyWindowSaysHowToChooseOperands();
    void contextMenuExports_data();
    void contextMenuExports();

private:
    // Records `operands`, runs `ms` of simulated time and opens the window
    // with the simulation stopped.
    TrendWindow* open(const QStringList& operands, std::uint32_t ms);
    void type(TrendWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(key), modifiers);
    }

    ProgramFiles files_;
    RecordingDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> main_;
};

void TrendWindowTest::init() {
    simClock().switchToManual();
    main_ = makeMainWindow(dialogs_);
    main_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
}

void TrendWindowTest::cleanup() {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    simClock().switchToAutomatic();
    while (simClock().canFaster()) simClock().faster();
}

TrendWindow* TrendWindowTest::open(const QStringList& operands, std::uint32_t ms) {
    for (const QString& operand : operands) main_->recordOperand(operand.toStdString(), std::nullopt);
    main_->runTime(ms);
    main_->runCommand(Command::Stop);
    main_->runCommand(Command::Trend);
    auto* window = qobject_cast<TrendWindow*>(main_->statusWindows().openWindow(StatusWindow::Trend));
    if (window == nullptr) return nullptr;
    window->resize(900, 420);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) return nullptr;
    return window;
}

// The lanes stack without gaps in the recorder's order, bits lower than
// numbers, each with its name inside it; scrolled down, the last one ends
// at the bottom of the traces.
void TrendWindowTest::lanesTileTheWindow_data() {
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<bool>("scrolledDown");
    QTest::newRow("one bit") << QStringList{"M3.0"} << false;
    QTest::newRow("bit, word, byte, bit") << QStringList{"M3.0", "MW2", "MB3", "E0.1"} << false;
    QTest::newRow("more than fit, scrolled down")
        << QStringList{"MW2", "M3.0", "M3.1", "M3.2", "M3.3", "M3.4", "MW0", "MB2", "MB3", "M3.5", "M3.6", "M3.7"}
        << true;
}

void TrendWindowTest::lanesTileTheWindow() {
    QFETCH(QStringList, operands);
    QFETCH(bool, scrolledDown);
    TrendWindow* window = open(operands, 1000);
    QVERIFY(window);
    QVERIFY(dialogs_->errors.isEmpty());
    if (scrolledDown) window->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    const TrendLayout layout = window->layout();
    QCOMPARE(layout.lanes.size(), std::size_t(operands.size()));
    QVERIFY(layout.names.right() < layout.traces.left() && layout.traces.bottom() < layout.axis.top());

    const QList<PaintedText> texts = drawnTexts(*window);
    int bitHeight = 0;
    for (qsizetype i = 0; i < operands.size(); ++i) {
        const QRect lane = layout.lanes[std::size_t(i)];
        if (i > 0) QCOMPARE(lane.top(), layout.lanes[std::size_t(i - 1)].bottom() + 1);
        const bool bit = operands[i].contains('.');
        if (bit && bitHeight == 0) bitHeight = lane.height();
        QVERIFY(bit ? lane.height() == bitHeight : lane.height() > bitHeight);
        if (!lane.intersects(layout.traces)) continue;
        const auto name =
            std::find_if(texts.begin(), texts.end(), [&](const PaintedText& text) { return text.text == operands[i]; });
        QVERIFY2(name != texts.end(), qPrintable(operands[i]));
        QVERIFY(lane.contains(name->baseline.toPoint()) && name->baseline.x() < layout.traces.left());
    }
    const int top = layout.lanes.front().top();
    QCOMPARE(top, scrolledDown ? layout.traces.bottom() + 1 - (layout.lanes.back().bottom() + 1 - top) : 0);
    if (scrolledDown) QCOMPARE(layout.lanes.back().bottom(), layout.traces.bottom());
}

// Where the right edge stands after the keys: `back` widths of the traces
// before the newest step, which is drawn in the last column, or at the start
// of the data (the first step at
// 10 ms). With the automatic clock at divisor 2 both "Schneller" and
// "Langsamer" are possible, but + and - zoom the window instead.
void TrendWindowTest::timeAxisFollowsScrollsAndZooms_data() {
    QTest::addColumn<std::uint32_t>("ms");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("following");
    QTest::addColumn<double>("back"); // NaN: the data starts at the left edge
    const double start = std::nan("");
    const int def = TrendWindow::DEFAULT_ZOOM;
    using K = QList<int>;
    QTest::newRow("newest at the right edge") << 30000u << false << K{} << def << true << 0.0;
    QTest::newRow("shorter than the window: from the left edge") << 1000u << false << K{} << def << true << start;
    QTest::newRow("left") << 30000u << false << K{Qt::Key_Left} << def << false << 0.1;
    QTest::newRow("left, left, right") << 30000u << false << K{Qt::Key_Left, Qt::Key_Left, Qt::Key_Right} << def
                                       << false << 0.1;
    QTest::newRow("right stops at the newest step") << 30000u << false << K{Qt::Key_Right} << def << true << 0.0;
    QTest::newRow("home") << 30000u << false << K{Qt::Key_Home} << def << false << start;
    QTest::newRow("home, end follows again") << 30000u << false << K{Qt::Key_Home, Qt::Key_End} << def << true << 0.0;
    QTest::newRow("plus zooms in at the newest step") << 30000u << false << K{Qt::Key_Plus} << def - 1 << true << 0.0;
    QTest::newRow("minus") << 30000u << false << K{Qt::Key_Minus} << def + 1 << true << 0.0;
    QTest::newRow("minus, wider than the data: from the left edge")
        << 30000u << false << K{Qt::Key_Minus, Qt::Key_Minus} << def + 2 << true << start;
    QTest::newRow("running: left does not scroll")
        << 30000u << true << K{Qt::Key_Left, Qt::Key_Home} << def << true << 0.0;
    QTest::newRow("running: plus zooms, following") << 30000u << true << K{Qt::Key_Plus} << def - 1 << true << 0.0;
}

void TrendWindowTest::timeAxisFollowsScrollsAndZooms() {
    QFETCH(std::uint32_t, ms);
    QFETCH(bool, running);
    QFETCH(QList<int>, keys);
    QFETCH(int, zoom);
    QFETCH(bool, following);
    QFETCH(double, back);
    TrendWindow* window = open({"MW2"}, ms);
    QVERIFY(window);
    simClock().switchToAutomatic();
    simClock().slower();
    main_->updateActions();
    if (running) main_->runCommand(Command::Continue);
    for (const int key : keys) type(window, key);
    if (running) main_->runCommand(Command::Stop);

    QCOMPARE(simClock().clockDivisor(), 2);
    QCOMPARE(window->zoom(), zoom);
    QCOMPARE(window->following(), following);
    const TrendLayout layout = window->layout();
    QCOMPARE(layout.msPerPixel, std::ldexp(1.0, zoom));
    const double span = layout.traces.width() * layout.msPerPixel;
    const auto newest = static_cast<double>(main_->simulator().recorder().latest()->ms);
    if (std::isnan(back)) {
        QCOMPARE(layout.xOf(10), double(layout.traces.left()));
    } else {
        QCOMPARE(layout.rightMs, newest + layout.msPerPixel - back * span);
        if (back == 0) QCOMPARE(layout.xOf(newest), double(layout.traces.right()));
    }
}

// Ctrl and the wheel, and + and - with the mouse over the traces, zoom about
// the time under the mouse.
void TrendWindowTest::zoomKeepsTheTimeUnderTheMouse() {
    TrendWindow* window = open({"MW2"}, 60000);
    QVERIFY(window);
    type(window, Qt::Key_Home);
    for (int i = 0; i < 10; ++i) type(window, Qt::Key_Right); // one width on
    const QPoint at(window->layout().traces.left() + 300, 20);
    QTest::mouseMove(window->viewport(), at);
    const double under = window->layout().msAt(at.x());
    QWheelEvent in(at, window->viewport()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->viewport(), &in);
    QCOMPARE(window->zoom(), TrendWindow::DEFAULT_ZOOM - 1);
    QCOMPARE(window->layout().msAt(at.x()), under);
    type(window, Qt::Key_Minus);
    type(window, Qt::Key_Minus);
    QCOMPARE(window->zoom(), TrendWindow::DEFAULT_ZOOM + 1);
    QCOMPARE(window->layout().msAt(at.x()), under);
    QVERIFY(!window->following());
}

// On the automatic clock, the running simulation's newest step stays in the
// last column, and the window draws itself anew as the steps come.
void TrendWindowTest::followsTheRunningSimulation() {
    TrendWindow* window = open({"MW2"}, 1000);
    QVERIFY(window);
    for (int i = 0; i < TrendWindow::DEFAULT_ZOOM; ++i) type(window, Qt::Key_Plus); // 1 ms a pixel
    type(window, Qt::Key_Home);
    QVERIFY(!window->following());
    struct PaintCounter final : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++count;
            return false;
        }
    } paints;
    window->viewport()->installEventFilter(&paints);
    simClock().switchToAutomatic();
    const Recorder& recorder = main_->simulator().recorder();
    const std::uint64_t before = recorder.latest()->cycle;
    main_->runCommand(Command::Continue);
    QTRY_VERIFY_WITH_TIMEOUT(paints.count >= 3 && recorder.latest()->cycle > before + 30, 5000);
    main_->runCommand(Command::Stop);
    window->viewport()->removeEventFilter(&paints);
    QVERIFY(window->following());
    const TrendLayout layout = window->layout();
    QCOMPARE(layout.xOf(static_cast<double>(recorder.latest()->ms)), double(layout.traces.right()));
}

// At 1 ms a pixel, from the start of the data: the values beside the names
// are those at the time under the mouse, and the axis shows that time to the
// millisecond.
void TrendWindowTest::cursorShowsTheValuesAtItsTime_data() {
    QTest::addColumn<int>("ms"); // -1: the mouse is not over the traces
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("bit");
    QTest::newRow("first step") << 10 << "1"
                                << "1";
    QTest::newRow("just before the second") << 19 << "1"
                                            << "1";
    QTest::newRow("second step") << 20 << "2"
                                 << "0";
    QTest::newRow("later") << 335 << "33"
                           << "1";
}

void TrendWindowTest::cursorShowsTheValuesAtItsTime() {
    QFETCH(int, ms);
    QFETCH(QString, word);
    QFETCH(QString, bit);
    TrendWindow* window = open({"MW2", "M3.0"}, 30000);
    QVERIFY(window);
    for (int i = 0; i < TrendWindow::DEFAULT_ZOOM; ++i) type(window, Qt::Key_Plus);
    type(window, Qt::Key_Home);
    const TrendLayout layout = window->layout();
    QCOMPARE(layout.msPerPixel, 1.0);
    QTest::mouseMove(window->viewport(), QPoint(static_cast<int>(layout.xOf(ms)), layout.traces.center().y()));
    QCOMPARE(window->cursorMs(), std::optional<std::uint64_t>(ms));
    QCOMPARE(window->readout(0), word);
    QCOMPARE(window->readout(1), bit);
    const QString drawn = joined(drawnTexts(*window));
    QVERIFY2(drawn.contains(QStringLiteral("0,%1 s").arg(ms, 3, 10, QLatin1Char('0'))), qPrintable(drawn));

    // Away from the traces: the values at the right edge.
    QTest::mouseMove(window->viewport(), QPoint(layout.names.center().x(), 20));
    QVERIFY(!window->cursorMs());
    const auto right = static_cast<int>(layout.msAt(layout.traces.right()));
    QCOMPARE(window->readout(0), QString::number(right / 10));
}

// A double click moves the stopped simulation to the scan at that time; a
// dashed line marks it, and the values there are what the scan computed.
void TrendWindowTest::doubleClickGoesBackToTheScanAtThatTime() {
    TrendWindow* window = open({"MW2"}, 3000);
    QVERIFY(window);
    for (int i = 0; i < TrendWindow::DEFAULT_ZOOM; ++i) type(window, Qt::Key_Plus);
    type(window, Qt::Key_Home);
    const TrendLayout layout = window->layout();
    const auto x = static_cast<double>(std::lround(layout.xOf(120)));
    // Full-height lines at the scan's time, with the mouse away from the traces.
    const auto linesAtTheScan = [&] {
        QTest::mouseMove(window->viewport(), QPoint(layout.names.center().x(), 20));
        RecordingPaintDevice device(window->viewport()->width(), window->viewport()->height());
        window->viewport()->render(&device);
        int count = 0;
        for (const QLineF& line : device.lines())
            count += line.x1() == x && line.x2() == x && line.y1() == layout.traces.top() &&
                     line.y2() == layout.traces.bottom();
        return count;
    };
    const int before = linesAtTheScan();
    QTest::mouseDClick(window->viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(static_cast<int>(layout.xOf(125)), layout.traces.center().y()));
    Simulator& simulator = main_->simulator();
    QCOMPARE(simulator.cycle(), std::uint64_t(12)); // the step at 120 ms
    QCOMPARE(simulator.cpu().areaM.readWord(2), 12);
    QCOMPARE(main_->windowTitle(), QStringLiteral("SPS-Simulator – Zyklus 12 (zurückgegangen um 288)"));
    QCOMPARE(linesAtTheScan(), before + 1);
    QCOMPARE(window->readout(0), QStringLiteral("12")); // the value of the scan shown
    QVERIFY(dialogs_->errors.isEmpty());
}

void TrendWindowTest::emptyWindowSaysHowToChooseOperands() {
    TrendWindow* window = open({}, 100);
    QVERIFY(window);
    const QString drawn = joined(drawnTexts(*window));
    for (const char* word : {"Beobachten", "Aufzeichnen", "--record"})
        QVERIFY2(drawn.contains(QLatin1String(word)), qPrintable(drawn));
}

// The context menu's exports write the file chosen in the dialog; a file
// that cannot be written is reported with the core's text.
void TrendWindowTest::contextMenuExports_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
    QTest::addColumn<QString>("begins");
    QTest::newRow("VCD") << 0 << "a.vcd"
                         << "$comment\n  SPS-Simulator, Aufzeichnung von 2 Operanden";
    QTest::newRow("CSV") << 1 << "a.csv"
                         << "zeit_ms,zyklus,MW2,M3.0\n10,1,1,1\n";
    QTest::newRow("cancelled") << 0 << ""
                               << "";
    QTest::newRow("not writable") << 1 << "missing/a.csv"
                                  << "";
}

void TrendWindowTest::contextMenuExports() {
    QFETCH(int, item);
    QFETCH(QString, file);
    QFETCH(QString, begins);
    TrendWindow* window = open({"MW2", "M3.0"}, 200);
    QVERIFY(window);
    dialogs_->nextSaveChoice = file.isEmpty() ? QString() : files_.folder() + "/" + file;
    emit window->contextMenu()->aboutToShow();
    QAction* action = window->contextMenu()->actions()[item];
    QVERIFY(action->isEnabled());
    action->trigger();
    QCOMPARE(dialogs_->saveTitles.size(), 1);
    QFile written(dialogs_->nextSaveChoice);
    if (begins.isEmpty()) {
        QVERIFY(file.isEmpty() || !written.exists());
        QCOMPARE(dialogs_->errors, file.isEmpty() ? QStringList{}
                                                  : QStringList{"Die Datei '" + dialogs_->nextSaveChoice +
                                                                "' konnte nicht geschrieben werden"});
        return;
    }
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(written.readAll());
    QVERIFY2(text.startsWith(begins), qPrintable(text.left(80)));
    QVERIFY(dialogs_->errors.isEmpty());
}

int runTrendWindowTests(int argc, char** argv) {
    TrendWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_trend_window.moc"
