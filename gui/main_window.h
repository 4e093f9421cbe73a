#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QTimer>

#include "gui/commands.h"
#include "gui/dialogs.h"
#include "gui/program_window.h"
#include "gui/status_windows.h"
#include "shell/front_end.h"
#include "shell/recorder.h"

class QAction;
class QMenu;

namespace sps {

class FramePacer;
class Simulator;
class StationWidget;
class WatchModel;

// The simulator's main window "SPS-Simulator": the station, the menu with
// its accelerators, and the 1-ms timer that drives the simulation. It owns
// the simulator and is its front end. Every entry point (tick, command,
// key, mouse, control) reports a CPUException in the error box; none
// escapes into the event loop.
class MainWindow final : public QMainWindow, public FrontEnd, public CommandTarget, public ProgramHost {
    Q_OBJECT
public:
    // `dialogs` null: the platform's message box and file dialog.
    explicit MainWindow(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    Simulator& simulator() override { return *simulator_; }
    StationWidget& station() { return *station_; }
    // The modal dialogs, for the status windows too.
    Dialogs& dialogs() override { return *dialogs_; }
    QAction* action(Command command) const { return actions_.at(command); }
    QMenu* popup(Popup popup) const { return popups_.at(popup); }
    // Whether the timer runs: only while the simulation does.
    bool ticking() const { return timer_.isActive(); }
    // Simulation steps the timer has run so far.
    long long stepsRun() const { return stepsRun_; }

    // The rows of the watch window, kept while the window is closed.
    WatchModel& watchModel() { return *watch_; }

    // The status windows: at first real ones that show when they open.
    StatusWindows& statusWindows() override { return *statusWindows_; }
    void setStatusWindows(std::unique_ptr<StatusWindows> windows);

    // Carries out a menu command, unless the menu greys it now.
    void runCommand(Command command);
    // Loads `path` as if the user had chosen it in the file dialog.
    void loadProgram(const QString& path) override;
    // Imports `path` as if the user had chosen it for "Datei/Importieren".
    void importProgram(const QString& path) override;
    // The open program window, or null.
    ProgramWindow* programWindow() const;
    // "Datei/Zuletzt geöffnet": the files last loaded or imported, newest first.
    QMenu* recentMenu() const { return recent_; }
    static constexpr int RECENT_FILES = 8;
    // CommandTarget
    void chooseAndLoad() override;
    void chooseAndImport() override;
    void chooseAndGoToCycle() override;
    void exit() override { close(); }
    void reloadProgram() override;
    void newProgram() override;
    // Runs `count` simulation steps at once (the command line's --steps).
    void runSteps(long long count);
    // Runs `ms` milliseconds of simulated time on the manual clock, 10 ms and
    // one step at a time (the command line's --run).
    void runTime(std::uint32_t ms);
    // Records `operand` from the next step on (the command line's --record);
    // an operand that cannot be recorded is shown in the error box.
    void recordOperand(const std::string& operand, std::optional<SignalType> type);
    // The scan driver, run by the 1-ms timer while the simulation runs.
    void tick();

    // FrontEnd
    void showError(const CPUException& error) override;
    void closeStatusWindows() override;
    void repaintMain() override;
    void openTrace(std::unique_ptr<TraceInfo> trace) override;
    // The title shows the condition and the cycle, and the watch window its
    // row, until the run goes on.
    void breakpointReached(int number, const std::string& condition, std::uint64_t cycle) override;
    // The error box with the button "Importieren", which imports the file
    // once the load has ended.
    void offerImport(const CPUException& error, const std::string& path) override;
    // The title says so, as at a breakpoint, until the run goes on.
    void programStopped(std::uint64_t cycle) override;
    // The title names the network ("angehalten: OB1 Netzwerk 3 (Zyklus K)",
    // or the breakpoint's line), and the ladder window, if open, marks it
    // and scrolls to it.
    void networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                        std::uint64_t cycle) override;
    // An open trace window shows the stepped scan's trace so far.
    void updateTrace(std::unique_ptr<TraceInfo> trace) override;
    void showNotice(const std::string& text) override;
    // In the past the title says where: "Zyklus 4211 (zurückgegangen um 3)".
    void historyMoved(std::uint64_t cycle, std::uint64_t stepsBack) override;

public slots:
    // Greys the menu items by the enabling rules (their keys follow).
    void updateActions();

signals:
    // The user closed the window: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createMenus();
    // The recent files, kept in the settings, as the submenu's items.
    void rememberRecent(const QString& path, bool import);
    void fillRecentMenu();
    // Load and import: the program from `path` replaces the running one.
    void readProgram(const QString& path, bool import);
    // After a command: the timer runs exactly while the simulation does, and
    // the menu shows what is possible now.
    void settle();
    CommandState commandState() const;

    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<StatusWindows> statusWindows_;
    std::unique_ptr<Simulator> simulator_;
    std::unique_ptr<WatchModel> watch_;
    StationWidget* station_ = nullptr;
    // The station shows the simulation at most once per frame of the screen.
    FramePacer* stationFrames_ = nullptr;
    QTimer timer_;
    long long stepsRun_ = 0;
    std::map<Command, QAction*> actions_;
    std::map<Popup, QMenu*> popups_;
    QString importOffered_; // the file whose failed load the user chose to import
    QMenu* recent_ = nullptr;
};

} // namespace sps
