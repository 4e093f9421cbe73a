#pragma once

// On-delay timers (TON, TONR) and the up and up/down counters (ZV, ZVR).
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
constexpr InstructionRow timer(const char* mnemonic, KindRule numberRule) {
    return {.mnemonic = mnemonic,
            .label = mnemonic,
            .ladderKind = LK_TIMER,
            .operandCount = 2,
            .checks = {needs(2, CAP_READ_WORD), needsKind(1, KindRule::Timer), needsKind(1, numberRule)},
            .pins = {pinShows(1, 1, 'T'), pinShows(3, 2, 'W')}};
}

constexpr InstructionRow counter(const char* mnemonic, const char* international, const char* label, LadderKind kind) {
    return {.mnemonic = mnemonic,
            .international = international,
            .label = label,
            .ladderKind = kind,
            .operandCount = 2,
            .checks = {needs(2, CAP_READ_WORD), needsKind(1, KindRule::Counter)},
            .pins = {pinShows(1, 1, 'Z'), pinShows(3, 2, 'W')}};
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
        timer(T.mnemonic.c_str(), Retentive ? KindRule::RetentiveTimer : KindRule::OnDelayTimer);

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

// Counts wrap at 16 bits in either direction.
inline std::int16_t stepped(std::int16_t value, int delta) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value + delta));
}

// Inputs on the stack: reset on the top, count-up below it. Both stay on
// the stack. Counting reacts to rising edges between executions; the edge
// memory is kept only while the sequence gate is open.
class ZV_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = counter("ZV", "CTU", "CTU", LK_UP_COUNTER);

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

private:
    CounterRecord* counter_;
    int lastUp_ = 1;
};

// Inputs on the stack: reset on the top, count-down second, count-up third.
class ZVR_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = counter("ZVR", "CTUD", "CTUD", LK_UPDOWN_COUNTER);

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
        if (up && !lastUp_) c.value = stepped(c.value, 1);
        if (down && !lastDown_) c.value = stepped(c.value, -1);
        if (gateOpen(cpu)) {
            lastUp_ = up;
            lastDown_ = down;
        }
    }
    void resetState() override {
        lastUp_ = 1;
        lastDown_ = 1;
    }

private:
    CounterRecord* counter_;
    int lastUp_ = 1;
    int lastDown_ = 1;
};

// The family's entries in the order of the table.
constexpr auto instructions() { return joinEntries(familyEntries<TimerOp, TIMERS>(), classEntries<ZV_Op, ZVR_Op>()); }

} // namespace sps::timers
