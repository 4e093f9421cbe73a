#include "cli/watchdog.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cli/script_result.h"

namespace sps {

Watchdog::Watchdog(Clock::time_point deadline, std::string prefix, std::uint32_t seconds, Clock::duration grace)
    : prefix_(std::move(prefix)), seconds_(seconds), thread_([this, alarm = deadline + grace] { watch(alarm); }) {}

Watchdog::~Watchdog() {
    standDown();
    thread_.join();
}

void Watchdog::standDown() {
    // While the watchdog ends the run it holds the lock until the process is gone.
    const std::lock_guard lock(mutex_);
    stoodDown_ = true;
    wake_.notify_one();
}

void Watchdog::watch(Clock::time_point alarm) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, alarm, [this] { return stoodDown_; })) return;
    endRun();
}

void Watchdog::endRun() const {
    // What the script printed comes before the complaint, as with the
    // runner's own complaints; but not when the script is stuck writing it
    // (holding the stream) or nobody reads it (the flush would wait too).
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    if (::poll(&out, 1, 0) == 1 && (out.revents & POLLOUT) != 0 && ::ftrylockfile(stdout) == 0) {
        std::fflush(stdout);
        ::funlockfile(stdout);
    }
    // Straight to the descriptor: the stream may be held by the stuck script.
    const std::string complaint = prefix_ + "line " + std::to_string(line_.load(std::memory_order_relaxed)) +
                                  ": timeout after " + std::to_string(seconds_) + " s\n";
    for (std::size_t written = 0; written < complaint.size();) {
        const ssize_t n = ::write(STDERR_FILENO, complaint.data() + written, complaint.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    std::_Exit(SCRIPT_INVALID);
}

} // namespace sps
