#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "gui/main_window.h"
#include "gui/station_widget.h"
#include "gui/watch_model.h"
#include "gui/watch_window.h"
#include "gui_fixtures.h"
#include "messages/message_catalog.h"
#include "shell/breakpoints.h"
#include "shell/simulator.h"

using namespace sps;
using namespace sps::guitest;

namespace {

using Column = WatchModel::Column;

QString german(const char* key) { return QString::fromLatin1(lookupMessage(key)); }

} // namespace

// The watch window "Beobachten" of the real main window, with its model and
// view, on the offscreen platform.
class WatchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedOperandsAreValidated_data();
    void typedOperandsAreValidated();
    void formatsAndLiveValues();
    void writeOnceVersusForce();
    void conditionStopsTheRunAtItsRow();
    void tableIsKeptPerProgram();
    void networkBreakpointsAreKeptPerProgram();
    void editingWhileTheTableRefreshesOrALoadClearsIt_data();
    void editingWhileTheTableRefreshesOrALoadClearsIt();

private:
    WatchWindow* open();
    WatchModel& model() { return main_->watchModel(); }
    QString cell(int row, int column, int role = Qt::DisplayRole) {
        return model().data(model().index(row, column), role).toString();
    }
    void set(int row, int column, const QVariant& value, int role = Qt::EditRole) {
        model().setData(model().index(row, column), value, role);
    }
    // Types `text` into the cell through the view's editor, as the user does.
    void type(int row, int column, const QString& text);
    void addRows(const QStringList& operands) {
        for (const QString& operand : operands) set(model().watchedRows(), Column::OperandColumn, operand);
    }
    void select(int row) { window_->table().selectRow(row); }
    void trigger(WatchWindow::Action action) { window_->action(action)->trigger(); }
    void step() { QTest::keyClick(&window_->table(), Qt::Key_Space); }
    int mw2() { return main_->simulator().cpu().areaM.readWord(2); }
    // The conditions of the simulator's breakpoints.
    QStringList breakpoints();

    ProgramFiles files_;
    RecordingDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> main_;
    WatchWindow* window_ = nullptr;
};

void WatchWindowTest::init() {
    QSettings().remove(QStringLiteral("watch"));
    simClock().switchToManual();
    main_ = makeMainWindow(dialogs_);
    QVERIFY(showActive(*main_));
    main_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    QTest::keyClick(&main_->station(), Qt::Key_F10); // stopped: steps come from the test
    window_ = open();
    QVERIFY(window_);
}

void WatchWindowTest::cleanup() {
    QVERIFY(dialogs_->errors.isEmpty());
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    simClock().switchToAutomatic();
    while (simClock().canFaster()) simClock().faster();
}

WatchWindow* WatchWindowTest::open() {
    QTest::keyClick(&main_->station(), Qt::Key_F11);
    auto* window = qobject_cast<WatchWindow*>(main_->statusWindows().openWindow(StatusWindow::Watch));
    if (window == nullptr) return nullptr;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

void WatchWindowTest::type(int row, int column, const QString& text) {
    WatchView& view = window_->table();
    const QModelIndex index = model().index(row, column);
    view.setCurrentIndex(index);
    view.edit(index);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

QStringList WatchWindowTest::breakpoints() {
    QStringList list;
    for (const Breakpoint& breakpoint : main_->simulator().breakpoints().list())
        list << QString::fromLatin1(breakpoint.condition.text());
    return list;
}

void WatchWindowTest::typedOperandsAreValidated_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");  // empty: refused
    QTest::addColumn<QString>("shown"); // the format, or the error of a refused operand
    QTest::addColumn<int>("formats");
    QTest::newRow("word") << " mw2 "
                          << "MW2"
                          << "Dezimal mit Vorzeichen" << 4;
    QTest::newRow("bit") << "E0.0"
                         << "E0.0"
                         << "Bit" << 5;
    QTest::newRow("double word") << "VD4"
                                 << "VD4"
                                 << "Dezimal mit Vorzeichen" << 5;
    QTest::newRow("analog input") << "AEW0"
                                  << "AEW0"
                                  << "Dezimal mit Vorzeichen" << 4;
    QTest::newRow("bit number") << "E0.8"
                                << "" << german("Bitnumber out of range") << 0;
    QTest::newRow("constant") << "16#FF"
                              << "" << german("Parametertype not possible") << 0;
    QTest::newRow("beyond V") << "VB5000"
                              << "" << german("Out of field read") << 0;
}

void WatchWindowTest::typedOperandsAreValidated() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(int, formats);
    type(0, Column::OperandColumn, typed);
    if (name.isEmpty()) {
        // Not kept: the last row shows what was typed and why it was refused.
        QCOMPARE(model().watchedRows(), 0);
        QCOMPARE(cell(0, Column::OperandColumn), typed.trimmed());
        QCOMPARE(cell(0, Column::ValueColumn), shown);
        QCOMPARE(window_->message(), shown);
        set(0, Column::OperandColumn, QString());
        QCOMPARE(cell(0, Column::ValueColumn), QString());
        return;
    }
    QCOMPARE(model().watchedRows(), 1);
    QCOMPARE(cell(0, Column::OperandColumn), name);
    QCOMPARE(cell(0, Column::FormatColumn), shown);
    QCOMPARE(model().formats(0).size(), std::size_t(formats));
    // The format list offers the operand's formats.
    window_->table().edit(model().index(0, Column::FormatColumn));
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(box);
    QCOMPARE(box->count(), formats);
    QCOMPARE(box->currentText(), shown);
    // The next operand goes into the new last row.
    QCOMPARE(window_->table().currentIndex().row(), 1);
    QCOMPARE(cell(1, Column::OperandColumn, Qt::EditRole), QString());
}

// Values follow the CPU twice a second, in the row's format; a value that
// cannot be read shows its error; a format the operand has not is refused.
void WatchWindowTest::formatsAndLiveValues() {
    addRows({"MW2", "VD4", "*VD20"});
    main_->simulator().cpu().areaV.writeDword(4, 0x3FC00000); // 1.5
    set(0, Column::FormatColumn, "Hex");
    set(1, Column::FormatColumn, "Real");
    QVERIFY(!model().setData(model().index(0, Column::FormatColumn), "Real"));
    QCOMPARE(cell(0, Column::FormatColumn), "Hex");
    step();
    QTRY_COMPARE_WITH_TIMEOUT(cell(0, Column::ValueColumn), "16#0001", 2000);
    QCOMPARE(cell(1, Column::ValueColumn), "+1.5");
    QCOMPARE(cell(2, Column::ValueColumn), german("Pointer out of range"));
    main_->simulator().cpu().areaV.writeDword(20, 0x08000004); // &VB4
    model().refresh();
    QCOMPARE(cell(2, Column::ValueColumn), "1069547520");
}

// "Schreiben" writes once at the start of the next scan, "Forcen" holds the
// value against the program, which counts MW2 up in every scan.
void WatchWindowTest::writeOnceVersusForce() {
    addRows({"MW2", "M0.0"});
    select(0);
    QVERIFY(!window_->action(WatchWindow::Action::Unforce)->isEnabled());
    trigger(WatchWindow::Action::Write);
    QCOMPARE(cell(0, Column::NewValueColumn), german("Constant expected"));

    // "-" begins the value, not the clock's "Langsamer".
    simClock().switchToAutomatic();
    main_->updateActions();
    const int divisorBefore = simClock().clockDivisor();
    window_->table().setCurrentIndex(model().index(0, Column::NewValueColumn));
    QTest::keyClick(&window_->table(), Qt::Key_Minus, Qt::NoModifier);
    QTest::keyClicks(QApplication::focusWidget(), "70000");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(simClock().clockDivisor(), divisorBefore);
    QCOMPARE(cell(0, Column::NewValueColumn), "-70000");
    select(0);
    trigger(WatchWindow::Action::Force);
    QCOMPARE(cell(0, Column::NewValueColumn), german("Value out of range"));
    QCOMPARE(cell(0, Column::NewValueColumn, Qt::EditRole), "-70000");

    type(0, Column::NewValueColumn, "100");
    select(0);
    trigger(WatchWindow::Action::Write);
    QCOMPARE(mw2(), 0);
    step();
    QCOMPARE(mw2(), 101);
    step();
    QCOMPARE(mw2(), 102);
    QCOMPARE(cell(0, Column::ForcedColumn), QString());

    trigger(WatchWindow::Action::Force);
    QCOMPARE(mw2(), 100);
    QCOMPARE(cell(0, Column::ForcedColumn), "F");
    QCOMPARE(cell(1, Column::ForcedColumn), QString());
    QVERIFY(window_->action(WatchWindow::Action::Unforce)->isEnabled());
    step();
    QCOMPARE(mw2(), 100);
    trigger(WatchWindow::Action::Unforce);
    QCOMPARE(cell(0, Column::ForcedColumn), QString());
    step();
    QCOMPARE(mw2(), 101);

    // A deleted row takes its force with it; "Alle entforcen" takes every one.
    trigger(WatchWindow::Action::Force);
    QTest::keyClick(&window_->table(), Qt::Key_Delete);
    QCOMPARE(model().watchedRows(), 1);
    QCOMPARE(cell(0, Column::OperandColumn), "M0.0");
    QVERIFY(main_->simulator().cpu().forces.entries().empty());
    set(0, Column::NewValueColumn, "1");
    select(0);
    trigger(WatchWindow::Action::Force);
    QVERIFY(window_->action(WatchWindow::Action::UnforceAll)->isEnabled());
    trigger(WatchWindow::Action::UnforceAll);
    QVERIFY(main_->simulator().cpu().forces.entries().empty());
    QVERIFY(!window_->action(WatchWindow::Action::UnforceAll)->isEnabled());
}

void WatchWindowTest::conditionStopsTheRunAtItsRow() {
    addRows({"MW2", "E0.0"});
    const auto marked = [this](int row) { return model().headerData(row, Qt::Vertical, Qt::ToolTipRole).toString(); };
    type(0, Column::ConditionColumn, "> 1");
    QCOMPARE(cell(0, Column::ConditionColumn), "> 1");
    QCOMPARE(marked(0), "Haltepunkt 1: MW2 > 1");
    QCOMPARE(marked(1), QString());
    type(1, Column::ConditionColumn, "=1");
    QCOMPARE(cell(1, Column::ConditionColumn), "== 1");
    // A test that does not parse shows why in the row, and the condition
    // before it stays.
    type(0, Column::ConditionColumn, "~ 5");
    QCOMPARE(cell(0, Column::ConditionColumn), german("Relation expected"));
    QCOMPARE(cell(0, Column::ConditionColumn, Qt::EditRole), "~ 5");
    type(1, Column::ConditionColumn, "steigt");
    QCOMPARE(breakpoints(), (QStringList{"MW2 > 1", "E0.0 steigt"}));

    QTest::keyClick(&window_->table(), Qt::Key_F5);
    main_->tick();
    QCOMPARE(mw2(), 2);
    QCOMPARE(main_->windowTitle(), QStringLiteral("SPS-Simulator – angehalten: MW2 > 1 (Zyklus 2)"));
    QCOMPARE(model().stoppedRow(), 0);
    QCOMPARE(cell(0, Column::ValueColumn), "2"); // read at the stop
    QVERIFY(model().data(model().index(0, Column::ValueColumn), Qt::BackgroundRole).isValid());
    QTest::keyClick(&window_->table(), Qt::Key_F5);
    QCOMPARE(main_->windowTitle(), QStringLiteral("SPS-Simulator"));
    QCOMPARE(model().stoppedRow(), -1);
    QVERIFY(!model().data(model().index(0, Column::ValueColumn), Qt::BackgroundRole).isValid());

    type(0, Column::ConditionColumn, "");
    QCOMPARE(marked(0), QString());
    QCOMPARE(breakpoints(), QStringList{"E0.0 steigt"});
}

// Each program file keeps its rows with their formats, conditions, values and
// recordings, across loads and sessions; forces are not kept.
void WatchWindowTest::tableIsKeptPerProgram() {
    const QString first = files_.write("count.awl", COUNTING_PROGRAM);
    const QString second = files_.write("other.awl", COUNTING_PROGRAM);
    const auto recorded = [this] {
        QStringList list;
        const Recorder& recorder = main_->simulator().recorder();
        for (std::size_t i = 0; i < recorder.size(); ++i)
            list << QString::fromLatin1(recorder.signal(i).name()) + "/" +
                        QString::number(static_cast<int>(recorder.signal(i).type()));
        return list;
    };
    const QString word = QString::number(static_cast<int>(SignalType::Word));
    const QString real = QString::number(static_cast<int>(SignalType::Real));
    const QString doubleWord = QString::number(static_cast<int>(SignalType::DoubleWord));

    addRows({"MW2", "VD4"});
    set(0, Column::FormatColumn, "Hex");
    set(0, Column::NewValueColumn, "7");
    set(0, Column::ConditionColumn, "> 5");
    set(0, Column::RecordColumn, Qt::Checked, Qt::CheckStateRole);
    set(1, Column::FormatColumn, "Real");
    set(1, Column::RecordColumn, Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(recorded(), (QStringList{"MW2/" + word, "VD4/" + real}));
    set(1, Column::FormatColumn, "Hex"); // now recorded as the double word it shows
    QCOMPARE(recorded(), (QStringList{"MW2/" + word, "VD4/" + doubleWord}));
    select(0);
    trigger(WatchWindow::Action::Force);

    // A program without a table of its own takes over the rows shown.
    main_->loadProgram(second);
    QVERIFY(!main_->statusWindows().isOpen(StatusWindow::Watch));
    QCOMPARE(model().watchedRows(), 2);
    QCOMPARE(cell(0, Column::ForcedColumn), QString());
    model().removeRows(0, 2);
    addRows({"E0.0"});
    QVERIFY(breakpoints().isEmpty() && recorded().isEmpty());

    const auto expectFirstTable = [&] {
        QCOMPARE(model().watchedRows(), 2);
        QCOMPARE(cell(0, Column::OperandColumn), "MW2");
        QCOMPARE(cell(0, Column::FormatColumn), "Hex");
        QCOMPARE(cell(0, Column::NewValueColumn), "7");
        QCOMPARE(cell(0, Column::ConditionColumn), "> 5");
        QCOMPARE(cell(0, Column::ForcedColumn), QString());
        QCOMPARE(cell(1, Column::FormatColumn), "Hex");
        QCOMPARE(breakpoints(), QStringList{"MW2 > 5"});
        QCOMPARE(recorded(), (QStringList{"MW2/" + word, "VD4/" + doubleWord}));
    };
    main_->loadProgram(first);
    expectFirstTable();
    main_->loadProgram(second);
    QCOMPARE(model().watchedRows(), 1);
    QVERIFY(breakpoints().isEmpty() && recorded().isEmpty());

    // Another session.
    window_ = nullptr;
    main_.reset();
    main_ = makeMainWindow(dialogs_);
    main_->loadProgram(first);
    expectFirstTable();
}

// A click on a network's header in the ladder window sets a breakpoint that
// belongs to the program file: another file has its own (none here), and the
// first brings it back, in this session and the next. One on a network that
// the edited file no longer has is left out.
void WatchWindowTest::networkBreakpointsAreKeptPerProgram() {
    const char* const two = "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 1\nLD SM0.0\n= M1.0\n"
                            "NETWORK 2\nLD SM0.0\n= M1.1\nEND_ORGANIZATION_BLOCK\n";
    const QString first = files_.write("two.awl", two);
    const QString second = files_.write("other.awl", two);
    const auto networks = [this] {
        QStringList list;
        for (const NetworkBreakpoint& set : main_->simulator().breakpoints().networks())
            list << QString::fromStdString(set.text());
        return list;
    };
    main_->loadProgram(first);
    main_->runCommand(Command::Ladder);
    auto* ladder = dynamic_cast<InfoWnd*>(main_->statusWindows().openWindow(StatusWindow::Ladder));
    QVERIFY(ladder);
    ladder->resize(500, 400);
    const QPoint header(40, ladder->unit().height() + ladder->unit().height() / 2);
    QTest::mouseClick(ladder->viewport(), Qt::LeftButton, Qt::NoModifier, header);
    QCOMPARE(networks(), QStringList{"OB1 Netzwerk 1"});

    main_->loadProgram(second);
    QVERIFY(networks().isEmpty());
    main_->loadProgram(first);
    QCOMPARE(networks(), QStringList{"OB1 Netzwerk 1"});

    window_ = nullptr;
    main_.reset();
    main_ = makeMainWindow(dialogs_);
    main_->loadProgram(first);
    QCOMPARE(networks(), QStringList{"OB1 Netzwerk 1"});

    main_->loadProgram(second);
    files_.write("two.awl", "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 2\nLD SM0.0\n= M1.1\n"
                            "END_ORGANIZATION_BLOCK\n");
    main_->loadProgram(first);
    QVERIFY(networks().isEmpty());
}

void WatchWindowTest::editingWhileTheTableRefreshesOrALoadClearsIt_data() {
    QTest::addColumn<bool>("returnPressed"); // else still typing
    QTest::addColumn<bool>("load");          // else a refresh
    QTest::newRow("Return, then a refresh") << true << false;
    QTest::newRow("typing, then a refresh") << false << false;
    QTest::newRow("Return, then a load") << true << true;
    QTest::newRow("typing, then a load") << false << true;
}

// Whatever comes between a key and the next pass of the event loop, the
// editor and the rows stay in step: Qt warns of an editor that no longer
// belongs to its view otherwise.
void WatchWindowTest::editingWhileTheTableRefreshesOrALoadClearsIt() {
    QFETCH(bool, returnPressed);
    QFETCH(bool, load);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("does not belong to this view")));
    const QString other = files_.write("other.awl", COUNTING_PROGRAM);
    addRows({"MW2"});
    WatchView& view = window_->table();
    const QModelIndex last = model().index(1, Column::OperandColumn);
    view.setCurrentIndex(last);
    view.edit(last);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, "VW4");
    if (returnPressed) QTest::keyClick(editor, Qt::Key_Return);
    step(); // a value changes, so that the refresh has rows to show anew
    if (load)
        main_->loadProgram(other);
    else
        model().refresh();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    if (load) {
        // Typed for the first program; the second, without a table of its
        // own, takes over the rows shown.
        QVERIFY(!main_->statusWindows().isOpen(StatusWindow::Watch));
        window_ = nullptr;
        QCOMPARE(model().watchedRows(), 2);
        QCOMPARE(cell(1, Column::OperandColumn), "VW4");
        return;
    }
    if (!returnPressed) {
        // The editor is still open, with what was typed.
        QCOMPARE(editor->text(), "VW4");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QCOMPARE(model().watchedRows(), 2);
    QCOMPARE(cell(1, Column::OperandColumn), "VW4");
    QCOMPARE(cell(0, Column::ValueColumn), "1");
    QVERIFY(view.indexWidget(last) == nullptr);
}

int runWatchWindowTests(int argc, char** argv) {
    WatchWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_watch_window.moc"
