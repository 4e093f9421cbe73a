#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "cpu/cpu.h"
#include "cpu/program.h"

namespace sps {

// A network of the running program: its block and its index there.
struct NetworkPlace {
    const Block* block = nullptr;
    std::size_t network = 0;

    bool operator==(const NetworkPlace&) const = default;
    explicit operator bool() const { return block != nullptr; }
};

// One scan that can stop before any of its networks and go on later, for
// network stepping and network breakpoints. The scan runs on a thread of its
// own, but never at the same time as its caller: begin and resume return
// only once the scan stands still again (paused before a network, or ended),
// so the simulator, the windows and the scan take turns as on one thread.
// What the scan does to memory is done when it pauses: every window shows
// that point; the output image reaches the station only when the scan ends.
class SteppedScan final : public NetworkGate {
public:
    enum class Result { Paused, Ended };
    // Whether the scan stops before `next`, given how many networks began
    // since the last begin or resume.
    using PauseRule = std::function<bool(const NetworkPlace& next, int networksRun)>;

    explicit SteppedScan(CPU& cpu) : cpu_(cpu) {}
    // Abandons a scan that still stands paused.
    ~SteppedScan();
    SteppedScan(const SteppedScan&) = delete;
    SteppedScan& operator=(const SteppedScan&) = delete;

    // Runs a scan until the rule stops it or it ends; rethrows the
    // CPUException that ended it.
    Result begin(PauseRule rule);
    // Runs the paused scan on, with a new rule.
    Result resume(PauseRule rule);
    // Ends a paused scan where it stands (its later networks never run, its
    // outputs never reach the station): before a load or a reset.
    void abandon();

    bool paused() const { return state_ == State::Paused; }
    // Where the scan stands while paused: the network it runs next, and the
    // one that began last before it (none at the first network).
    const NetworkPlace& next() const { return next_; }
    const NetworkPlace& last() const { return last_; }

    // NetworkGate, on the scan's thread.
    void beforeNetwork(const Block& block, std::size_t network) override;

private:
    enum class State { Idle, Running, Paused, Ended };
    struct Abandoned {};

    Result waitWhileRunning(std::unique_lock<std::mutex>& lock);
    void finish();

    CPU& cpu_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::thread thread_;
    State state_ = State::Idle;
    bool abandoning_ = false;
    PauseRule rule_;
    int networksRun_ = 0;
    NetworkPlace next_;
    NetworkPlace last_;
    std::exception_ptr failure_;
};

} // namespace sps
