#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace sps {

// The changes from one state image to the next: the new image's size and the
// runs of bytes that differ, each as its offset, its length and the new bytes.
class StateDelta {
public:
    // The delta that turns `from` into `to`.
    static StateDelta between(std::span<const std::uint8_t> from, std::span<const std::uint8_t> to);
    // Turns the image it was made from into the one it was made to.
    void applyTo(std::vector<std::uint8_t>& image) const;
    std::size_t bytes() const { return runs_.size(); }

private:
    std::uint32_t size_ = 0;
    std::vector<std::uint8_t> runs_;
};

// How a simulation step ran, so that it can be run again exactly: the
// clock's reading during it, and whether the station's step followed the
// scan (it does not after a scan that failed, except in a traced step).
struct StepRecord {
    std::uint32_t time = 0;
    bool plantStep = true;
};

// The states of the last scans, kept small. The state at cycle C is the one
// the next step starts from: after step C and whatever changed from outside
// before step C + 1 (a switch, a force, a written value, a new seed). Full
// state images are kept only at checkpoints: every CHECKPOINT_INTERVAL steps
// and wherever something changed from outside, each stored as its changes
// from the one before. Between them only how each step ran is kept: the
// state at any cycle is the checkpoint before it with the steps after it run
// again, which a deterministic simulation repeats exactly.
//
// It keeps at least `limit` steps, or as many as fit in BYTE_BUDGET; older
// checkpoints and their steps are dropped, so that the oldest kept cycle
// moves on in jumps of up to CHECKPOINT_INTERVAL.
class ScanHistory {
public:
    static constexpr std::size_t DEFAULT_LIMIT = 10000;
    static constexpr std::size_t MAX_LIMIT = 1000000;
    static constexpr std::uint64_t CHECKPOINT_INTERVAL = 256;
    static constexpr std::size_t BYTE_BUDGET = std::size_t{64} << 20;

    // The number of steps kept; 0 keeps none (the history is off).
    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit);
    bool on() const { return limit_ > 0; }

    // Starts afresh with the state at cycle `cycle` (a load, a reset).
    void start(std::uint64_t cycle, std::vector<std::uint8_t> image);
    // Forgets everything; nothing is kept until the next start.
    void clear();
    bool started() const { return !checkpoints_.empty(); }

    // Step `cycle` (one more than the newest) ran as `step`.
    void addStep(std::uint64_t cycle, const StepRecord& step);
    // The state at the newest cycle is `image`: a checkpoint there, in place
    // of one kept there before.
    void setCheckpoint(std::span<const std::uint8_t> image);
    // Whether the state at the newest cycle must be a checkpoint: at every
    // interval, or when something changed from outside.
    bool needsCheckpoint(bool changedFromOutside) const {
        return changedFromOutside || newest_ - checkpoints_.back().cycle >= CHECKPOINT_INTERVAL;
    }

    std::uint64_t oldest() const { return checkpoints_.front().cycle; }
    std::uint64_t newest() const { return newest_; }
    bool holds(std::uint64_t cycle) const { return started() && cycle >= oldest() && cycle <= newest_; }

    // The way to the state at `cycle` (which it holds): an image, the steps
    // that follow it up to `cycle`, and the image of a checkpoint at `cycle`
    // to put back after them. The steps include step `cycle` itself where it
    // can (not at the oldest cycle), so that running them shows that scan.
    struct Route {
        std::vector<std::uint8_t> image;
        std::vector<StepRecord> steps;
        std::optional<std::vector<std::uint8_t>> atCycle;
    };
    Route routeTo(std::uint64_t cycle) const;
    // How step `cycle` (oldest < cycle <= newest) ran.
    const StepRecord& step(std::uint64_t cycle) const;
    // The checkpoint's image at `cycle`, when there is one.
    std::optional<std::vector<std::uint8_t>> checkpointAt(std::uint64_t cycle) const;

    // Forgets every step after `cycle` (a new future begins there).
    void truncateAfter(std::uint64_t cycle);

    // The memory the kept states take, in bytes.
    std::size_t bytes() const;

private:
    struct Checkpoint {
        std::uint64_t cycle = 0;
        StateDelta delta; // from the checkpoint before; empty for the first
    };

    void dropOldest();
    // The index of the last checkpoint at or before `cycle`.
    std::size_t checkpointBefore(std::uint64_t cycle) const;
    // The image of checkpoint `index`.
    std::vector<std::uint8_t> imageOf(std::size_t index) const;

    std::size_t limit_ = DEFAULT_LIMIT;
    std::deque<Checkpoint> checkpoints_;
    std::vector<std::uint8_t> firstImage_;  // the image of checkpoints_.front()
    std::vector<std::uint8_t> latestImage_; // the image of checkpoints_.back()
    std::deque<StepRecord> steps_;          // of cycles oldest() + 1 .. newest_
    std::uint64_t newest_ = 0;
    std::size_t deltaBytes_ = 0;
};

} // namespace sps
