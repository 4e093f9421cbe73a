#include <cmath>
#include <functional>

#include <QAction>
#include <QCheckBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "base/sim_clock.h"
#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "gui/main_window.h"
#include "gui/station_widget.h"
#include "gui/trend_window.h"
#include "gui/watch_window.h"
#include "gui_fixtures.h"
#include "shell/simulator.h"
#include "station/station_fields.h"
#include "station/target.h"

using namespace sps;
using namespace sps::guitest;

Q_DECLARE_METATYPE(sps::Command)

// The real main window on the offscreen platform, with recording dialogs and
// status windows in place of the modal ones.
class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuTextsAndKeys();
    void noTwoItemsOfAMenuShareAMnemonic();
    void menuRowsBecomeActionsWithTheirUtf8Texts();
    void menuGreysByTheRules();
    void acceleratorsRunTheirCommands_data();
    void acceleratorsRunTheirCommands();
    void keyOfAGreyedItemDoesNothing();
    void stationKeys_data();
    void stationKeys();
    void mouseAreas_data();
    void mouseAreas();
    void controlsFollowTheStation();
    void keysStillWorkAfterAControlClick();
    void ejectedWorkpieceClearsItsBoxAtTheNextRepaint();
    void tickRunsThreeSteps();
    void runningStationIsPaintedAtMostOncePerFrame();
    void executionErrorInATickStopsTheRun();
    void breakpointShowsInTheTitleUntilTheRunGoesOn();
    void stepBackAndGoToCycleShowWhereTheTitleSays();
    void failedLoadKeepsThePreviousProgram();
    void loadAsksInTheLastFolder();
    void droppedProgramIsLoaded();
    void beendenClosesTheWindow();
    void failedLoadOffersTheImport();
    void importChoosesAFileAndTellsOfReplacedCharacters();

private:
    Target& target() { return window_->simulator().target(); }
    int mw2() { return window_->simulator().cpu().areaM.readWord(2); }
    void showMenu(Popup popup) { emit window_->popup(popup)->aboutToShow(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window_->station(), static_cast<Qt::Key>(key), modifiers);
    }
    void click(QPoint at) { QTest::mouseClick(&window_->station(), Qt::LeftButton, Qt::NoModifier, at); }

    ProgramFiles files_;
    RecordingDialogs* dialogs_ = nullptr;
    FakeStatusWindows* windows_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::init() {
    simClock().switchToAutomatic();
    window_ = makeMainWindow(dialogs_);
    auto windows = std::make_unique<FakeStatusWindows>();
    windows_ = windows.get();
    window_->setStatusWindows(std::move(windows));
    QVERIFY(showActive(*window_));
}

void MainWindowTest::cleanup() {
    window_.reset();
    simClock().switchToAutomatic();
    while (simClock().canFaster()) simClock().faster();
}

void MainWindowTest::menuTextsAndKeys() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator"));
    QVERIFY(!window_->windowIcon().isNull());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window_->station().size(), QSize(744, 524));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());

    // Each item as "text|key"; a separator as "-".
    const QStringList expected[] = {
        {"&Datei", "&Laden|F3", "&Importieren…|", "Ne&u laden|Ctrl+R", "&Neu|", "&Zuletzt geöffnet|", "-",
         "&Debugansicht|F2", "&ASI-Status|F1", "&CPU-Status|F4", "B&eobachten|F11", "&Verlauf|", "&Störungen|", "&Programm|Ctrl+E",
         "-", "&Beenden|"},
        {"&Timer", "&Langsamer|-", "&Schneller|+", "&Automatisch|", "-", "&Manuell|", "&1ms|F6", "&10 ms|F7",
         "&100 ms|F8", "&1000 ms|F9"},
        {"&Run", "&Continue|F5", "&Stop|F10", "&Einzelschritt|Space", "&Netzwerkschritt|Shift+Space",
         "Schritt &zurück|Ctrl+Space", "Zurück z&u …|", "-", "&Reset|F12", "-", "&Trace|Backspace"},
    };
    const QList<QAction*> popups = window_->menuBar()->actions();
    QCOMPARE(popups.size(), 3);
    for (int p = 0; p < 3; ++p) {
        QStringList actual{popups[p]->text()};
        for (const QAction* item : popups[p]->menu()->actions())
            actual << (item->isSeparator()
                           ? QStringLiteral("-")
                           : item->text() + "|" + item->shortcut().toString(QKeySequence::PortableText));
        QCOMPARE(actual, expected[p]);
    }
    // The keypad's minus and plus as well.
    QVERIFY(window_->action(Command::Slower)->shortcuts().contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)));
    QVERIFY(window_->action(Command::Faster)->shortcuts().contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)));
}

// Alt and a letter reach one item. Where two items share the letter, Qt
// moves between them instead of choosing one ("&Beenden" would never run
// after Alt+D, B beside a "&Beobachten"). The menu bar and every popup of
// the main window and of the status windows.
void MainWindowTest::noTwoItemsOfAMenuShareAMnemonic() {
    WatchWindow watch(window_->watchModel());
    TrendWindow trend(window_->simulator(), window_->dialogs());
    QList<QPair<QString, QList<QAction*>>> menus{{"the menu bar", window_->menuBar()->actions()},
                                                 {"Beobachten", watch.contextMenu()->actions()},
                                                 {"Verlauf", trend.contextMenu()->actions()}};
    for (QAction* popup : window_->menuBar()->actions()) menus.append({popup->text(), popup->menu()->actions()});
    // The four time steps of "Timer" have always shared the 1.
    const QList<QAction*> steps{window_->action(Command::Step1), window_->action(Command::Step10),
                                window_->action(Command::Step100), window_->action(Command::Step1000)};
    int checked = 0;
    for (const auto& [menu, items] : menus) {
        QMap<QKeySequence, QAction*> taken;
        for (QAction* item : items) {
            if (item->isSeparator()) continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(menu + ": " + item->text() + " has no mnemonic"));
            ++checked;
            QAction* other = taken.value(mnemonic);
            taken.insert(mnemonic, item);
            if (other == nullptr || (steps.contains(other) && steps.contains(item))) continue;
            QFAIL(qPrintable(menu + ": " + other->text() + " and " + item->text() + " share " +
                             mnemonic.toString(QKeySequence::PortableText)));
        }
    }
    QCOMPARE(checked, 3 + 29 + 5 + 3);
}

// A menu text is UTF-8 source, as every literal of the desktop program.
void MainWindowTest::menuRowsBecomeActionsWithTheirUtf8Texts() {
    const MenuItem rows[] = {
        {Popup::File, Command::Load, "&Öffnen …", false, {Qt::Key_F3, {}}},
        {Popup::Timer, Command::Slower, "L&angsamer", false, {Qt::Key_Minus, Qt::KeypadModifier | Qt::Key_Minus}},
        {Popup::File, Command::Watch, "Zeile &löschen", false, {{}, {}}},
    };
    const QString texts[] = {QStringLiteral("&Öffnen …"), QStringLiteral("L&angsamer"),
                             QStringLiteral("Zeile &löschen")};
    const QList<QKeySequence> keys[] = {{QKeySequence(Qt::Key_F3)},
                                        {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)},
                                        {}};
    QObject owner;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const QAction* action = makeAction(rows[i], &owner);
        QCOMPARE(action->parent(), &owner);
        QCOMPARE(action->text(), texts[i]);
        QCOMPARE(action->shortcuts(), keys[i]);
    }
}

// Every row of the enabling table, in the states that switch it.
void MainWindowTest::menuGreysByTheRules() {
    const auto enabled = [this](Command command) { return window_->action(command)->isEnabled(); };
    const Command always[] = {Command::Load, Command::Exit, Command::Reset, Command::Trace};

    showMenu(Popup::Run);
    QVERIFY(enabled(Command::Continue) && enabled(Command::SingleStep) && !enabled(Command::Stop));
    window_->simulator().continueRun();
    showMenu(Popup::Run);
    QVERIFY(!enabled(Command::Continue) && !enabled(Command::SingleStep) && enabled(Command::Stop));
    for (const Command command : always) QVERIFY(enabled(command));

    const Command steps[] = {Command::Step1, Command::Step10, Command::Step100, Command::Step1000};
    showMenu(Popup::Timer);
    QVERIFY(enabled(Command::Slower) && !enabled(Command::Faster)); // divisor 1
    QVERIFY(enabled(Command::Manual) && !enabled(Command::Automatic));
    for (const Command command : steps) QVERIFY(!enabled(command));
    while (simClock().canSlower()) simClock().slower();
    showMenu(Popup::Timer);
    QVERIFY(!enabled(Command::Slower) && enabled(Command::Faster)); // divisor 1000
    simClock().switchToManual();
    showMenu(Popup::Timer);
    QVERIFY(!enabled(Command::Slower) && !enabled(Command::Faster));
    QVERIFY(!enabled(Command::Manual) && enabled(Command::Automatic));
    for (const Command command : steps) QVERIFY(enabled(command));

    showMenu(Popup::File);
    QVERIFY(enabled(Command::Ladder) && enabled(Command::AsiStatus) && enabled(Command::CpuStatus));
    windows_->open_ = {StatusWindow::Ladder, StatusWindow::Cpu};
    showMenu(Popup::File);
    QVERIFY(!enabled(Command::Ladder) && enabled(Command::AsiStatus) && !enabled(Command::CpuStatus));
    windows_->open_ = {StatusWindow::Asi};
    showMenu(Popup::File);
    QVERIFY(enabled(Command::Ladder) && !enabled(Command::AsiStatus) && enabled(Command::CpuStatus));
    for (const Command command : always) QVERIFY(enabled(command));
}

void MainWindowTest::acceleratorsRunTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<sps::Command>("command");
    const int none = Qt::NoModifier, pad = Qt::KeypadModifier;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << false << false << Command::AsiStatus;
    QTest::newRow("F2") << int(Qt::Key_F2) << none << false << false << Command::Ladder;
    QTest::newRow("F3") << int(Qt::Key_F3) << none << false << false << Command::Load;
    QTest::newRow("F4") << int(Qt::Key_F4) << none << false << false << Command::CpuStatus;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << false << false << Command::Continue;
    QTest::newRow("F6") << int(Qt::Key_F6) << none << false << true << Command::Step1;
    QTest::newRow("F7") << int(Qt::Key_F7) << none << false << true << Command::Step10;
    QTest::newRow("F8") << int(Qt::Key_F8) << none << false << true << Command::Step100;
    QTest::newRow("F9") << int(Qt::Key_F9) << none << false << true << Command::Step1000;
    QTest::newRow("F10") << int(Qt::Key_F10) << none << true << false << Command::Stop;
    QTest::newRow("F11") << int(Qt::Key_F11) << none << false << false << Command::Watch;
    QTest::newRow("F12") << int(Qt::Key_F12) << none << false << false << Command::Reset;
    QTest::newRow("space") << int(Qt::Key_Space) << none << false << false << Command::SingleStep;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << false << false << Command::Trace;
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << false << false << Command::Slower;
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << pad << false << false << Command::Slower;
    QTest::newRow("plus") << int(Qt::Key_Plus) << none << false << false << Command::Faster;
    QTest::newRow("keypad plus") << int(Qt::Key_Plus) << pad << false << false << Command::Faster;
}

void MainWindowTest::acceleratorsRunTheirCommands() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, running);
    QFETCH(bool, manual);
    QFETCH(sps::Command, command);
    if (running) window_->simulator().continueRun();
    if (manual) simClock().switchToManual();
    simClock().slower(); // divisor 2: both "Langsamer" and "Schneller" possible
    window_->updateActions();
    QSignalSpy triggered(window_->action(command), &QAction::triggered);
    press(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
}

void MainWindowTest::keyOfAGreyedItemDoesNothing() {
    const std::uint32_t before = simTime();
    press(Qt::Key_F6); // the clock runs automatically: "1ms" is greyed
    QVERIFY(simClock().manualTime() == -1 && simTime() >= before);
    press(Qt::Key_F10); // stopped: "Stop" is greyed
    QVERIFY(!window_->simulator().running());

    simClock().switchToManual();
    window_->updateActions();
    press(Qt::Key_F6);
    QCOMPARE(simClock().manualTime(), 1);
}

void MainWindowTest::stationKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("after");
    QTest::newRow("0") << int(Qt::Key_0) << "0"
                       << "switchIn"
                       << "10000000";
    QTest::newRow("7") << int(Qt::Key_7) << "7"
                       << "switchIn"
                       << "00000001";
    QTest::newRow("a") << int(Qt::Key_A) << "a"
                       << "buttonIn"
                       << "1000";
    QTest::newRow("A") << int(Qt::Key_A) << "A"
                       << "buttonIn"
                       << "1000";
    QTest::newRow("d") << int(Qt::Key_D) << "d"
                       << "buttonIn"
                       << "0001";
    QTest::newRow("e") << int(Qt::Key_E) << "e"
                       << "motionBlocked"
                       << "1";
    QTest::newRow("page down") << int(Qt::Key_PageDown) << ""
                               << "carrierPos"
                               << "70000";
    QTest::newRow("cursor right") << int(Qt::Key_Right) << ""
                                  << "joystickRight"
                                  << "0.008";
    QTest::newRow("cursor up") << int(Qt::Key_Up) << ""
                               << "joystickUp"
                               << "0.008";
    QTest::newRow("9 does nothing") << int(Qt::Key_9) << "9"
                                    << ""
                                    << "";
    QTest::newRow("F does nothing") << int(Qt::Key_F) << "F"
                                    << ""
                                    << "";
    QTest::newRow("x does nothing") << int(Qt::Key_X) << "x"
                                    << ""
                                    << "";
}

// Each key changes its one station field and nothing else.
void MainWindowTest::stationKeys() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, field);
    QFETCH(QString, after);
    simClock().switchToManual();
    const auto before = stationFields(target());
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&window_->station(), &event);
    QVERIFY(event.isAccepted());
    for (const auto& entry : stationFields(target())) {
        const std::string& name = entry.first;
        const std::string& value = entry.second;
        const auto old = std::find_if(before.begin(), before.end(), [&](const auto& f) { return f.first == name; });
        if (QString::fromStdString(name) == field)
            QCOMPARE(QString::fromStdString(value), after);
        else if (name != "lastTime")
            QCOMPARE(QString::fromStdString(value), QString::fromStdString(old->second));
    }
}

void MainWindowTest::mouseAreas_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("after");
    QTest::newRow("switch row x 79") << QPoint(79, 270) << "switchIn"
                                     << "00000001";
    QTest::newRow("switch row x 80") << QPoint(80, 240) << "switchIn"
                                     << "00000010";
    QTest::newRow("switch row x 569") << QPoint(569, 302) << "switchIn"
                                      << "10000000";
    QTest::newRow("left of the switches") << QPoint(9, 270) << "switchIn"
                                          << "00000000";
    QTest::newRow("right of the switches") << QPoint(570, 270) << "switchIn"
                                           << "00000000";
    QTest::newRow("below the switches") << QPoint(100, 303) << "switchIn"
                                        << "00000000";
    QTest::newRow("button row x 290") << QPoint(290, 460) << "buttonIn"
                                      << "0001";
    QTest::newRow("button row x 569") << QPoint(569, 522) << "buttonIn"
                                      << "1000";
    QTest::newRow("jog down") << QPoint(600, 336) << "carrierPos"
                              << "70000";
    QTest::newRow("jog up at the top") << QPoint(600, 335) << "carrierPos"
                                       << "0";
    QTest::newRow("entry light barrier") << QPoint(642, 330) << "motionBlocked"
                                         << "1";
    QTest::newRow("joystick centre") << QPoint(88, 428) << "joystickRight"
                                     << "0.000";
    QTest::newRow("joystick right edge") << QPoint(166, 428) << "joystickRight"
                                         << "0.500";
    QTest::newRow("joystick corner: dx pulled in") << QPoint(10, 350) << "joystickRight"
                                                   << "0.000";
    QTest::newRow("joystick corner: dy stays") << QPoint(10, 350) << "joystickUp"
                                               << "0.500";
}

void MainWindowTest::mouseAreas() {
    QFETCH(QPoint, at);
    QFETCH(QString, field);
    QFETCH(QString, after);
    simClock().switchToManual();
    target().setJoystick(5, 5); // so that centring shows
    click(at);
    for (const auto& [name, value] : stationFields(target()))
        if (QString::fromStdString(name) == field) QCOMPARE(QString::fromStdString(value), after);
    if (at == QPoint(10, 350)) QCOMPARE(target().joystickDy(), -66);
}

// A click reports itself; the box shows the station's state from the next
// repaint on, and the radio buttons show the range the station selected.
void MainWindowTest::controlsFollowTheStation() {
    StationWidget& station = window_->station();
    QCheckBox* glass = station.partBox(Target::PART_GLASS_VISIBLE);
    QTest::mouseClick(glass, Qt::LeftButton);
    QCOMPARE(target().partFlags(), 1u << Target::PART_GLASS_VISIBLE);
    station.repaint();
    QVERIFY(glass->isChecked());
    QTest::mouseClick(glass, Qt::LeftButton);
    station.repaint();
    QVERIFY(!glass->isChecked() && target().partFlags() == 0);

    QTest::mouseClick(station.sonarButton(2), Qt::LeftButton);
    QTest::mouseClick(station.sonarButton(2), Qt::LeftButton);
    QCOMPARE(target().sonarRange(), 2);
    for (int r = 0; r < Target::SONAR_RANGES; ++r) QCOMPARE(station.sonarButton(r)->isChecked(), r == 2);
}

void MainWindowTest::keysStillWorkAfterAControlClick() {
    QTest::mouseClick(window_->station().partBox(Target::PART_OPTICAL), Qt::LeftButton);
    QTest::mouseClick(window_->station().sonarButton(1), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), &window_->station());
    press(Qt::Key_3);
    press(Qt::Key_Tab);
    QCOMPARE(target().switchIn()[3], 1);
    QCOMPARE(QApplication::focusWidget(), &window_->station());
}

void MainWindowTest::ejectedWorkpieceClearsItsBoxAtTheNextRepaint() {
    simClock().switchToManual();
    QCheckBox* ejectable = window_->station().partBox(Target::PART_EJECTABLE);
    QTest::mouseClick(ejectable, Qt::LeftButton);
    window_->station().repaint();
    QVERIFY(ejectable->isChecked());
    // The workpiece in front of the ejector, then A1.1 pushes it out.
    target().placeCarrier(540000);
    target().plantStep();
    target().writeOutput(1, 1, 1);
    target().plantStep();
    QCOMPARE(target().partFlags() & 1u, 0u);
    QVERIFY(ejectable->isChecked());
    window_->station().repaint();
    QVERIFY(!ejectable->isChecked());
}

void MainWindowTest::tickRunsThreeSteps() {
    simClock().switchToManual();
    window_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    QVERIFY(window_->simulator().running() && window_->ticking());
    window_->tick();
    QCOMPARE(mw2(), 3);
    press(Qt::Key_F10);
    QVERIFY(!window_->ticking());
    window_->tick();
    QCOMPARE(mw2(), 3);
    QVERIFY(dialogs_->errors.isEmpty());
}

// The 1-ms timer runs three steps a tick, far more often than a screen shows
// a frame: the station is painted at most once per frame.
void MainWindowTest::runningStationIsPaintedAtMostOncePerFrame() {
    struct PaintCounter final : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    const qint64 frame = static_cast<qint64>(std::ceil(1000.0 / window_->station().screen()->refreshRate()));
    window_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    QCoreApplication::processEvents();
    window_->station().installEventFilter(&counter);
    QElapsedTimer wall;
    wall.start();
    const long long before = window_->stepsRun();
    // The event loop as the program runs it (QTest::qWait would sleep between passes).
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(10 * frame), &loop, &QEventLoop::quit);
    loop.exec();
    press(Qt::Key_F10);
    const qint64 elapsed = wall.elapsed();
    const int paints = counter.paints;
    QVERIFY(window_->stepsRun() > before);
    QVERIFY2(
        paints <= elapsed / frame + 2,
        qPrintable(
            QStringLiteral("%1 paints in %2 ms, %3 steps").arg(paints).arg(elapsed).arg(window_->stepsRun() - before)));
    window_->station().removeEventFilter(&counter);
    QVERIFY(dialogs_->errors.isEmpty());
}

void MainWindowTest::executionErrorInATickStopsTheRun() {
    simClock().switchToManual();
    target().toggleSwitch(0);
    window_->loadProgram(files_.write("jump.awl", COUNTING_PROGRAM));
    window_->tick();
    QCOMPARE(dialogs_->errors.size(), 1);
    QCOMPARE(dialogs_->errors.front(),
             QStringLiteral("Es ist der angegebene Label nicht gefunden worden\nin OB1, Netzwerk 2: JMP 3"));
    QCOMPARE(mw2(), 2); // the third step did not run
    QVERIFY(!window_->simulator().running() && !window_->ticking());
    showMenu(Popup::Run);
    QVERIFY(window_->action(Command::Continue)->isEnabled());
}

void MainWindowTest::breakpointShowsInTheTitleUntilTheRunGoesOn() {
    simClock().switchToManual();
    window_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    window_->simulator().breakpoints().add(Condition(window_->simulator().cpu(), "MW2", "> 1"));
    window_->tick();
    QCOMPARE(mw2(), 2); // the third step did not run
    QVERIFY(!window_->simulator().running() && !window_->ticking());
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator – angehalten: MW2 > 1 (Zyklus 2)"));
    press(Qt::Key_F5);
    QVERIFY(window_->ticking());
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator"));
    QVERIFY(dialogs_->errors.isEmpty());
}

// "Schritt zurück" (Ctrl+Space) and "Zurück zu …" while stopped: the state
// of the cycle chosen, which the title names, and a step on from there.
void MainWindowTest::stepBackAndGoToCycleShowWhereTheTitleSays() {
    const auto enabled = [this](Command command) { return window_->action(command)->isEnabled(); };
    simClock().switchToManual();
    window_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    showMenu(Popup::Run);
    QVERIFY(!enabled(Command::StepBack) && !enabled(Command::GoToCycle)); // running
    press(Qt::Key_F10);
    showMenu(Popup::Run);
    QVERIFY(!enabled(Command::StepBack)); // nothing ran yet
    for (int i = 0; i < 5; ++i) press(Qt::Key_Space);
    QCOMPARE(mw2(), 5);
    showMenu(Popup::Run);
    QVERIFY(enabled(Command::StepBack) && enabled(Command::GoToCycle));

    press(Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(mw2(), 4);
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator – Zyklus 4 (zurückgegangen um 1)"));
    dialogs_->nextCycle = 2;
    window_->runCommand(Command::GoToCycle);
    QCOMPARE(dialogs_->cyclesAsked, QStringList{"4 0 5"});
    QCOMPARE(mw2(), 2);
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator – Zyklus 2 (zurückgegangen um 3)"));
    dialogs_->nextCycle.reset(); // cancelled: nothing moves
    window_->runCommand(Command::GoToCycle);
    QCOMPARE(mw2(), 2);
    press(Qt::Key_Space);
    QCOMPARE(mw2(), 3);
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator – Zyklus 3 (zurückgegangen um 2)"));
    press(Qt::Key_Space, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(mw2(), 0);
    showMenu(Popup::Run);
    QVERIFY(!enabled(Command::StepBack) && enabled(Command::GoToCycle)); // at the oldest cycle
    press(Qt::Key_F5);
    QCOMPARE(window_->windowTitle(), QStringLiteral("SPS-Simulator"));
    QVERIFY(dialogs_->errors.isEmpty());
}

void MainWindowTest::failedLoadKeepsThePreviousProgram() {
    simClock().switchToManual();
    window_->loadProgram(files_.write("count.awl", COUNTING_PROGRAM));
    windows_->open_ = {StatusWindow::Cpu};
    window_->loadProgram(files_.write("broken.awl", "NETWORK 1\n"));
    QCOMPARE(dialogs_->errors.size(), 1);
    // The German text arrives intact from its ISO-8859-1 bytes.
    QVERIFY2(dialogs_->errors.front().contains(QStringLiteral("als nächstes Schlüsselwort")),
             qPrintable(dialogs_->errors.front()));
    QVERIFY(!window_->simulator().running() && windows_->open_.empty());
    press(Qt::Key_Space);
    QCOMPARE(mw2(), 1);

    const QString missing = files_.folder() + "/missing.awl";
    window_->loadProgram(missing);
    QCOMPARE(dialogs_->errors.last(), "Die angegebene Datei '" + missing + "' konnte nicht gefunden werden\n");
    press(Qt::Key_Space);
    QCOMPARE(mw2(), 2);
}

void MainWindowTest::loadAsksInTheLastFolder() {
    const QString path = files_.write("count.awl", COUNTING_PROGRAM);
    dialogs_->nextChoice = path;
    press(Qt::Key_F3);
    QVERIFY(window_->simulator().running());
    dialogs_->nextChoice.clear(); // cancelled: nothing happens
    press(Qt::Key_F3);
    QCOMPARE(dialogs_->foldersAsked.last(), QFileInfo(path).absolutePath());
    QVERIFY(window_->simulator().running() && windows_->closeAllCalls == 1);
}

void MainWindowTest::droppedProgramIsLoaded() {
    auto drop = [this](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &dropped);
    };
    drop(files_.write("notes.txt", COUNTING_PROGRAM));
    QVERIFY(!window_->simulator().running());
    drop(files_.write("count.awl", COUNTING_PROGRAM));
    QVERIFY2(window_->simulator().running(), qPrintable(dialogs_->errors.join(";")));
}

void MainWindowTest::beendenClosesTheWindow() {
    QSignalSpy closed(window_.get(), &MainWindow::closed);
    window_->simulator().continueRun();
    window_->action(Command::Exit)->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!window_->isVisible() && !window_->ticking());
}

// A program of the programming software in the international set.
const char* const EXPORTED_PROGRAM = "ORGANIZATION_BLOCK MAIN:OB1\r\nBEGIN\r\nNetwork 1 // Takt\r\nLD SM0.0\r\n"
                                     "INCW MW2 // jeder Zyklus\r\nEND_ORGANIZATION_BLOCK\r\n";

void MainWindowTest::failedLoadOffersTheImport() {
    simClock().switchToManual();
    const QString path = files_.write("exported.awl", EXPORTED_PROGRAM);
    window_->loadProgram(path);
    QCOMPARE(dialogs_->offers.size(), 1);
    QVERIFY(dialogs_->errors.isEmpty());
    QVERIFY2(dialogs_->offers.front().startsWith(QStringLiteral("Fehler beim einlesen nahe Zeile")),
             qPrintable(dialogs_->offers.front()));
    QVERIFY(!window_->simulator().running());

    // A file the import cannot read either gets the plain error box.
    window_->loadProgram(files_.write("broken.awl", "NETWORK 1\n"));
    QCOMPARE(dialogs_->offers.size(), 1);
    QCOMPARE(dialogs_->errors.size(), 1);

    dialogs_->acceptOffer = true;
    window_->loadProgram(path);
    QCOMPARE(dialogs_->offers.size(), 2);
    QVERIFY(window_->simulator().running());
    QVERIFY(window_->simulator().programOrigin().source == Simulator::Source::Imported);
    press(Qt::Key_F10);
    press(Qt::Key_Space);
    QCOMPARE(mw2(), 1);
}

void MainWindowTest::importChoosesAFileAndTellsOfReplacedCharacters() {
    const QString path =
        files_.write("chinese.awl", "ORGANIZATION_BLOCK \xE4\xB8\xBB:OB1\nBEGIN\nNETWORK 1\nLD I0.0\n= Q0.0\n"
                                    "END_ORGANIZATION_BLOCK\n");
    dialogs_->nextImportChoice = path;
    window_->action(Command::Import)->trigger();
    QVERIFY2(window_->simulator().running(), qPrintable(dialogs_->errors.join(";")));
    QCOMPARE(dialogs_->notices.size(), 1);
    QVERIFY2(dialogs_->notices.front().startsWith(QStringLiteral("1 Zeichen der Datei")),
             qPrintable(dialogs_->notices.front()));
    QCOMPARE(window_->simulator().programOrigin().set, MnemonicSet::International);
    QCOMPARE(dialogs_->foldersAsked.size(), 1);
}

int runMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
