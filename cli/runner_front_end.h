#pragma once

#include <memory>
#include <string>

#include "shell/front_end.h"
#include "shell/trace_info.h"

namespace sps {

class Output;

// The simulator's front end without windows: an error box becomes the line
// "Fehler: " and its text; the trace window becomes the last trace kept for
// `trace` and `show trace`. Closing the status windows forgets that trace. A
// stop at a breakpoint is a line as well.
class RunnerFrontEnd final : public FrontEnd {
public:
    explicit RunnerFrontEnd(Output& output) : output_(output) {}

    void showError(const CPUException& error) override;
    void closeStatusWindows() override { trace_.reset(); }
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo> trace) override { trace_ = std::move(trace); }
    // The line "Haltepunkt N: CONDITION (Zyklus K)".
    void breakpointReached(int number, const std::string& condition, std::uint64_t cycle) override;
    // "Netzwerkschritt: OB1 Netzwerk 3 (Zyklus K)", the network that ran, or
    // "Haltepunkt N: OB1 Netzwerk 3 (Zyklus K)", the network it stopped before.
    void networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                        std::uint64_t cycle) override;
    // The trace window's content follows a stepped scan.
    void updateTrace(std::unique_ptr<TraceInfo> trace) override { trace_ = std::move(trace); }
    // The line "Angehalten durch STOP (Zyklus K)".
    void programStopped(std::uint64_t cycle) override;
    // The line "Hinweis: " and the note.
    void showNotice(const std::string& text) override;

    // The text of the last error shown (ISO-8859-1); empty before the first.
    const std::string& lastError() const { return lastError_; }

    // The trace window's content, or null when none is open.
    TraceInfo* lastTrace() const { return trace_.get(); }

private:
    Output& output_;
    std::unique_ptr<TraceInfo> trace_;
    std::string lastError_;
};

} // namespace sps
