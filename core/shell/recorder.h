#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/width.h"

namespace sps {

class CPU;
class Parameter;

// How a recorded operand is read and shown: at a width (a bit, an unsigned
// number of 8, 16 or 32 bits), or as a double word read as a real. The
// widths have the values of their Width.
enum class SignalType : std::uint8_t { Bit, Byte, Word, DoubleWord, Real };

constexpr Width signalWidth(SignalType type) {
    return type == SignalType::Real ? Width::Dword : static_cast<Width>(type);
}
constexpr SignalType signalType(Width width) { return static_cast<SignalType>(width); }
static_assert(signalWidth(SignalType::DoubleWord) == Width::Dword && signalType(Width::Bit) == SignalType::Bit);

// The bits a value of the type holds: 1, 8, 16 or 32 (a real: its single's bits).
constexpr int signalBits(SignalType type) { return widthBits(signalWidth(type)); }

// A moment of a recording: its time in simulated milliseconds (see Recorder)
// and the simulation step ("Zyklus", counted since the last load).
struct RecordTime {
    std::uint64_t ms = 0;
    std::uint64_t cycle = 0;
};

// One change of a recorded signal: from `at` on it holds `value` (the bits at
// the signal's width; a real's single bits), or no value when not `known`
// (not yet sampled, an analog input that reads random, a read that failed).
struct SignalChange {
    RecordTime at;
    std::uint32_t value = 0;
    bool known = false;
};

// The value as `print` shows it in the type's format ("1", "255", "+1.5");
// empty when unknown.
std::string signalValueText(SignalType type, const SignalChange& change);
// The value as a number to plot (a real as its value, the others unsigned).
double signalNumber(SignalType type, std::uint32_t value);

// The newest changes of one signal, oldest first, in a ring of fixed
// capacity: a change beyond it pushes out the oldest.
class ChangeRing {
public:
    explicit ChangeRing(std::size_t capacity) : capacity_(capacity) {}

    // Runs after every step that changed a value: no division, no copying,
    // the fields stored one by one.
    void push(const RecordTime& at, std::uint32_t value, bool known) {
        if (changes_.size() < capacity_) {
            if (changes_.empty()) changes_.reserve(capacity_); // address space only, until written
            changes_.push_back({at, value, known});
            return;
        }
        if (capacity_ == 0) return;
        SignalChange& slot = changes_[oldest_];
        slot.at = at;
        slot.value = value;
        slot.known = known;
        if (++oldest_ == capacity_) oldest_ = 0;
        ++dropped_;
    }
    void clear();

    std::size_t size() const { return changes_.size(); }
    bool empty() const { return changes_.empty(); }
    std::size_t capacity() const { return capacity_; }
    // 0 is the oldest change held.
    const SignalChange& operator[](std::size_t index) const {
        const std::size_t at = oldest_ + index;
        return changes_[at < changes_.size() ? at : at - changes_.size()];
    }
    const SignalChange& back() const { return (*this)[changes_.size() - 1]; }
    // How many changes were pushed out since the last clear.
    std::uint64_t dropped() const { return dropped_; }
    // Forgets the changes of the steps after `cycle` (going back in the scan
    // history and running on from there).
    void dropAfter(std::uint64_t cycle);

private:
    std::vector<SignalChange> changes_;
    std::size_t capacity_;
    std::size_t oldest_ = 0;
    std::uint64_t dropped_ = 0;
};

// One recorded operand: its name, its type and its changes.
class RecordedSignal {
public:
    ~RecordedSignal();
    RecordedSignal(const RecordedSignal&) = delete;
    RecordedSignal& operator=(const RecordedSignal&) = delete;

    // The operand as the core writes it, without the leading blank ("E0.0",
    // "*VD200"): one word of printable ASCII.
    const std::string& name() const { return name_; }
    SignalType type() const { return type_; }
    const ChangeRing& changes() const { return changes_; }

    // The index of the change in force at `ms` (the last one of that
    // millisecond when a step ran several times in it); empty before the
    // oldest change held.
    std::optional<std::size_t> indexAt(std::uint64_t ms) const;
    // The change in force at `ms`; unknown before the oldest change held.
    SignalChange valueAt(std::uint64_t ms) const;
    // The index of the change in force after step `cycle`; empty before the
    // oldest change held.
    std::optional<std::size_t> indexAtCycle(std::uint64_t cycle) const;

private:
    friend class Recorder;
    enum class Source : std::uint8_t { Operand, AnalogInput, AnalogOutput };

    RecordedSignal(CPU& cpu, std::unique_ptr<Parameter> operand, SignalType type, std::size_t capacity);
    // Puts the value now into `value`; false when there is none. Throws what
    // the operand's read throws.
    bool read(std::uint32_t& value) const;

    CPU& cpu_;
    std::unique_ptr<Parameter> operand_;
    std::string name_;
    SignalType type_;
    Source source_ = Source::Operand;
    int channel_ = 0;
    ChangeRing changes_;
};

// Records up to 32 operands of the CPU: after every simulation step it reads
// each one and keeps a change only, with the simulated time and the step.
//
// The time of a recording starts at its first step: at the simulation time
// when the clock is manual (the time the user stepped to), at 0 ms when it is
// automatic (which counts from the computer's start). From there it follows
// the simulation clock; when the clock jumps back (switching to the manual
// clock, a larger divisor), the recording measures on from the new time, so
// its time never runs backwards. A successful load clears the data (the
// operands stay, and the next step starts the time afresh); a reset and a
// clock change do not touch it.
class Recorder {
public:
    static constexpr std::size_t MAX_SIGNALS = 32;
    // At least the last 100,000 changes of every signal.
    static constexpr std::size_t CHANGES_PER_SIGNAL = std::size_t{1} << 17;

    explicit Recorder(CPU& cpu, std::size_t changesPerSignal = CHANGES_PER_SIGNAL);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Records the operand (one of this recorder's CPU) from the next step on,
    // in `type` or else in its natural type (a bit, byte, word or double word
    // operand at its width; timers, counters and analog words as their word
    // value; accumulators and pointers as double words), and starts recording. An operand already
    // recorded in that type stays as it is. Returns its index. Throws
    // CPUException: an operand without a value (a constant, a text), a type
    // it cannot be read in, the 33rd operand, a read that fails (VB5000).
    std::size_t record(std::unique_ptr<Parameter> operand, std::optional<SignalType> type = {});
    // As above from the operand's text; its syntax errors are thrown too.
    std::size_t record(std::string_view operandText, std::optional<SignalType> type = {});
    // Forgets one operand with its data.
    void remove(std::size_t index);
    // Pauses: the steps are not sampled until the next `record`.
    void stop() { recording_ = false; }
    bool recording() const { return recording_; }
    // Forgets every operand and all data.
    void clear();
    // Forgets the data and keeps the operands; the next step starts afresh.
    void clearData();

    // Called after every simulation step with the step's number.
    void sample(std::uint64_t cycle) {
        if (recording_ && !signals_.empty()) sampleAll(cycle);
    }

    std::size_t size() const { return signals_.size(); }
    const RecordedSignal& signal(std::size_t index) const { return *signals_.at(index); }
    // From when the data of every signal is held: the first step, or later
    // when a ring has dropped changes. Empty before the first step.
    std::optional<RecordTime> heldFrom() const;
    // The newest step sampled; empty before the first.
    std::optional<RecordTime> latest() const;
    // The step sampled last at or before `ms`; empty before the first (or
    // the oldest held).
    std::optional<RecordTime> stepAt(std::uint64_t ms) const;
    // The step `cycle` as sampled; empty when it was not (or no longer is).
    std::optional<RecordTime> stepOf(std::uint64_t cycle) const;
    // Forgets what the steps after `cycle` recorded, as if they had not run:
    // the scan history goes on from there with a new future.
    void truncateAfter(std::uint64_t cycle);

private:
    // What sampling touches of one signal, kept side by side for all of them
    // so that a step reads a few cache lines: the bytes of a memory operand
    // (bits, bytes, words and double words of E, A, M, V, S, SM, the common
    // case), read directly since their address was checked once; null for
    // operands read through the signal; and the newest value.
    struct Probe {
        const std::uint8_t* memory = nullptr;
        RecordedSignal* signal = nullptr;
        std::uint32_t last = 0;
        SignalType type = SignalType::Bit;
        std::uint8_t bit = 0;
        bool known = false;
    };

    void sampleAll(std::uint64_t cycle);

    // The time of every step sampled (at most as many as a signal keeps
    // changes), so that a step can be found by its time and the time of a
    // step put back.
    struct StepTime {
        RecordTime at;
        std::uint32_t clock = 0;
    };

    CPU& cpu_;
    std::size_t capacity_;
    std::vector<std::unique_ptr<RecordedSignal>> signals_;
    std::vector<Probe> probes_; // one per signal, in the same order
    bool recording_ = false;
    bool started_ = false;
    std::uint32_t lastClock_ = 0;
    RecordTime first_;
    RecordTime now_;
    std::deque<StepTime> steps_;
};

} // namespace sps
