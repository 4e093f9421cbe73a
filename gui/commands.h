#pragma once

#include <set>
#include <span>

#include <QKeyCombination>
#include <QString>

#include "gui/status_windows.h"

class QAction;
class QObject;

namespace sps {

class Simulator;
class StatusWindows;

// What the menu's commands act on: the main window.
class CommandTarget {
public:
    virtual Simulator& simulator() = 0;
    virtual StatusWindows& statusWindows() = 0;
    // "Datei/Laden" and "Datei/Importieren": the file dialog, then the program.
    virtual void chooseAndLoad() = 0;
    virtual void chooseAndImport() = 0;
    // "Run/Zurück zu …": asks for a cycle within the history, then goes there.
    virtual void chooseAndGoToCycle() = 0;
    // "Datei/Neu laden": the running program's file again, without a dialog.
    virtual void reloadProgram() = 0;
    // "Datei/Neu": a new program in the program window.
    virtual void newProgram() = 0;
    // Closes the main window, which ends the program.
    virtual void exit() = 0;

protected:
    ~CommandTarget() = default;
};

struct CommandState;

// The commands of the main window's menu, numbered as its items.
enum class Command {
    Load = 101,
    Slower = 102,
    Exit = 103,
    Faster = 104,
    Continue = 105,
    Stop = 106,
    SingleStep = 107,
    Ladder = 108,
    Reset = 109,
    Automatic = 110,
    Manual = 111,
    Step1 = 112,
    Step10 = 113,
    Step100 = 114,
    Step1000 = 115,
    AsiStatus = 116,
    CpuStatus = 117,
    Watch = 118,
    Trace = 120,
    Trend = 121,
    Import = 122,
    NetworkStep = 123,
    StepBack = 124,
    GoToCycle = 125,
    Faults = 126,
    Editor = 127, // the program window
    Reload = 128,
    New = 129,
};

enum class Popup { File, Timer, Run };

// One item of the menu: its popup, text with mnemonic (UTF-8), whether a
// separator stands above it, its keys (the first is the one the menu shows),
// when it is offered, and what it does. A command that opens a status window
// is greyed by that window's kind instead while the window is open.
struct MenuItem {
    Popup popup;
    Command command;
    const char* text;
    bool separatorAbove;
    QKeyCombination keys[2];
    bool (*offered)(const CommandState& state) = nullptr;
    void (*run)(CommandTarget& target) = nullptr;
};

// The menu bar, popup by popup, items in menu order.
std::span<const MenuItem> menuItems();
// The popup's title with its mnemonic.
const char* popupTitle(Popup popup);

// The item's action, owned by `parent`: its text (the table is UTF-8 source)
// and its keys.
QAction* makeAction(const MenuItem& item, QObject* parent);

// What the enabling rules look at.
struct CommandState {
    bool running = false;
    bool manualClock = false;
    bool canSlower = false;
    bool canFaster = false;
    bool canGoBack = false;      // stopped, with scans kept before the state shown
    bool canChooseCycle = false; // stopped, with more than one cycle kept
    std::set<StatusWindow> openWindows;
};

// Whether the menu offers `command` in `state`; a command it greys is not
// carried out by its key either.
bool commandEnabled(Command command, const CommandState& state);

// Carries out `command` on `target` (whether it is offered is the caller's
// question); throws the CPUException of the simulator.
void runMenuCommand(Command command, CommandTarget& target);

} // namespace sps
