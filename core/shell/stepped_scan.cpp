#include "shell/stepped_scan.h"

#include <utility>

#include "cpu/engine.h"

namespace sps {

SteppedScan::~SteppedScan() { abandon(); }

SteppedScan::Result SteppedScan::begin(PauseRule rule) {
    abandon();
    std::unique_lock lock(mutex_);
    rule_ = std::move(rule);
    networksRun_ = 0;
    next_ = {};
    last_ = {};
    failure_ = nullptr;
    abandoning_ = false;
    state_ = State::Running;
    cpu_.networkGate = this;
    thread_ = std::thread([this] {
        try {
            scanCycle(cpu_);
        } catch (const Abandoned&) {
            // Left where it stood.
        } catch (...) {
            failure_ = std::current_exception();
        }
        const std::lock_guard finished(mutex_);
        state_ = State::Ended;
        turn_.notify_all();
    });
    return waitWhileRunning(lock);
}

SteppedScan::Result SteppedScan::resume(PauseRule rule) {
    std::unique_lock lock(mutex_);
    if (state_ != State::Paused) return Result::Ended;
    rule_ = std::move(rule);
    networksRun_ = 0;
    state_ = State::Running;
    turn_.notify_all();
    return waitWhileRunning(lock);
}

void SteppedScan::abandon() {
    {
        std::unique_lock lock(mutex_);
        if (state_ == State::Paused) {
            abandoning_ = true;
            state_ = State::Running;
            turn_.notify_all();
            turn_.wait(lock, [this] { return state_ == State::Ended; });
        }
    }
    finish();
}

void SteppedScan::beforeNetwork(const Block& block, std::size_t network) {
    std::unique_lock lock(mutex_);
    const NetworkPlace place{&block, network};
    if (rule_ && rule_(place, networksRun_)) {
        next_ = place;
        state_ = State::Paused;
        turn_.notify_all();
        turn_.wait(lock, [this] { return state_ == State::Running; });
        if (abandoning_) throw Abandoned{};
    }
    last_ = place;
    ++networksRun_;
}

SteppedScan::Result SteppedScan::waitWhileRunning(std::unique_lock<std::mutex>& lock) {
    turn_.wait(lock, [this] { return state_ != State::Running; });
    if (state_ == State::Paused) return Result::Paused;
    lock.unlock();
    finish();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return Result::Ended;
}

void SteppedScan::finish() {
    if (thread_.joinable()) thread_.join();
    cpu_.networkGate = nullptr;
    const std::lock_guard lock(mutex_);
    if (state_ == State::Ended) state_ = State::Idle;
}

} // namespace sps
