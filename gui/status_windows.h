#pragma once

#include <memory>

namespace sps {

class TraceInfo;

// The four status windows beside the main window.
enum class StatusWindow { Ladder, Asi, Cpu, Trace };

// Where the main window opens and closes its status windows. The main window
// greys "Debugansicht", "ASI-Status" and "CPU-Status" while their window is
// open; an implementation calls MainWindow::updateActions when a window
// closes by itself.
class StatusWindows {
public:
    virtual ~StatusWindows() = default;

    virtual bool isOpen(StatusWindow window) const = 0;
    // Opens the ladder, AS-i or CPU window (at most one of each kind). May
    // throw CPUException (a ladder that cannot be laid out): the window then
    // stays closed.
    virtual void open(StatusWindow window) = 0;
    // Closes an open trace window and opens one showing `trace`.
    virtual void openTrace(std::unique_ptr<TraceInfo> trace) = 0;
    virtual void closeAll() = 0;
};

// The main window without status windows: nothing opens, so nothing is ever
// open, and a trace is dropped.
class NoStatusWindows final : public StatusWindows {
public:
    bool isOpen(StatusWindow) const override { return false; }
    void open(StatusWindow) override {}
    void openTrace(std::unique_ptr<TraceInfo> trace) override;
    void closeAll() override {}
};

} // namespace sps
