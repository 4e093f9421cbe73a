// The simulator's scan history: what a step adds to it, and going back.

#include <string>

#include "base/random_source.h"
#include "base/sim_clock.h"
#include "base/state_archive.h"
#include "cpu/cpu.h"
#include "cpu/cpu_state.h"
#include "cpu/engine.h"
#include "messages/cpu_exception.h"
#include "shell/front_end.h"
#include "shell/simulator.h"
#include "station/target.h"

namespace sps {

Simulator::OutsideMarks Simulator::outsideMarks() const {
    return {target_->userChanges(), cpu_->forces.changes(), randomSeedings(), outsideWrites_};
}

// cycle, clock, CPU, station, random source: everything the next step reads.
// The clock is kept as the last step read it; the next step reads its own time.
void Simulator::saveState(std::vector<std::uint8_t>& image) {
    StateWriter out(image);
    out.value(cycle_);
    out.value(stateTime_);
    visitCpuState(out, *cpu_);
    target_->visitState(out);
    RandomState random = randomState();
    out.value(random);
}

void Simulator::loadState(const std::vector<std::uint8_t>& image) {
    StateReader in(image);
    in.value(cycle_);
    in.value(stateTime_);
    simClock().setTime(stateTime_);
    visitCpuState(in, *cpu_);
    target_->visitState(in);
    RandomState random;
    in.value(random);
    restoreRandomState(random);
    cpu_->stopRequested = false;
}

std::vector<std::uint8_t> Simulator::stateImage() {
    std::vector<std::uint8_t> image;
    saveState(image);
    return image;
}

void Simulator::restartHistory() {
    repeating_ = false;
    if (!history_.on() || !cpu_->program) {
        history_.clear();
        return;
    }
    stateTime_ = simClock().now();
    image_.clear();
    saveState(image_);
    history_.start(cycle_, image_);
    marks_ = outsideMarks();
}

void Simulator::setHistoryLimit(std::size_t limit) {
    const bool wasOn = history_.on();
    history_.setLimit(limit);
    if (history_.on() && !wasOn) restartHistory();
    frontEnd_.historyMoved(cycle_, stepsBack());
}

std::uint64_t Simulator::stepsBack() const {
    return history_.started() && cycle_ < history_.newest() ? history_.newest() - cycle_ : 0;
}

std::string Simulator::historyPosition() const {
    const std::string cycle = std::to_string(cycle_);
    const std::uint64_t back = stepsBack();
    if (back == 0) return formatMessage("History at cycle %s", cycle.c_str());
    return formatMessage("History at cycle %s back by %s", cycle.c_str(), std::to_string(back).c_str());
}

void Simulator::keepStateIfChanged() {
    if (outsideMarks() == marks_ && !lastStepImpure_ && !history_.needsCheckpoint(false)) return;
    image_.clear();
    saveState(image_);
    history_.setCheckpoint(image_);
    marks_ = outsideMarks();
    lastStepImpure_ = false;
}

void Simulator::beginStep() {
    if (!history_.started()) return;
    SimClock& clock = simClock();
    repeating_ = false;
    if (cycle_ < history_.newest()) {
        // Nothing changed since the state was put back: the step repeats the
        // kept one, at the time that one ran.
        const bool clockKept = !clock.isManual() || clock.manualTime() == restoredManualTime_;
        if (outsideMarks() == marks_ && clockKept) {
            repeating_ = true;
            clock.setTime(history_.step(cycle_ + 1).time);
        } else {
            discardFuture();
        }
    }
    if (!repeating_) keepStateIfChanged();
    stepMarks_ = outsideMarks();
    stepTime_ = clock.now();
    clock.freeze(stepTime_);
}

void Simulator::resumeStep() {
    if (history_.started()) simClock().freeze(stepTime_);
}

void Simulator::pauseStep() {
    if (history_.started()) simClock().thaw();
}

void Simulator::endStep(bool plantStep, bool completed) {
    if (!history_.started()) return;
    SimClock& clock = simClock();
    clock.thaw();
    const bool changedDuringStep = outsideMarks() != stepMarks_;
    if (repeating_) {
        repeating_ = false;
        stateTime_ = stepTime_;
        if (!changedDuringStep) {
            // What changed from outside before the next step then comes back with it.
            if (const auto kept = history_.checkpointAt(cycle_)) loadState(*kept);
            marks_ = outsideMarks();
            restoredManualTime_ = clock.manualTime();
            frontEnd_.historyMoved(cycle_, stepsBack());
            return;
        }
        // Changed while the scan stood paused: the kept future no longer follows.
        history_.truncateAfter(cycle_ - 1);
        recorder_.truncateAfter(cycle_ - 1);
        if (completed) recorder_.sample(cycle_);
        frontEnd_.historyMoved(cycle_, 0);
    }
    history_.addStep(cycle_, {stepTime_, plantStep});
    stateTime_ = stepTime_;
    // A step that something changed in the middle of cannot be run again: the
    // state after it is kept before the next step, or before going back.
    lastStepImpure_ = changedDuringStep;
}

void Simulator::discardFuture() {
    if (stepsBack() == 0) return;
    history_.truncateAfter(cycle_);
    recorder_.truncateAfter(cycle_);
    frontEnd_.historyMoved(cycle_, 0);
}

void Simulator::repeatStep(const StepRecord& step) {
    SimClock& clock = simClock();
    clock.setTime(step.time);
    clock.freeze(step.time);
    stateTime_ = step.time;
    ++cycle_;
    // It ends as it ended then: an error of the scan or of the station's
    // step, which was reported then, is not reported again.
    try {
        scanCycle(*cpu_);
    } catch (const CPUException&) {
    }
    if (step.plantStep) {
        try {
            target_->plantStep();
        } catch (const CPUException&) {
        }
    }
    clock.thaw();
}

void Simulator::restoreCycle(std::uint64_t cycle) {
    const ScanHistory::Route route = history_.routeTo(cycle);
    loadState(route.image);
    for (const StepRecord& step : route.steps) repeatStep(step);
    // The state after the steps, with what changed from outside before the
    // next one; the power flow shown stays that of the scan that ran last.
    if (route.atCycle) loadState(*route.atCycle);
    cpu_->stopRequested = false;
    marks_ = outsideMarks();
    lastStepImpure_ = false;
    restoredManualTime_ = simClock().manualTime();
    repeating_ = false;
    breakpoints_.rearm();
    frontEnd_.repaintMain();
    frontEnd_.historyMoved(cycle_, stepsBack());
}

void Simulator::goToCycle(std::uint64_t cycle) {
    if (!history_.on()) throwMessage("History off");
    if (!canGoBack()) return;
    const std::uint64_t newest = history_.newest();
    if (cycle < history_.oldest())
        throw CPUException(
            formatMessage("History reaches back to cycle %s", std::to_string(history_.oldest()).c_str()));
    if (cycle > newest)
        throw CPUException(formatMessage("Cycle %s not run yet, the last is %s", std::to_string(cycle).c_str(),
                                         std::to_string(newest).c_str()));
    // A scan that stands paused is left; the present is kept as it is now.
    abandonPausedScan();
    if (cycle_ == newest) keepStateIfChanged();
    restoreCycle(cycle);
}

void Simulator::stepBack(std::uint64_t steps) {
    if (!history_.on()) throwMessage("History off");
    if (!canGoBack()) return;
    const std::uint64_t oldest = history_.oldest();
    if (steps > cycle_ || cycle_ - steps < oldest)
        throw CPUException(formatMessage("History reaches back to cycle %s", std::to_string(oldest).c_str()));
    goToCycle(cycle_ - steps);
}

} // namespace sps
