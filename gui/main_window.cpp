#include "gui/main_window.h"

#include <utility>

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "gui/art_resources.h"
#include "gui/core_text.h"
#include "gui/dialogs.h"
#include "gui/frame_pacer.h"
#include "gui/info_wnd.h"
#include "gui/ladder_signals.h"
#include "gui/painter_canvas.h"
#include "gui/station_widget.h"
#include "gui/status_window_kinds.h"
#include "gui/status_window_set.h"
#include "gui/watch_model.h"
#include "ladder/kop_net.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"
#include "shell/stepped_scan.h"
#include "shell/trace_info.h"

namespace sps {

namespace {

const QString LAST_FOLDER_KEY = QStringLiteral("load/lastFolder");
// The recent files, newest first, each "load:PATH" or "import:PATH".
const QString RECENT_KEY = QStringLiteral("load/recentFiles");
const QString LOADED_PREFIX = QStringLiteral("load:");
const QString IMPORTED_PREFIX = QStringLiteral("import:");

const QString MAIN_TITLE = QStringLiteral("SPS-Simulator");

// The one local *.awl file of a drag, or empty.
QString droppedProgram(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".awl"), Qt::CaseInsensitive) ? path : QString();
}

} // namespace

MainWindow::MainWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()),
      simulator_(std::make_unique<Simulator>(*this)), watch_(std::make_unique<WatchModel>(*simulator_)) {
    setWindowTitle(MAIN_TITLE);
    setWindowIcon(applicationIcon());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(160, 160, 164));
    setPalette(background);

    station_ = new StationWidget(simulator_->target(), *this, this);
    setCentralWidget(station_);
    stationFrames_ = new FramePacer(*station_, this);
    createActions();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);
    station_->setFocus();

    statusWindows_ = std::make_unique<StatusWindowSet>(*this);

    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::tick);
    // While the run is stopped the program window follows the mouse in the
    // ladder window; a double click there shows the network's source.
    connect(&LadderSignals::instance(), &LadderSignals::networkHovered, this,
            [this](const Block*, const Network* network) {
                if (ProgramWindow* program = programWindow(); program != nullptr && !simulator_->running())
                    program->showNetwork(network);
            });
    connect(&LadderSignals::instance(), &LadderSignals::networkActivated, this,
            [this](const Block*, const Network* network) {
                runCommand(Command::Editor);
                if (ProgramWindow* program = programWindow()) program->goToNetwork(network);
            });
    settle();
}

MainWindow::~MainWindow() {
    timer_.stop();
    // The status windows show the simulator's state, and the simulator
    // reports to this window: they go first, in this order.
    statusWindows_.reset();
    watch_.reset();
    simulator_.reset();
}

void MainWindow::createActions() {
    for (const MenuItem& item : menuItems()) {
        QAction* action = makeAction(item, this);
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        actions_[command] = action;
    }
}

void MainWindow::createMenus() {
    for (const MenuItem& item : menuItems()) {
        QMenu*& menu = popups_[item.popup];
        if (menu == nullptr) {
            menu = menuBar()->addMenu(QString::fromUtf8(popupTitle(item.popup)));
            connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateActions);
        }
        if (item.separatorAbove) menu->addSeparator();
        menu->addAction(actions_.at(item.command));
        if (item.command == Command::New) {
            recent_ = menu->addMenu(QStringLiteral("&Zuletzt geöffnet"));
            connect(recent_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
            fillRecentMenu();
        }
        // The shortcuts work while the menu bar is closed too.
        addAction(actions_.at(item.command));
    }
}

void MainWindow::setStatusWindows(std::unique_ptr<StatusWindows> windows) {
    statusWindows_ = std::move(windows);
    updateActions();
}

CommandState MainWindow::commandState() const {
    const SimClock& clock = simClock();
    CommandState state;
    state.running = simulator_->running();
    state.manualClock = clock.isManual();
    state.canSlower = clock.canSlower();
    state.canFaster = clock.canFaster();
    if (simulator_->canGoBack()) {
        const ScanHistory& history = simulator_->history();
        state.canGoBack = simulator_->cycle() > history.oldest();
        state.canChooseCycle = history.newest() > history.oldest();
    }
    for (const StatusWindowKind& kind : statusWindowKinds())
        if (statusWindows_->isOpen(kind.window)) state.openWindows.insert(kind.window);
    return state;
}

void MainWindow::updateActions() {
    const CommandState state = commandState();
    for (const auto& [command, action] : actions_) action->setEnabled(commandEnabled(command, state));
}

void MainWindow::settle() {
    // A run that goes on again takes back the breakpoint's title and row.
    if (simulator_->running()) {
        setWindowTitle(MAIN_TITLE);
        watch_->runContinued();
    }
    if (simulator_->running() && !timer_.isActive())
        timer_.start();
    else if (!simulator_->running() && timer_.isActive())
        timer_.stop();
    updateActions();
}

void MainWindow::runCommand(Command command) {
    if (!commandEnabled(command, commandState())) return;
    try {
        runMenuCommand(command, *this);
    } catch (const CPUException& error) {
        showError(error);
    }
    if (command != Command::Exit) settle();
}

void MainWindow::chooseAndLoad() {
    QSettings settings;
    const QString path = dialogs_->chooseProgram(this, settings.value(LAST_FOLDER_KEY).toString());
    if (!path.isEmpty()) loadProgram(path);
}

void MainWindow::chooseAndImport() {
    QSettings settings;
    const QString path = dialogs_->chooseImport(this, settings.value(LAST_FOLDER_KEY).toString());
    if (!path.isEmpty()) importProgram(path);
}

void MainWindow::chooseAndGoToCycle() {
    const ScanHistory& history = simulator_->history();
    if (!simulator_->canGoBack()) return;
    if (const auto cycle = dialogs_->chooseCycle(this, simulator_->cycle(), history.oldest(), history.newest()))
        simulator_->goToCycle(*cycle);
}

void MainWindow::rememberRecent(const QString& path, bool import) {
    QSettings settings;
    QStringList recent = settings.value(RECENT_KEY).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeIf([&absolute](const QString& entry) { return entry.section(QLatin1Char(':'), 1) == absolute; });
    recent.prepend((import ? IMPORTED_PREFIX : LOADED_PREFIX) + absolute);
    while (recent.size() > RECENT_FILES) recent.removeLast();
    settings.setValue(RECENT_KEY, recent);
}

void MainWindow::fillRecentMenu() {
    recent_->clear();
    const QStringList recent = QSettings().value(RECENT_KEY).toStringList();
    for (const QString& entry : recent) {
        const bool import = entry.startsWith(IMPORTED_PREFIX);
        const QString path = entry.section(QLatin1Char(':'), 1);
        QAction* item = recent_->addAction(QFileInfo(path).fileName() + QStringLiteral("  (") + path +
                                           (import ? QStringLiteral(", importiert)") : QStringLiteral(")")));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path, import] { readProgram(path, import); });
    }
    recent_->setEnabled(!recent.isEmpty());
}

ProgramWindow* MainWindow::programWindow() const {
    return qobject_cast<ProgramWindow*>(statusWindows_->openWindow(StatusWindow::Editor));
}

void MainWindow::reloadProgram() {
    const Simulator::ProgramOrigin& origin = simulator_->programOrigin();
    if (origin.source == Simulator::Source::None) {
        dialogs_->showError(this, fromCore(MessageKey("No program loaded").text()));
        return;
    }
    readProgram(QFile::decodeName(origin.path.c_str()), origin.source == Simulator::Source::Imported);
}

void MainWindow::newProgram() {
    statusWindows_->open(StatusWindow::Editor);
    ProgramWindow* program = programWindow();
    if (program != nullptr && program->mayClose()) program->openSkeleton();
}

void MainWindow::loadProgram(const QString& path) { readProgram(path, false); }

void MainWindow::importProgram(const QString& path) { readProgram(path, true); }

void MainWindow::readProgram(const QString& path, bool import) {
    QSettings().setValue(LAST_FOLDER_KEY, QFileInfo(path).absolutePath());
    const auto before = simulator_->cpu().program;
    const std::string file = QFile::encodeName(path).toStdString();
    importOffered_.clear();
    try {
        if (import)
            simulator_->importProgram(file);
        else
            simulator_->load(file);
    } catch (const CPUException& error) {
        showError(error);
    }
    // A load that failed keeps the program, and the watch table with it.
    if (simulator_->cpu().program != before) {
        watch_->programLoaded(QFileInfo(path).canonicalFilePath());
        rememberRecent(path, import);
        if (ProgramWindow* program = programWindow()) program->programLoaded(path, import);
    }
    station_->update();
    settle();
    if (!importOffered_.isEmpty()) importProgram(std::exchange(importOffered_, {}));
}

void MainWindow::runSteps(long long count) {
    try {
        if (simulator_->runSteps(count)) repaintMain();
    } catch (const CPUException& error) {
        showError(error);
    }
    settle();
}

void MainWindow::runTime(std::uint32_t ms) {
    SimClock& clock = simClock();
    if (!clock.isManual()) clock.switchToManual();
    constexpr std::uint32_t STEP_MS = 10;
    try {
        for (std::uint32_t added = 0; added < ms;) {
            const std::uint32_t dt = std::min(STEP_MS, ms - added);
            clock.advance(dt);
            added += dt;
            if (!simulator_->runSteps(1)) break;
        }
        repaintMain();
    } catch (const CPUException& error) {
        showError(error);
    }
    settle();
}

void MainWindow::recordOperand(const std::string& operand, std::optional<SignalType> type) {
    try {
        simulator_->recorder().record(operand, type);
    } catch (const CPUException& error) {
        dialogs_->showError(this, QString::fromStdString(operand) + QStringLiteral(": ") +
                                      QString::fromLatin1(error.messageText()).trimmed());
    }
}

void MainWindow::tick() {
    const bool wasRunning = simulator_->running();
    try {
        simulator_->timerTick();
    } catch (const CPUException& error) {
        showError(error);
    }
    if (!simulator_->running())
        settle();
    else if (wasRunning)
        stepsRun_ += Simulator::STEPS_PER_TICK;
}

void MainWindow::offerImport(const CPUException& error, const std::string& path) {
    settle();
    if (dialogs_->offerImport(this, QString::fromLatin1(error.messageText())))
        importOffered_ = QFile::decodeName(path.c_str());
}

void MainWindow::showNotice(const std::string& text) { dialogs_->showNotice(this, QString::fromLatin1(text)); }

void MainWindow::showError(const CPUException& error) {
    // The run has stopped: no tick may reach the simulator while the box waits.
    settle();
    dialogs_->showError(this, QString::fromLatin1(error.messageText()));
}

void MainWindow::closeStatusWindows() { statusWindows_->closeAll(); }

void MainWindow::repaintMain() { stationFrames_->request(); }

void MainWindow::openTrace(std::unique_ptr<TraceInfo> trace) { statusWindows_->openTrace(std::move(trace)); }

void MainWindow::breakpointReached(int number, const std::string& condition, std::uint64_t cycle) {
    settle();
    watch_->breakpointReached(number);
    setWindowTitle(QStringLiteral("%1 – angehalten: %2 (Zyklus %3)")
                       .arg(MAIN_TITLE, QString::fromLatin1(condition), QString::number(cycle)));
}

void MainWindow::networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                                std::uint64_t cycle) {
    settle();
    const NetworkPlace& shown = step ? last : next;
    const Network& network = shown.block->networks[shown.network];
    const QString where =
        QStringLiteral("%1 Netzwerk %2").arg(QString::fromLatin1(shown.block->label)).arg(network.number);
    if (step)
        setWindowTitle(
            QStringLiteral("%1 – angehalten: %2 (Zyklus %3)").arg(MAIN_TITLE, where, QString::number(cycle)));
    else
        setWindowTitle(QStringLiteral("%1 – Haltepunkt %2: %3 (Zyklus %4)")
                           .arg(MAIN_TITLE, QString::number(breakpoint), where, QString::number(cycle)));
    if (ProgramWindow* program = programWindow()) program->showNetwork(&network);
    auto* ladder = dynamic_cast<InfoWnd*>(statusWindows_->openWindow(StatusWindow::Ladder));
    if (ladder == nullptr) return;
    if (auto* net = dynamic_cast<KOPNet*>(&ladder->content())) {
        net->mark(&network);
        PainterCanvas measuring(nullptr, ladder->unit().width(), ladder->unit().height(), 0, 0, 0, 0, 0);
        const int top = net->rungTop(measuring, &network);
        if (top >= 0) ladder->scrollToContentY(top);
        ladder->refresh();
    }
}

void MainWindow::updateTrace(std::unique_ptr<TraceInfo> trace) {
    if (statusWindows_->isOpen(StatusWindow::Trace)) statusWindows_->openTrace(std::move(trace));
}

void MainWindow::programStopped(std::uint64_t cycle) {
    settle();
    setWindowTitle(QStringLiteral("%1 – angehalten durch STOP (Zyklus %2)").arg(MAIN_TITLE, QString::number(cycle)));
}

void MainWindow::historyMoved(std::uint64_t, std::uint64_t stepsBack) {
    if (stepsBack == 0)
        setWindowTitle(MAIN_TITLE);
    else
        setWindowTitle(QStringLiteral("%1 – %2").arg(MAIN_TITLE, QString::fromLatin1(simulator_->historyPosition())));
    station_->update();
    updateActions();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Unsaved edits of the program window are never lost silently.
    if (ProgramWindow* program = programWindow(); program != nullptr && !program->mayClose()) {
        event->ignore();
        return;
    }
    timer_.stop();
    event->accept();
    emit closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedProgram(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedProgram(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    loadProgram(path);
}

} // namespace sps
