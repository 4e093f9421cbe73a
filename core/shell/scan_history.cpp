#include "shell/scan_history.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace sps {

namespace {

constexpr std::size_t WORD = 8;
constexpr std::size_t BLOCK = 256;

void putWord32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    out.insert(out.end(), bytes, bytes + sizeof bytes);
}

std::uint32_t getWord32(const std::uint8_t* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void putRun(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> to, std::size_t start, std::size_t end) {
    putWord32(out, static_cast<std::uint32_t>(start));
    putWord32(out, static_cast<std::uint32_t>(end - start));
    out.insert(out.end(), to.begin() + static_cast<std::ptrdiff_t>(start),
               to.begin() + static_cast<std::ptrdiff_t>(end));
}

bool sameWord(const std::uint8_t* a, const std::uint8_t* b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

} // namespace

StateDelta StateDelta::between(std::span<const std::uint8_t> from, std::span<const std::uint8_t> to) {
    StateDelta delta;
    delta.size_ = static_cast<std::uint32_t>(to.size());
    const std::size_t common = std::min(from.size(), to.size());
    std::size_t at = 0;
    while (at < common) {
        // Most of an image stays as it was: skip it a block at a time.
        while (at + BLOCK <= common && sameWord(from.data() + at, to.data() + at, BLOCK)) at += BLOCK;
        while (at < common && sameWord(from.data() + at, to.data() + at, std::min(WORD, common - at))) at += WORD;
        if (at >= common) break;
        // A run of differing words; equal words between two differing ones
        // join the run, since a run's header costs as much.
        std::size_t end = at;
        std::size_t equalWords = 0;
        for (std::size_t word = at; word < common && equalWords < 2; word += WORD) {
            const std::size_t size = std::min(WORD, common - word);
            if (sameWord(from.data() + word, to.data() + word, size)) {
                ++equalWords;
            } else {
                equalWords = 0;
                end = word + size;
            }
        }
        putRun(delta.runs_, to, at, end);
        at = end;
    }
    if (to.size() > common) putRun(delta.runs_, to, common, to.size());
    return delta;
}

void StateDelta::applyTo(std::vector<std::uint8_t>& image) const {
    image.resize(size_);
    const std::uint8_t* run = runs_.data();
    const std::uint8_t* const end = run + runs_.size();
    while (run < end) {
        const std::uint32_t offset = getWord32(run);
        const std::uint32_t length = getWord32(run + 4);
        std::memcpy(image.data() + offset, run + 8, length);
        run += 8 + length;
    }
}

void ScanHistory::setLimit(std::size_t limit) {
    limit_ = std::min(limit, MAX_LIMIT);
    if (limit_ == 0) {
        clear();
        return;
    }
    while (checkpoints_.size() >= 2 && newest_ - checkpoints_[1].cycle >= limit_) dropOldest();
}

void ScanHistory::start(std::uint64_t cycle, std::vector<std::uint8_t> image) {
    clear();
    if (!on()) return;
    checkpoints_.push_back({cycle, {}});
    latestImage_ = image;
    firstImage_ = std::move(image);
    newest_ = cycle;
}

void ScanHistory::clear() {
    checkpoints_.clear();
    firstImage_.clear();
    latestImage_.clear();
    steps_.clear();
    newest_ = 0;
    deltaBytes_ = 0;
}

void ScanHistory::addStep(std::uint64_t cycle, const StepRecord& step) {
    if (!started() || cycle != newest_ + 1) return;
    steps_.push_back(step);
    newest_ = cycle;
    while (checkpoints_.size() >= 2 && newest_ - checkpoints_[1].cycle >= limit_) dropOldest();
}

void ScanHistory::setCheckpoint(std::span<const std::uint8_t> image) {
    if (!started()) return;
    if (checkpoints_.back().cycle == newest_) {
        // In place of the one there: from the checkpoint before, or as the first.
        Checkpoint& last = checkpoints_.back();
        deltaBytes_ -= last.delta.bytes();
        if (checkpoints_.size() == 1) {
            firstImage_.assign(image.begin(), image.end());
        } else {
            last.delta = StateDelta::between(imageOf(checkpoints_.size() - 2), image);
            deltaBytes_ += last.delta.bytes();
        }
    } else {
        Checkpoint checkpoint{newest_, StateDelta::between(latestImage_, image)};
        deltaBytes_ += checkpoint.delta.bytes();
        checkpoints_.push_back(std::move(checkpoint));
    }
    latestImage_.assign(image.begin(), image.end());
    while (checkpoints_.size() >= 2 && bytes() > BYTE_BUDGET) dropOldest();
}

void ScanHistory::dropOldest() {
    Checkpoint& second = checkpoints_[1];
    second.delta.applyTo(firstImage_);
    deltaBytes_ -= second.delta.bytes();
    second.delta = {};
    const std::uint64_t dropped = second.cycle - checkpoints_.front().cycle;
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(dropped));
    checkpoints_.pop_front();
}

std::size_t ScanHistory::checkpointBefore(std::uint64_t cycle) const {
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), cycle,
                                        [](std::uint64_t c, const Checkpoint& point) { return c < point.cycle; });
    return static_cast<std::size_t>(std::distance(checkpoints_.begin(), after)) - 1;
}

std::vector<std::uint8_t> ScanHistory::imageOf(std::size_t index) const {
    if (index + 1 == checkpoints_.size()) return latestImage_;
    std::vector<std::uint8_t> image = firstImage_;
    for (std::size_t i = 1; i <= index; ++i) checkpoints_[i].delta.applyTo(image);
    return image;
}

ScanHistory::Route ScanHistory::routeTo(std::uint64_t cycle) const {
    Route route;
    const std::size_t index = checkpointBefore(cycle > oldest() ? cycle - 1 : cycle);
    route.image = imageOf(index);
    for (std::uint64_t c = checkpoints_[index].cycle + 1; c <= cycle; ++c) route.steps.push_back(step(c));
    if (!route.steps.empty()) route.atCycle = checkpointAt(cycle);
    return route;
}

const StepRecord& ScanHistory::step(std::uint64_t cycle) const {
    return steps_[static_cast<std::size_t>(cycle - oldest() - 1)];
}

std::optional<std::vector<std::uint8_t>> ScanHistory::checkpointAt(std::uint64_t cycle) const {
    if (!holds(cycle)) return std::nullopt;
    const std::size_t index = checkpointBefore(cycle);
    if (checkpoints_[index].cycle != cycle) return std::nullopt;
    return imageOf(index);
}

void ScanHistory::truncateAfter(std::uint64_t cycle) {
    if (!holds(cycle) || cycle == newest_) return;
    steps_.resize(static_cast<std::size_t>(cycle - oldest()));
    bool dropped = false;
    while (checkpoints_.back().cycle > cycle) {
        deltaBytes_ -= checkpoints_.back().delta.bytes();
        checkpoints_.pop_back();
        dropped = true;
    }
    newest_ = cycle;
    if (!dropped) return;
    // The image of the new last checkpoint, built before it becomes the latest.
    std::vector<std::uint8_t> image = firstImage_;
    for (std::size_t i = 1; i < checkpoints_.size(); ++i) checkpoints_[i].delta.applyTo(image);
    latestImage_ = std::move(image);
}

std::size_t ScanHistory::bytes() const {
    return firstImage_.capacity() + latestImage_.capacity() + deltaBytes_ + steps_.size() * sizeof(StepRecord) +
           checkpoints_.size() * sizeof(Checkpoint);
}

} // namespace sps
