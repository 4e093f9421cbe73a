#include "station/fault_table.h"

#include <algorithm>

#include "base/random_source.h"
#include "base/state_archive.h"

namespace sps {

namespace {

// Milliseconds from `since` to `now`; a clock that went back counts as long ago.
std::uint32_t elapsed(std::uint32_t since, std::uint32_t now) { return now - since; }

// The bounce phase at `now`: the k-th interval after the change.
std::uint32_t bouncePhase(const Fault& fault, std::uint32_t now) {
    return elapsed(fault.changedAt, now) / static_cast<std::uint32_t>(std::max(fault.interval, 1));
}

} // namespace

void FaultTable::set(Fault fault, int physical, std::uint32_t now) {
    fault.seen = physical;
    fault.changedAt = now;
    fault.bouncing = 0;
    fault.delivered = physical;
    fault.queued = 0;
    fault.queue = {};
    if (Fault* existing = findFault(fault.input)) {
        *existing = fault;
    } else {
        const auto at = std::ranges::find_if(faults_, [&](const Fault& f) { return f.input > fault.input; });
        faults_.insert(at, fault);
    }
    remask();
}

bool FaultTable::clear(int input) {
    const auto removed = std::erase_if(faults_, [input](const Fault& f) { return f.input == input; });
    remask();
    return removed != 0;
}

void FaultTable::clearAll() {
    faults_.clear();
    remask();
}

const Fault* FaultTable::find(int input) const {
    const auto found = std::ranges::find_if(faults_, [input](const Fault& f) { return f.input == input; });
    return found == faults_.end() ? nullptr : &*found;
}

Fault* FaultTable::findFault(int input) {
    const auto found = std::ranges::find_if(faults_, [input](const Fault& f) { return f.input == input; });
    return found == faults_.end() ? nullptr : &*found;
}

void FaultTable::remask() {
    mask_ = 0;
    for (const Fault& fault : faults_)
        if (fault.input >= 0 && fault.input < 64) mask_ |= std::uint64_t{1} << fault.input;
}

void FaultTable::observe(int input, int physical, std::uint32_t now) {
    Fault* fault = findFault(input);
    if (fault == nullptr) return;
    const int value = physical != 0 ? 1 : 0;
    if (fault->kind == FaultKind::Bounce) {
        if (value != fault->seen) {
            fault->seen = value;
            fault->changedAt = now;
            fault->bouncing = 1;
        } else if (fault->bouncing != 0 && bouncePhase(*fault, now) > static_cast<std::uint32_t>(fault->amount)) {
            fault->bouncing = 0;
        }
    } else if (fault->kind == FaultKind::Delay) {
        const auto delay = static_cast<std::uint32_t>(fault->amount);
        auto& queue = fault->queue;
        const auto matured = [&] { return fault->queued > 0 && elapsed(queue[0].at, now) >= delay; };
        const auto popFront = [&] {
            fault->delivered = queue[0].value;
            std::shift_left(queue.begin(), queue.begin() + fault->queued, 1);
            --fault->queued;
        };
        while (matured()) popFront();
        if (value != fault->seen) {
            fault->seen = value;
            // A full queue passes its oldest change on early rather than lose it.
            if (fault->queued == Fault::DELAY_QUEUE) popFront();
            queue[static_cast<std::size_t>(fault->queued++)] = {now, value};
        }
    }
}

int FaultTable::delivered(int input, int physical, std::uint32_t now) const {
    const Fault* fault = find(input);
    if (fault == nullptr) return physical;
    switch (fault->kind) {
    case FaultKind::StuckLow: return 0;
    case FaultKind::StuckHigh: return 1;
    case FaultKind::Bounce: {
        const std::uint32_t phase = bouncePhase(*fault, now);
        if (fault->bouncing == 0 || phase > static_cast<std::uint32_t>(fault->amount)) return fault->seen;
        return fault->seen ^ static_cast<int>(phase & 1u);
    }
    case FaultKind::Delay: {
        int value = fault->delivered;
        for (int i = 0; i < fault->queued; ++i) {
            const Fault::Change& change = fault->queue[static_cast<std::size_t>(i)];
            if (elapsed(change.at, now) < static_cast<std::uint32_t>(fault->amount)) break;
            value = change.value;
        }
        return value;
    }
    default: return physical;
    }
}

int FaultTable::analog(int input, int physical) const {
    const Fault* fault = find(input);
    if (fault == nullptr) return physical;
    if (fault->kind == FaultKind::Offset) return physical + fault->amount;
    if (fault->kind != FaultKind::Noise) return physical;
    const auto span = static_cast<std::uint32_t>(2 * fault->amount + 1);
    return physical + static_cast<int>(nextRandom() % span) - fault->amount;
}

void FaultTable::visitState(StateArchive& archive) {
    auto count = static_cast<std::uint32_t>(faults_.size());
    archive.value(count);
    // Never more faults than inputs, whatever an image says.
    if (archive.reading()) faults_.resize(std::min<std::size_t>(count, faultInputs().size()));
    for (Fault& fault : faults_) archive.value(fault);
    if (archive.reading()) remask();
}

} // namespace sps
