#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace sps {

// The last resort of the time limit. A script is stopped between its lines,
// between the blocks of a long line and between the steps of a command; a
// script stuck where none of these come (waiting for standard input that
// stays open, for someone to read standard output, in one long command)
// cannot be. When the script has not been stopped `grace` after its
// deadline, the watchdog prints the complaint the runner would print,
// "PREFIXline L: timeout after SECONDS s", and ends the whole run with exit
// status 2.
class Watchdog {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds GRACE{1};

    Watchdog(Clock::time_point deadline, std::string prefix, std::uint32_t seconds, Clock::duration grace = GRACE);
    // Stands the watchdog down.
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // The line the script is at, for the complaint.
    void atLine(int line) { line_.store(line, std::memory_order_relaxed); }

    // The runner stops the script itself: from here on the watchdog does
    // nothing. Called before the runner reports the timeout, it does not
    // return if the watchdog has begun to end the run, so that the complaint
    // is printed once.
    void standDown();

private:
    void watch(Clock::time_point alarm);
    [[noreturn]] void endRun() const;

    const std::string prefix_;
    const std::uint32_t seconds_;
    std::atomic<int> line_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stoodDown_ = false;
    std::thread thread_; // last: it starts once everything above is set
};

} // namespace sps
