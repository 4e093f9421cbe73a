#pragma once

// On-delay timers (TON, TONR), the off-delay timer (TOF), and the up, up/down
// and down counters (ZV, ZVR, ZR).
// Timer and counter values live in the CPU's records; the instructions only
// store the preset, start, stop and count. None of them changes the logic
// stack.
#include <cstdint>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/timer_table.h"
#include "messages/cpu_exception.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::timers {

// The preset word is tested before the kind of operand 1.
constexpr InstructionRow timer(const char* mnemonic, KindRule numberRule, ProgramRule rule = ProgramRule::None) {
    return {.mnemonic = mnemonic,
            .label = mnemonic,
            .ladderKind = LK_TIMER,
            .operandCount = 2,
            .checks = {needs(2, CAP_READ_WORD), needsKind(1, KindRule::Timer), needsKind(1, numberRule)},
            .pins = {pinShows(1, 1, 'T'), pinShows(3, 2, 'W')},
            .programRule = rule};
}

constexpr InstructionRow counter(const char* mnemonic, const char* international, const char* label, LadderKind kind,
                                 ProgramRule rule) {
    return {.mnemonic = mnemonic,
            .international = international,
            .label = label,
            .ladderKind = kind,
            .operandCount = 2,
            .checks = {needs(2, CAP_READ_WORD), needsKind(1, KindRule::Counter)},
            .pins = {pinShows(1, 1, 'Z'), pinShows(3, 2, 'W')},
            .programRule = rule};
}

struct TimerRow {
    Name mnemonic;
    TimerFamily family; // the timer numbers it takes
};

inline constexpr TimerRow TIMERS[] = {
    {"TON", TimerFamily::OnDelay},
    {"TONR", TimerFamily::Retentive},
};

// The record behind operand 1, resolved once at construction. The operand
// checks guarantee the kind; an instruction executed without its checks
// fails with the check's message instead of touching a wrong object.
template <class Record, class RecordParameter> inline Record* recordOf(Parameter* operand) {
    auto* parameter = dynamic_cast<RecordParameter*>(operand);
    return parameter != nullptr ? &parameter->record() : nullptr;
}

// While the input is 1 the timer runs; counting starts when the input turns
// 1. 1-ms and 100-ms timers are brought up to date here; the 10-ms timers
// only by the engine once per scan. With the input 0 TON clears its value,
// TONR keeps it so that time adds up over several periods.
template <TimerRow T> class TimerOp final : public RowOperation {
    static constexpr bool Retentive = T.family == TimerFamily::Retentive;

public:
    static constexpr InstructionRow row =
        Retentive ? described(timer(T.mnemonic.c_str(), KindRule::RetentiveTimer),
                              "Retentive on-delay timer: the time adds up over the periods the input is 1")
                  : described(timer(T.mnemonic.c_str(), KindRule::OnDelayTimer, ProgramRule::OnDelayTimer),
                              "On-delay timer: the bit is 1 once the input has been 1 for the preset");

    explicit TimerOp(Operands o)
        : RowOperation(row, std::move(o)), timer_(recordOf<TimerRecord, TimerParameter>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (timer_ == nullptr) throwMessage("Timer expected");
        TimerRecord& t = *timer_;
        t.preset = static_cast<std::uint16_t>(operand2_->getWord());
        if (!stackTop(cpu)) {
            if constexpr (!Retentive) t.value = 0;
            t.running = false;
            return;
        }
        if (!t.running) t.lastUpdate = simTime();
        t.running = true;
        if (updatedWhenExecuted(t.resolution)) updateTimer(t);
    }

private:
    TimerRecord* timer_;
};

// Off-delay: while the input is 1 the bit is 1 and the value 0; when it
// falls, the value counts from that moment and the bit stays 1 until the
// value reaches the preset, where it stops. After a reset bit and value are
// 0: timing starts only after the input was 1 and fell.
class TOF_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(timer("TOF", KindRule::OnDelayTimer, ProgramRule::OffDelayTimer),
                  "Off-delay timer: the bit stays 1 for the preset after the input fell");

    explicit TOF_Op(Operands o)
        : RowOperation(row, std::move(o)), timer_(recordOf<TimerRecord, TimerParameter>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (timer_ == nullptr) throwMessage("Timer expected");
        TimerRecord& t = *timer_;
        t.preset = static_cast<std::uint16_t>(operand2_->getWord());
        if (stackTop(cpu)) {
            t.held = true;
            t.value = 0;
            t.running = false;
            return;
        }
        if (t.held) {
            t.held = false;
            t.value = 0;
            t.running = true;
            t.lastUpdate = simTime();
        }
        if (!t.running) return;
        if (updatedWhenExecuted(t.resolution)) updateTimer(t);
        if (t.value >= t.preset) {
            t.value = t.preset;
            t.running = false;
        }
    }
    void resetState() override {
        if (timer_ != nullptr) timer_->offDelay = true;
    }

private:
    TimerRecord* timer_;
};

// Counts wrap at 16 bits in either direction.
inline std::int16_t stepped(std::int16_t value, int delta) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value + delta));
}

// Inputs on the stack: reset on the top, count-up below it. Both stay on
// the stack. Counting reacts to rising edges between executions; the edge
// memory is kept only while the sequence gate is open.
class ZV_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = described(counter("ZV", "CTU", "CTU", LK_UP_COUNTER, ProgramRule::UpCounter),
                                                    "Up counter: counts rising edges of CU; R sets it to 0");

    explicit ZV_Op(Operands o)
        : RowOperation(row, std::move(o)), counter_(recordOf<CounterRecord, CounterParameter>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (counter_ == nullptr) throwMessage("Counter expected");
        const int reset = popBit(cpu);
        const int up = stackTop(cpu);
        pushBit(cpu, reset);
        CounterRecord& c = *counter_;
        c.preset = static_cast<std::int16_t>(operand2_->getWord());
        if (reset) c.value = 0;
        if (up && !lastUp_) c.value = stepped(c.value, 1);
        if (gateOpen(cpu)) lastUp_ = up;
    }
    // An input that is already 1 after a reset does not count.
    void resetState() override { lastUp_ = 1; }
    std::span<int> runState() override { return {&lastUp_, 1}; }

private:
    CounterRecord* counter_;
    int lastUp_ = 1;
};

// Inputs on the stack: reset on the top, count-down second, count-up third.
class ZVR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(counter("ZVR", "CTUD", "CTUD", LK_UPDOWN_COUNTER, ProgramRule::UpCounter),
                  "Up/down counter: counts rising edges of CU up and of CD down; R sets it to 0");

    explicit ZVR_Op(Operands o)
        : RowOperation(row, std::move(o)), counter_(recordOf<CounterRecord, CounterParameter>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (counter_ == nullptr) throwMessage("Counter expected");
        const int reset = popBit(cpu);
        const int down = popBit(cpu);
        const int up = stackTop(cpu);
        pushBit(cpu, down);
        pushBit(cpu, reset);
        CounterRecord& c = *counter_;
        c.preset = static_cast<std::int16_t>(operand2_->getWord());
        if (reset) c.value = 0;
        if (up && !last_[UP]) c.value = stepped(c.value, 1);
        if (down && !last_[DOWN]) c.value = stepped(c.value, -1);
        if (gateOpen(cpu)) {
            last_[UP] = up;
            last_[DOWN] = down;
        }
    }
    void resetState() override { last_ = {1, 1}; }
    std::span<int> runState() override { return last_; }

private:
    static constexpr std::size_t UP = 0;
    static constexpr std::size_t DOWN = 1;
    CounterRecord* counter_;
    std::array<int, 2> last_{1, 1}; // the count-up and count-down inputs
};

// Down counter. Inputs on the stack: load on the top, count-down below it;
// both stay on the stack. A load input 1 sets the value to the preset (read
// in every execution); otherwise a rising count-down input takes 1 off the
// value, which stops at 0. The bit is 1 when the value is 0 and the load
// input is 0.
class ZR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row =
        described(counter("ZR", "CTD", "CTD", LK_UP_COUNTER, ProgramRule::DownCounter),
                  "Down counter: LD loads the preset, rising edges of CD count down to 0");

    explicit ZR_Op(Operands o)
        : RowOperation(row, std::move(o)), counter_(recordOf<CounterRecord, CounterParameter>(operand1_.get())) {}

    void execute(CPU& cpu) override {
        if (counter_ == nullptr) throwMessage("Counter expected");
        const int load = popBit(cpu);
        const int down = stackTop(cpu);
        pushBit(cpu, load);
        CounterRecord& c = *counter_;
        c.preset = static_cast<std::int16_t>(operand2_->getWord());
        if (load)
            c.value = c.preset;
        else if (down && !lastDown_ && c.value > 0)
            c.value = stepped(c.value, -1);
        c.downBit = c.value == 0 && !load;
        if (gateOpen(cpu)) lastDown_ = down;
    }
    // An input that is already 1 after a reset does not count.
    void resetState() override {
        lastDown_ = 1;
        if (counter_ != nullptr) counter_->down = true;
    }
    std::span<int> runState() override { return {&lastDown_, 1}; }

private:
    CounterRecord* counter_;
    int lastDown_ = 1;
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(familyEntries<TimerOp, TIMERS>(), classEntries<TOF_Op, ZV_Op, ZVR_Op, ZR_Op>());
}

} // namespace sps::timers
