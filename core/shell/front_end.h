#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace sps {

class CPUException;
class TraceInfo;
struct NetworkPlace;

// What the simulator asks of whichever front end drives it (the desktop
// window or the headless runner). The simulator never knows whether a window
// exists.
class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The error box: caption "Fehler", the exception's text, one OK button.
    virtual void showError(const CPUException& error) = 0;
    // Closes every open status window (ladder, AS-i, CPU, trace).
    virtual void closeStatusWindows() = 0;
    // Repaints the main window (the station).
    virtual void repaintMain() = 0;
    // Closes an open trace window and opens one titled "Trace" with `trace`.
    virtual void openTrace(std::unique_ptr<TraceInfo> trace) = 0;
    // The run stopped after the step `cycle` (counted since the last load), in
    // which breakpoint `number` with the text `condition` (ISO-8859-1) became true.
    virtual void breakpointReached(int number, const std::string& condition, std::uint64_t cycle) = 0;
    // A scan stopped in cycle `cycle` before network `next`, after `last`
    // (none at its first network): by a network step (`step`), which shows
    // `last` ("OB1 Netzwerk 3"), or by network breakpoint `breakpoint`,
    // which shows `next`.
    virtual void networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                                std::uint64_t cycle) = 0;
    // The trace of the scan so far, while network steps go through it; the
    // trace window (if one is open) shows it.
    virtual void updateTrace(std::unique_ptr<TraceInfo> /*trace*/) {}
    // The run stopped after the step `cycle`, in which the program's STOP ran.
    virtual void programStopped(std::uint64_t cycle) = 0;
    // A load failed on a file that the import reads: the error box as
    // showError, and the offer to import `path`.
    virtual void offerImport(const CPUException& error, const std::string& /*path*/) { showError(error); }
    // A note about the program just read (ISO-8859-1), such as the
    // characters the import shows as "?".
    virtual void showNotice(const std::string& /*text*/) {}
    // The scan history put back the state after cycle `cycle`, `stepsBack`
    // steps before the newest one kept (0: the present again).
    virtual void historyMoved(std::uint64_t /*cycle*/, std::uint64_t /*stepsBack*/) {}
};

} // namespace sps
