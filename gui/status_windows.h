#pragma once

#include <cstddef>
#include <memory>

class QWidget;

namespace sps {

class TraceInfo;

// The status windows beside the main window, one of each kind at most.
enum class StatusWindow { Ladder, Asi, Cpu, Trace, Watch, Trend, Faults, Editor };
inline constexpr std::size_t STATUS_WINDOW_KINDS = 8;

// A window that may hold something the user would lose by closing it: it is
// asked before it closes.
class ClosingAsks {
public:
    virtual bool mayClose() = 0;

protected:
    ~ClosingAsks() = default;
};

// Where the main window opens and closes its status windows. The main window
// greys the items of the windows that are open; an implementation calls
// MainWindow::updateActions when a window closes by itself.
class StatusWindows {
public:
    virtual ~StatusWindows() = default;

    virtual bool isOpen(StatusWindow window) const = 0;
    // The open window of that kind, or null.
    virtual QWidget* openWindow(StatusWindow window) const = 0;
    // Opens the window of that kind unless one is open. May throw
    // CPUException (a ladder that cannot be laid out): the window then stays
    // closed.
    virtual void open(StatusWindow window) = 0;
    // Closes an open trace window and opens one showing `trace`.
    virtual void openTrace(std::unique_ptr<TraceInfo> trace) = 0;
    virtual void closeAll() = 0;
};

} // namespace sps
