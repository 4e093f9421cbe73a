#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "gui/commands.h"
#include "gui/status_windows.h"

class QWidget;

namespace sps {

class Dialogs;
class ProgramHost;
class Simulator;
class TraceInfo;
class WatchModel;

// What a status window is made from: the simulator, the dialogs, for the
// trace window the trace that its command made, and for the watch window the
// rows it shows.
struct StatusWindowSource {
    Simulator& simulator;
    // Where a window asks for a file and shows an error.
    Dialogs& dialogs;
    std::unique_ptr<TraceInfo> trace;
    WatchModel* watch = nullptr;
    // Where the program window loads.
    ProgramHost* programHost = nullptr;
};

// One kind of status window. A new kind is one row here plus its window class;
// a content that spsrun shows as well is a row of STATUS_CONTENTS in the core,
// and its kind here adds only the menu command and the greying.
struct StatusWindowKind {
    StatusWindow window;
    // Names the window on the command line (--open) and in screenshot files.
    const char* name;
    // Its window title.
    const char* title;
    // The menu command that opens it.
    Command command;
    // Whether its menu item is greyed (and its key does nothing) while it is
    // open; the trace command instead replaces an open trace window.
    bool greyedWhileOpen;
    // Makes the window, not yet shown (its title is set by whoever shows it). May throw CPUException (a ladder that
    // cannot be laid out): then no window opens.
    std::unique_ptr<QWidget> (*make)(StatusWindowSource& source);
    // Whether it stays open when a load closes the status windows: only the
    // user closes it.
    bool keptByLoads = false;
};

// Every kind, in menu order.
std::span<const StatusWindowKind> statusWindowKinds();
const StatusWindowKind& statusWindowKind(StatusWindow window);
// The kind that `command` opens, or null.
const StatusWindowKind* statusWindowOpenedBy(Command command);
// The kind called `name` on the command line, or null.
const StatusWindowKind* findStatusWindowKind(std::string_view name);

} // namespace sps
