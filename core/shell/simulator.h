#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cpu/mnemonic_set.h"
#include "cpu/trace_row.h"
#include "shell/breakpoints.h"
#include "shell/recorder.h"
#include "shell/scan_history.h"
#include "shell/stepped_scan.h"

namespace sps {

class CPU;
class FrontEnd;
class IOBus;
class LineBoundedWriter;
class Target;

// The one simulator state: the station, the CPU wired to it through the bus,
// and the run state. Every command catches the CPUException it may raise and
// reports it through the front end, so nothing ends the process.
class Simulator {
public:
    // Steps per timer tick while running.
    static constexpr int STEPS_PER_TICK = 3;

    // Start-up: the station (with its AS-i master and slaves), then the bus
    // from the station, then the CPU wired to that bus.
    explicit Simulator(FrontEnd& frontEnd);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    Target& target() { return *target_; }
    CPU& cpu() { return *cpu_; }
    bool running() const { return running_; }
    // Simulation steps since the last successful load ("Zyklus"), traced steps included.
    std::uint64_t cycle() const { return cycle_; }
    // The operands recorded after every step (a load clears their data).
    Recorder& recorder() { return recorder_; }
    // Checked after every step; reset and load keep them.
    Breakpoints& breakpoints() { return breakpoints_; }
    // The states of the last scans (a load and a reset start it afresh).
    const ScanHistory& history() const { return history_; }

    // Availability of the run commands (the menu greys the others).
    bool canContinue() const { return !running_; }
    bool canStop() const { return running_; }
    bool canSingleStep() const { return !running_; }

    // Loads the program file at `path` (the user has chosen it): closes the
    // status windows, parses, resets the CPU and starts running. On an error
    // the previous program stays and the run stops.
    void load(const std::string& path);
    // Reads the program file the forgiving way (the controller's own
    // programming software and published programs, either mnemonic set), with
    // the symbol table at `symbolsPath` or the one beside it; otherwise as load.
    void importProgram(const std::string& path, const std::string& symbolsPath = {});
    // How the running program was read: none yet, loaded or imported, and
    // the mnemonic set it is written in.
    enum class Source : std::uint8_t { None, Loaded, Imported };
    struct ProgramOrigin {
        Source source = Source::None;
        std::string path;
        std::string symbolsPath;
        MnemonicSet set = MnemonicSet::German;
    };
    const ProgramOrigin& programOrigin() const { return origin_; }
    void continueRun();
    void stop();
    // One simulation step, then a repaint. A scan that stands paused before a
    // network is finished first.
    void singleStep();
    // "Netzwerkschritt", while stopped: runs the scan up to the end of its
    // next network (a new scan when none stands paused) and holds it there;
    // the front end learns where. At the scan's end the step is complete.
    void networkStep();
    // Whether a scan stands paused before one of its networks, and where:
    // the network it runs next and the one that ran last.
    bool scanPaused() const { return stepped_.paused(); }
    const SteppedScan& steppedScan() const { return stepped_; }
    void reset();
    // One traced simulation step whose trace opens in the trace window.
    void trace();
    // The scan driver: three simulation steps while running, then a repaint.
    void timerTick();

    // Runs up to `count` simulation steps; an error is reported, stops the run
    // and skips the remaining steps, and so does a breakpoint that becomes
    // true. Returns whether all steps ran.
    bool runSteps(long long count);

    // The scan history. Going back is possible while stopped, once a program
    // runs and the history is on.
    bool canGoBack() const { return !running_ && history_.started(); }
    // Back `steps` steps ("Schritt zurück"): to the state after cycle
    // cycle() - steps; a scan that stands paused counts as the first.
    // Throws CPUException: "History off", "History reaches back to %d".
    void stepBack(std::uint64_t steps = 1);
    // To the state after `cycle`, back or forward within the history
    // ("Zurück zu ..."). Throws as stepBack, and "Cycle %d not run yet".
    void goToCycle(std::uint64_t cycle);
    // How many steps the state shown lies before the newest one kept: 0 in
    // the present. A step from there runs the next scan again, with the
    // clock as it was; a change from outside first (a switch, a force, a
    // write), a run, a reset or a load begin a new future instead.
    std::uint64_t stepsBack() const;
    // "Zyklus 4211", or "Zyklus 4211 (zurückgegangen um 3)" in the past.
    std::string historyPosition() const;
    // The number of scans kept, 0 for none (the history off); at most
    // ScanHistory::MAX_LIMIT. Setting it on starts the history afresh.
    void setHistoryLimit(std::size_t limit);
    // The whole state as the history keeps it, with the clock as the last
    // step read it: two equal images are two equal simulations.
    std::vector<std::uint8_t> stateImage();
    // A front end wrote memory of the CPU directly (spsrun's set): a change
    // from outside, which the history must not run again across.
    void noteOutsideWrite() { ++outsideWrites_; }

private:
    // One scan; an error raised by an instruction names it on a second line,
    // "in OB1, Netzwerk 1: U M99.0". Throws.
    void scan();
    // What load and import do once the new program is in the CPU.
    void startNewProgram(ProgramOrigin origin);
    // One scan followed by one station step; false when the scan stopped
    // before a network instead (a network breakpoint, a network step). Throws.
    bool simulationStep(bool networkStep = false);
    // Runs the scan through SteppedScan when one stands paused or network
    // breakpoints are set; false when it paused.
    bool runScan(bool networkStep);
    // Tells the front end where a paused scan stands; false.
    bool reportPause(bool networkStep);
    // The stepped scan is no longer traced.
    void endStepTrace();
    // Ends a paused scan before the program or the CPU changes under it.
    void abandonPausedScan();
    void report(const class CPUException& error);
    void stopAndReport(const class CPUException& error);
    // After a step, with breakpoints set: stops the run and tells the front
    // end when one became true in this step. Throws.
    bool stopAtBreakpoint();
    // After a step in which STOP ran with its input 1: stops the run and
    // tells the front end.
    bool stopAtStopInstruction();

    // The scan history's part of a step: before a new scan (in the past:
    // whether it repeats the kept future, and its time), before the scan
    // goes on after a pause, and after the step ended, however it ended.
    void beginStep();
    void resumeStep();
    void pauseStep();
    void endStep(bool plantStep, bool completed);
    // Whether the recorder samples this step (not while it repeats a kept one).
    bool sampling() const { return !repeating_; }
    // The whole state as one image, and back.
    void saveState(std::vector<std::uint8_t>& image);
    void loadState(const std::vector<std::uint8_t>& image);
    // Starts the history afresh at the current state (load, reset).
    void restartHistory();
    // Puts back the state after `cycle`, which the history holds.
    void restoreCycle(std::uint64_t cycle);
    // Runs a kept step again, reporting nothing.
    void repeatStep(const StepRecord& step);
    // In the past: forgets the kept steps after the one shown.
    void discardFuture();
    // Keeps the state now as a checkpoint at the newest cycle when it must
    // be one: something changed from outside since the last step, that step
    // cannot be run again, or the interval is up.
    void keepStateIfChanged();
    // Counts of the changes from outside the simulation: the station's user
    // operations, forces and writes, reseedings, direct writes.
    struct OutsideMarks {
        std::uint64_t station = 0;
        std::uint64_t forces = 0;
        std::uint64_t seeds = 0;
        std::uint64_t writes = 0;
        bool operator==(const OutsideMarks&) const = default;
    };
    OutsideMarks outsideMarks() const;

    FrontEnd& frontEnd_;
    std::unique_ptr<Target> target_;
    std::unique_ptr<IOBus> bus_;
    std::unique_ptr<CPU> cpu_;
    bool running_ = false;
    std::uint64_t cycle_ = 0;
    Recorder recorder_{*cpu_};
    Breakpoints breakpoints_;
    ProgramOrigin origin_;
    SteppedScan stepped_{*cpu_};
    // The trace of a scan that network steps go through.
    std::unique_ptr<LineBoundedWriter> stepTrace_;
    std::vector<TraceRow> stepTraceRows_;
    ScanHistory history_;
    std::vector<std::uint8_t> image_; // reused for every checkpoint
    OutsideMarks marks_;     // where the state was last kept or put back
    OutsideMarks stepMarks_; // as the step under way began
    bool lastStepImpure_ = false;
    std::uint64_t outsideWrites_ = 0;
    std::uint32_t stepTime_ = 0;       // the clock during the step under way
    std::uint32_t stateTime_ = 0;      // the clock during the last step (the state's time)
    bool repeating_ = false;           // the step under way repeats a kept one
    // The manual clock as the history put it back, to see whether the user moved it.
    std::int32_t restoredManualTime_ = -1;
};

} // namespace sps
