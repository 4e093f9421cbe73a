#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/front_end.h"

namespace sps {

// A front end that shows nothing: for tests that look at the simulator's
// state rather than at what it reports.
class SilentFrontEnd final : public FrontEnd {
public:
    void showError(const CPUException&) override {}
    void closeStatusWindows() override {}
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo>) override {}
    void breakpointReached(int, const std::string&, std::uint64_t) override {}
    void programStopped(std::uint64_t) override {}
    void networkReached(const NetworkPlace&, const NetworkPlace&, bool, int, std::uint64_t) override {}
};

} // namespace sps
