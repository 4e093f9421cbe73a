#include "shell/simulator.h"

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/io.h"
#include "loader/importer.h"
#include "loader/parser.h"
#include "loader/program_check.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"
#include "shell/front_end.h"
#include "shell/trace_info.h"
#include "station/target.h"

namespace sps {

Simulator::Simulator(FrontEnd& frontEnd)
    : frontEnd_(frontEnd), target_(std::make_unique<Target>()), bus_(target_->createBus()),
      cpu_(std::make_unique<CPU>(*bus_)) {}

Simulator::~Simulator() = default;

void Simulator::report(const CPUException& error) { frontEnd_.showError(error); }

// The run stops before the error box opens: a box keeps delivering timer ticks
// while it waits for its OK, and none of them may run the failing program again.
void Simulator::stopAndReport(const CPUException& error) {
    running_ = false;
    report(error);
}

void Simulator::scan() {
    try {
        scanCycle(*cpu_);
    } catch (const CPUException& error) {
        if (cpu_->faultPlace.empty()) throw;
        // The message as the catalog has it, and below it where it happened.
        const std::string& text = error.messageText();
        throw CPUException(text + (text.ends_with('\n') ? "" : "\n") + cpu_->faultPlace);
    }
}

bool Simulator::simulationStep(bool networkStep) {
    if (stepped_.paused())
        resumeStep();
    else
        beginStep();
    try {
        if (!runScan(networkStep)) {
            pauseStep();
            return false;
        }
    } catch (const CPUException&) {
        endStep(false, false);
        throw;
    }
    try {
        target_->plantStep();
    } catch (const CPUException&) {
        endStep(true, false);
        throw;
    }
    if (sampling()) recorder_.sample(cycle_);
    endStep(true, true);
    return true;
}

bool Simulator::runScan(bool networkStep) {
    const bool networkBreakpoints = !breakpoints_.networks().empty();
    if (!stepped_.paused() && !networkStep && !networkBreakpoints) {
        ++cycle_;
        scan();
        return true;
    }
    // Stops before a network that has a breakpoint; a network step also
    // after the first network that ran.
    const SteppedScan::PauseRule rule = [this, networkStep](const NetworkPlace& next, int networksRun) {
        if (networkStep && networksRun >= 1) return true;
        return breakpoints_.onNetwork(*next.block, next.block->networks[next.network]) != nullptr;
    };
    SteppedScan::Result result = SteppedScan::Result::Ended;
    try {
        if (stepped_.paused()) {
            result = stepped_.resume(rule);
        } else {
            ++cycle_;
            if (networkStep) {
                stepTrace_ = newTraceSink();
                stepTraceRows_.clear();
                cpu_->traceSink = stepTrace_.get();
                cpu_->traceRows = &stepTraceRows_;
            }
            result = stepped_.begin(rule);
        }
    } catch (const CPUException& error) {
        endStepTrace();
        if (cpu_->faultPlace.empty()) throw;
        const std::string& text = error.messageText();
        throw CPUException(text + (text.ends_with('\n') ? "" : "\n") + cpu_->faultPlace);
    }
    if (result == SteppedScan::Result::Paused) return reportPause(networkStep);
    if (stepTrace_) frontEnd_.updateTrace(std::make_unique<TraceInfo>(traceLinesOf(*stepTrace_), stepTraceRows_));
    endStepTrace();
    return true;
}

bool Simulator::reportPause(bool networkStep) {
    running_ = false;
    if (stepTrace_) frontEnd_.updateTrace(std::make_unique<TraceInfo>(traceLinesOf(*stepTrace_), stepTraceRows_));
    const NetworkPlace& next = stepped_.next();
    const NetworkBreakpoint* breakpoint = breakpoints_.onNetwork(*next.block, next.block->networks[next.network]);
    const bool step = networkStep && stepped_.last();
    frontEnd_.repaintMain();
    frontEnd_.networkReached(next, stepped_.last(), step, step || breakpoint == nullptr ? 0 : breakpoint->number,
                             cycle_);
    return false;
}

void Simulator::endStepTrace() {
    cpu_->traceSink = nullptr;
    cpu_->traceRows = nullptr;
    stepTrace_.reset();
    stepTraceRows_.clear();
}

void Simulator::abandonPausedScan() {
    stepped_.abandon();
    endStepTrace();
}

void Simulator::networkStep() {
    if (!canSingleStep()) return;
    try {
        if (simulationStep(true)) {
            if (stopAtStopInstruction()) return;
            if (!breakpoints_.empty()) stopAtBreakpoint();
            frontEnd_.repaintMain();
        }
    } catch (const CPUException& error) {
        stopAndReport(error);
    }
}

bool Simulator::stopAtStopInstruction() {
    if (!cpu_->stopRequested) return false;
    cpu_->stopRequested = false;
    running_ = false;
    frontEnd_.repaintMain();
    frontEnd_.programStopped(cycle_);
    return true;
}

bool Simulator::stopAtBreakpoint() {
    const Breakpoint* reached = breakpoints_.check();
    if (reached == nullptr) return false;
    running_ = false;
    frontEnd_.repaintMain();
    frontEnd_.breakpointReached(reached->number, reached->condition.text(), cycle_);
    return true;
}

void Simulator::startNewProgram(ProgramOrigin origin) {
    cpu_->operandEntry = {.german = true, .international = origin.source == Source::Imported, .shownAs = {}};
    origin_ = std::move(origin);
    cpu_->forces.clear();
    resetCpu(*cpu_);
    cycle_ = 0;
    recorder_.clearData();
    running_ = true;
    restartHistory();
}

namespace {

// Whether the import would read the file that the own loading refused.
bool wouldImport(const std::string& path) { return !checkProgramFile(path, {.import = true, .symbolsPath = {}}); }

} // namespace

void Simulator::load(const std::string& path) {
    abandonPausedScan();
    frontEnd_.closeStatusWindows();
    try {
        FRead reader(path);
        Parser parser;
        parser.parseProgram(*cpu_, reader);
        startNewProgram({Source::Loaded, path, {}, MnemonicSet::German});
    } catch (const CPUException& error) {
        running_ = false;
        if (wouldImport(path))
            frontEnd_.offerImport(error, path);
        else
            report(error);
    }
}

void Simulator::importProgram(const std::string& path, const std::string& symbolsPath) {
    abandonPausedScan();
    frontEnd_.closeStatusWindows();
    try {
        ImportedProgram imported = importFile(*cpu_, path, symbolsPath);
        cpu_->program = std::make_shared<const Program>(std::move(imported.program));
        startNewProgram({Source::Imported, path, symbolsPath, imported.set});
        if (imported.replacedCharacters > 0)
            frontEnd_.showNotice(
                formatMessage("%d characters shown as ?", static_cast<int>(imported.replacedCharacters)));
    } catch (const CPUException& error) {
        stopAndReport(error);
    }
}

void Simulator::continueRun() {
    if (!canContinue()) return;
    // Running on from a step back leaves the kept future behind.
    discardFuture();
    running_ = true;
}

void Simulator::stop() {
    if (canStop()) running_ = false;
}

bool Simulator::runSteps(long long count) {
    for (long long i = 0; i < count; ++i) {
        try {
            if (!simulationStep()) return false;
            if (stopAtStopInstruction()) return false;
            if (!breakpoints_.empty() && stopAtBreakpoint()) return false;
        } catch (const CPUException& error) {
            stopAndReport(error);
            return false;
        }
    }
    return true;
}

void Simulator::singleStep() {
    if (!canSingleStep()) return;
    if (runSteps(1)) frontEnd_.repaintMain();
}

void Simulator::reset() {
    abandonPausedScan();
    try {
        resetCpu(*cpu_);
    } catch (const CPUException& error) {
        report(error);
    }
    restartHistory();
}

void Simulator::trace() {
    // A scan that stands paused is finished first.
    if (stepped_.paused() && !runSteps(1)) return;
    beginStep();
    ++cycle_;
    std::vector<TraceRow> rows;
    std::vector<std::string> lines = traceScan(*cpu_, rows);
    auto traceInfo = std::make_unique<TraceInfo>(std::move(lines), std::move(rows));
    try {
        target_->plantStep();
    } catch (const CPUException& error) {
        report(error);
    }
    if (sampling()) recorder_.sample(cycle_);
    endStep(true, true);
    try {
        if (!stopAtStopInstruction() && !breakpoints_.empty()) stopAtBreakpoint();
    } catch (const CPUException& error) {
        stopAndReport(error);
    }
    frontEnd_.openTrace(std::move(traceInfo));
}

void Simulator::timerTick() {
    if (!running_) return;
    if (runSteps(STEPS_PER_TICK)) frontEnd_.repaintMain();
}

} // namespace sps
