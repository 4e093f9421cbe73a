#pragma once

// What the harnesses share: a fresh clock and random source per input, a
// scratch folder of the process for the files an input becomes, and a front
// end without windows.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "shell/front_end.h"
#include "shell/trace_info.h"

namespace sps::fuzz {

// Manual clock at 0 ms with divisor 1 and the random source seeded with 1,
// whatever the previous input left, so that every input runs the same way
// alone and in a sequence.
void resetClockAndRandom();

// A folder of this process's own below the system's temporary folder,
// created on first use.
const std::filesystem::path& scratchFolder();

// Writes `bytes` to `path` as they are.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// The input as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Keeps the last trace as the trace window would and forgets it when a load
// closes the status windows; errors are counted, not shown.
class QuietFrontEnd final : public FrontEnd {
public:
    void showError(const CPUException&) override { ++errors; }
    void closeStatusWindows() override { trace.reset(); }
    void repaintMain() override {}
    void openTrace(std::unique_ptr<TraceInfo> opened) override { trace = std::move(opened); }
    void breakpointReached(int, const std::string&, std::uint64_t) override {}
    void programStopped(std::uint64_t) override {}
    void networkReached(const NetworkPlace&, const NetworkPlace&, bool, int, std::uint64_t) override {}

    int errors = 0;
    std::unique_ptr<TraceInfo> trace;
};

} // namespace sps::fuzz
