#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "gui/main_window.h"
#include "gui/station_widget.h"
#include "gui/status_window_kinds.h"
#include "gui/trend_window.h"
#include "gui/watch_model.h"
#include "gui/watch_window.h"
#include "gui_fixtures.h"
#include "recording_paint_device.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "station/target.h"

using namespace sps;
using namespace sps::guitest;

Q_DECLARE_METATYPE(sps::StatusWindow)

namespace {

// What a test does to a status window while one of its menus or editors is open.
enum class Open { ContentMenu, ScrollBarMenu, CellEditor };
enum class Then { CloseTheWindow, LoadAProgram };

} // namespace

Q_DECLARE_METATYPE(Open)
Q_DECLARE_METATYPE(Then)

namespace {

// Its ladder cannot be drawn: the lower branch is longer than the upper one,
// whose wire would have to pass through the coil.
const char* const OVERLAPPING_LADDER = "ORGANIZATION_BLOCK main:OB1\n"
                                       "BEGIN\n"
                                       "NETWORK 1\n"
                                       "LD E0.0\n"
                                       "= A0.0\n"
                                       "LD E0.1\n"
                                       "U E0.2\n"
                                       "OLD\n"
                                       "END_ORGANIZATION_BLOCK\n";

// The texts a window's client area draws now.
QStringList drawnTexts(InfoWnd& window) {
    RecordingPaintDevice device(window.viewport()->width(), window.viewport()->height());
    window.viewport()->render(&device);
    QStringList texts;
    for (const PaintedText& text : device.texts()) texts << text.text;
    return texts;
}

} // namespace

// The status windows of the real main window, opened by their keys, on the
// offscreen platform.
class StatusWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void oneWindowPerKindGreyedUntilClosed_data();
    void oneWindowPerKindGreyedUntilClosed();
    void loadThatChoseAFileClosesAll();
    void secondTraceReplacesTheFirst();
    void tracedLabelNotFoundIsTheOnlyLine();
    void layoutErrorShowsTheBoxAndNoWindow();
    void cpuWindowRefreshesChangedMemory();
    void keysOfTheCpuWindow();
    void closedWhileAMenuOrEditorIsOpen_data();
    void closedWhileAMenuOrEditorIsOpen();

private:
    // The window's content view (the trace window's text view).
    InfoWnd* window(StatusWindow kind) {
        QWidget* window = main_->statusWindows().openWindow(kind);
        if (auto* info = qobject_cast<InfoWnd*>(window)) return info;
        return window != nullptr ? window->findChild<InfoWnd*>() : nullptr;
    }
    QWidget* anyWindow(StatusWindow kind) { return main_->statusWindows().openWindow(kind); }
    // Status windows on the screen with that title.
    int shown(const QString& title) const;
    void press(int key, QWidget* target = nullptr) {
        QTest::keyClick(target ? target : static_cast<QWidget*>(&main_->station()), static_cast<Qt::Key>(key));
    }
    void load(const char* program) { main_->loadProgram(files_.write("program.awl", program)); }
    void stop() { press(Qt::Key_F10); }
    int mw2() { return main_->simulator().cpu().areaM.readWord(2); }

    ProgramFiles files_;
    RecordingDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> main_;
};

void StatusWindowsTest::init() {
    simClock().switchToManual();
    main_ = makeMainWindow(dialogs_);
    QVERIFY(showActive(*main_));
}

void StatusWindowsTest::cleanup() {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    simClock().switchToAutomatic();
}

int StatusWindowsTest::shown(const QString& title) const {
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget != main_.get() && widget->isVisible() && widget->windowTitle() == title) ++count;
    return count;
}

void StatusWindowsTest::oneWindowPerKindGreyedUntilClosed_data() {
    QTest::addColumn<sps::StatusWindow>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("title");
    QTest::newRow("Debugansicht") << StatusWindow::Ladder << int(Qt::Key_F2) << "KOP";
    QTest::newRow("ASI-Status") << StatusWindow::Asi << int(Qt::Key_F1) << "ASI";
    QTest::newRow("CPU-Status") << StatusWindow::Cpu << int(Qt::Key_F4) << "CPU";
    QTest::newRow("Beobachten") << StatusWindow::Watch << int(Qt::Key_F11) << "Beobachten";
    QTest::newRow("Verlauf, from the menu") << StatusWindow::Trend << 0 << "Verlauf";
}

void StatusWindowsTest::oneWindowPerKindGreyedUntilClosed() {
    QFETCH(sps::StatusWindow, kind);
    QFETCH(int, key);
    QFETCH(QString, title);
    load(COUNTING_PROGRAM);
    QAction* item = main_->action(statusWindowKind(kind).command);
    const auto choose = [&](QWidget* in = nullptr) {
        if (key != 0)
            press(key, in);
        else
            item->trigger();
    };
    choose();
    QPointer<QWidget> first = anyWindow(kind);
    QVERIFY(first);
    QCOMPARE(shown(title), 1);
    QVERIFY(first->isWindow() && first->parent() == nullptr);
    QVERIFY(!item->isEnabled());
    choose();
    choose(first);
    QCOMPARE(shown(title), 1);

    first->close();
    QVERIFY(!main_->statusWindows().isOpen(kind) && item->isEnabled());
    QCOMPARE(shown(title), 0);
    choose();
    QCOMPARE(shown(title), 1);
    QVERIFY(anyWindow(kind) != nullptr && anyWindow(kind) != first.data());
    QVERIFY(dialogs_->errors.isEmpty());
}

void StatusWindowsTest::loadThatChoseAFileClosesAll() {
    load(COUNTING_PROGRAM);
    for (const StatusWindowKind& kind : statusWindowKinds()) main_->runCommand(kind.command);
    for (const StatusWindowKind& kind : statusWindowKinds()) QVERIFY(anyWindow(kind.window) != nullptr);

    press(Qt::Key_F3); // the dialog is cancelled
    for (const StatusWindowKind& kind : statusWindowKinds()) QVERIFY(anyWindow(kind.window) != nullptr);

    dialogs_->nextChoice = files_.write("broken.awl", "NETWORK 1\n"); // chosen, but fails to load
    press(Qt::Key_F3);
    QCOMPARE(dialogs_->errors.size(), 1);
    for (const StatusWindowKind& kind : statusWindowKinds()) {
        // The program window stays: only the user closes it.
        QCOMPARE(main_->statusWindows().isOpen(kind.window), kind.keptByLoads);
        if (kind.keptByLoads) continue;
        QCOMPARE(shown(QString::fromLatin1(kind.title)), 0);
        QVERIFY(main_->action(kind.command)->isEnabled());
    }
}

void StatusWindowsTest::secondTraceReplacesTheFirst() {
    load(COUNTING_PROGRAM);
    stop();
    press(Qt::Key_Backspace);
    QPointer<InfoWnd> first = window(StatusWindow::Trace);
    QVERIFY(first);
    QVERIFY(main_->action(Command::Trace)->isEnabled());
    press(Qt::Key_Backspace, first); // the trace key, pressed in the trace window itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QCOMPARE(shown(QStringLiteral("Trace")), 1);
    // The second traced scan counted MW2 from 1 to 2.
    const auto& lines = dynamic_cast<TraceInfo&>(window(StatusWindow::Trace)->content()).lines();
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [](const std::string& line) { return line.find("MW2 2") != std::string::npos; }),
             lines.front().c_str());
    QCOMPARE(mw2(), 2);
}

void StatusWindowsTest::tracedLabelNotFoundIsTheOnlyLine() {
    press(Qt::Key_0); // switch 0: the scan that counts 2 jumps to a missing label
    load(COUNTING_PROGRAM);
    stop();
    press(Qt::Key_Space);
    press(Qt::Key_Backspace);
    InfoWnd* trace = window(StatusWindow::Trace);
    QVERIFY(trace);
    const QString error = QStringLiteral("Es ist der angegebene Label nicht gefunden worden");
    QCOMPARE(drawnTexts(*trace), QStringList{error});
    QCOMPARE(trace->contentSize().height(), trace->unit().height());
    QVERIFY(dialogs_->errors.isEmpty() && !main_->simulator().running());
    QCOMPARE(main_->simulator().cpu().traceSink, nullptr);
}

void StatusWindowsTest::layoutErrorShowsTheBoxAndNoWindow() {
    load(OVERLAPPING_LADDER);
    QVERIFY(main_->simulator().running());
    press(Qt::Key_F2);
    QCOMPARE(dialogs_->errors.size(), 1);
    QVERIFY2(dialogs_->errors.front().startsWith(QStringLiteral("Das KOP-Netzwerk kann nicht angezeigt werden")),
             qPrintable(dialogs_->errors.front()));
    QVERIFY(!main_->statusWindows().isOpen(StatusWindow::Ladder));
    QCOMPARE(shown(QStringLiteral("KOP")), 0);
    QVERIFY(main_->simulator().running() && main_->action(Command::Ladder)->isEnabled());
}

// The window repaints itself twice a second, and every paint reads the memory
// as it is then.
void StatusWindowsTest::cpuWindowRefreshesChangedMemory() {
    load(COUNTING_PROGRAM);
    stop();
    press(Qt::Key_F4);
    InfoWnd* cpu = window(StatusWindow::Cpu);
    QVERIFY(cpu);
    QVERIFY(QTest::qWaitForWindowExposed(cpu));
    QCOMPARE(drawnTexts(*cpu).mid(2, 6), (QStringList{"Merkerspeicher:", "0000", "00", "00", "00", "00"}));

    main_->runSteps(0x123);
    int paints = 0;
    struct PaintCounter final : QObject {
        int& count;
        explicit PaintCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++count;
            return false;
        }
    } counter(paints);
    cpu->viewport()->installEventFilter(&counter);
    QTRY_VERIFY_WITH_TIMEOUT(paints >= 2, 5000);
    cpu->viewport()->removeEventFilter(&counter);
    QCOMPARE(drawnTexts(*cpu).mid(2, 6), (QStringList{"Merkerspeicher:", "0000", "00", "00", "01", "23"}));
}

// Typed into the active CPU window as the platform delivers keys: End shows
// the last dump line, and the main window's keys work there as well.
void StatusWindowsTest::keysOfTheCpuWindow() {
    load(COUNTING_PROGRAM);
    press(Qt::Key_F4);
    InfoWnd* cpu = window(StatusWindow::Cpu);
    QVERIFY(cpu);
    cpu->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(cpu));
    QCOMPARE(QApplication::focusWidget(), cpu);

    QTest::keyClick(cpu->windowHandle(), Qt::Key_End);
    const int client = cpu->viewport()->height();
    QCOMPARE(cpu->scrollOffset().y(), client - cpu->contentSize().height());
    RecordingPaintDevice device(cpu->viewport()->width(), client);
    cpu->viewport()->render(&device);
    // The dump's last line (offset 0FF0 of V, then its 16 bytes) is the last
    // line drawn, three spare lines above the bottom.
    QVERIFY(device.texts().size() > 17);
    const PaintedText& last = device.texts()[device.texts().size() - 17];
    QCOMPARE(last.text, QStringLiteral("0FF0"));
    const int top = client - 4 * cpu->unit().height();
    QVERIFY2(last.baseline.y() > top && last.baseline.y() <= top + cpu->unit().height(),
             qPrintable(QString::number(last.baseline.y())));

    QTest::keyClick(cpu->windowHandle(), Qt::Key_F10);
    QVERIFY(!main_->simulator().running());
    const int before = mw2();
    QTest::keyClick(cpu->windowHandle(), Qt::Key_Space);
    QCOMPARE(mw2(), before + 1);
}

void StatusWindowsTest::closedWhileAMenuOrEditorIsOpen_data() {
    QTest::addColumn<sps::StatusWindow>("kind");
    QTest::addColumn<Open>("open");
    QTest::addColumn<Then>("then");
    for (const StatusWindowKind& kind : statusWindowKinds()) {
        // The ladder, AS-i, CPU and trace windows have no menu of their own,
        // only their scroll bars' (the watch table's show when the rows need them).
        // The program window has its text's menu; only the user closes it.
        const bool ownMenu = kind.window == StatusWindow::Watch || kind.window == StatusWindow::Trend ||
                             kind.window == StatusWindow::Editor;
        for (const Then then : {Then::CloseTheWindow, Then::LoadAProgram}) {
            if (kind.keptByLoads && then == Then::LoadAProgram) continue;
            const char* what = then == Then::CloseTheWindow ? "closed" : "a load";
            if (ownMenu) QTest::addRow("%s, its menu, %s", kind.name, what) << kind.window << Open::ContentMenu << then;
            // The fault table fits its window's width: it has no horizontal scroll bar.
            if (kind.window != StatusWindow::Watch && kind.window != StatusWindow::Faults &&
                kind.window != StatusWindow::Editor)
                QTest::addRow("%s, a scroll bar's menu, %s", kind.name, what)
                    << kind.window << Open::ScrollBarMenu << then;
            if (kind.window == StatusWindow::Watch)
                QTest::addRow("%s, a cell editor, %s", kind.name, what) << kind.window << Open::CellEditor << then;
        }
    }
}

// A menu may run an event loop of its own (QMenu::exec) in which the window
// closes: the window goes, and the menu with it, without harm to either.
void StatusWindowsTest::closedWhileAMenuOrEditorIsOpen() {
    QFETCH(sps::StatusWindow, kind);
    QFETCH(Open, open);
    QFETCH(Then, then);
    load(COUNTING_PROGRAM);
    stop(); // the trend window's time bar takes the mouse only then
    main_->runCommand(statusWindowKind(kind).command);
    QPointer<QWidget> window = anyWindow(kind);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* area = qobject_cast<QAbstractScrollArea*>(window.data());
    // The trace window's text view, the watch window's table.
    if (area == nullptr) area = window->findChild<InfoWnd*>();
    if (area == nullptr) area = window->findChild<QAbstractScrollArea*>();
    QVERIFY(area);

    const QString other = files_.write("other.awl", COUNTING_PROGRAM);
    bool acted = false;
    bool wasOpen = false;
    const auto act = [&] {
        wasOpen = open == Open::CellEditor ? qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr
                                           : QApplication::activePopupWidget() != nullptr;
        if (then == Then::CloseTheWindow)
            window->close();
        else
            main_->loadProgram(other);
        acted = true;
    };
    if (open == Open::CellEditor) {
        auto* table = qobject_cast<QTableView*>(area);
        QVERIFY(table);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const QModelIndex cell = table->model()->index(0, WatchModel::OperandColumn);
        table->setCurrentIndex(cell);
        table->edit(cell);
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QTest::keyClicks(QApplication::focusWidget(), "MW");
        act();
    } else {
        // Run from the event loop: the one the menu may have begun.
        QTimer::singleShot(0, window, act);
        QWidget* target = open == Open::ContentMenu ? area->viewport() : area->horizontalScrollBar();
        QVERIFY(target->isVisible());
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
    }
    QTRY_VERIFY(acted);
    QVERIFY(wasOpen);
    QTRY_VERIFY(window.isNull());
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(!main_->statusWindows().isOpen(kind));
    QVERIFY(main_->action(statusWindowKind(kind).command)->isEnabled());
    QVERIFY(dialogs_->errors.isEmpty());
}

int runStatusWindowsTests(int argc, char** argv) {
    StatusWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_status_windows.moc"
