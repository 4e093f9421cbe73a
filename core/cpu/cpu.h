#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cpu/force_table.h"
#include "cpu/mem_field.h"
#include "cpu/mnemonic_set.h"
#include "cpu/program.h"
#include "cpu/timer_table.h"
#include "cpu/trace_row.h"

namespace sps {

class IOBus;
class Writer;
class Parameter;

// The state of one timer; `value` counts ticks of `resolution` milliseconds.
// An on-delay timer's bit is 1 once its value reaches the preset; an
// off-delay timer (TOF) is 1 while its input is 1 (`held`) and while it
// counts after the input fell (`running`), and stops at the preset.
struct TimerRecord {
    std::uint16_t value = 0;
    std::uint16_t preset = 0;
    std::uint16_t resolution = 100;
    bool running = false; // counting: an on-delay timer's input is 1, an off-delay timer's fell
    std::uint32_t lastUpdate = 0;
    bool offDelay = false; // used by TOF in the loaded program
    bool held = false;     // TOF: its input was 1 in its last execution
};

// The state of one counter. An up counter's bit is 1 once its value reaches
// the preset; a down counter (ZR) sets its bit itself after each execution.
struct CounterRecord {
    std::int16_t preset = 0;
    std::int16_t value = 0;
    bool down = false; // used by ZR in the loaded program
    bool downBit = false;
};

// Where the scan stands with sequence segments: outside any, or inside an
// open segment (after LSCR) whose S bit was set (active) or clear (inactive).
// Inside an inactive segment every read of the logic stack yields 0 and every
// push pushes 0.
enum class ScrState : std::int8_t { Outside = -1, Inactive = 0, Active = 1 };

// Where the engine runs: in an organization block, in a subroutine, or in a
// block that a conditional return (CRET) has ended after its instruction.
enum class CallState : std::uint8_t { Organization = 0, Returned = 1, Subroutine = 2 };

// The label (0..255) that a taken jump searches, LOOP_JUMP for a jump of a
// program loop to cpu.loopTarget, or none while no jump is pending.
using JumpLabel = std::optional<std::uint16_t>;
inline constexpr std::uint16_t LOOP_JUMP = 0xFFFF;

// Told before each network of a scan begins (network stepping and network
// breakpoints); it may hold the scan there or end it by throwing.
class NetworkGate {
public:
    virtual void beforeNetwork(const Block& block, std::size_t network) = 0;

protected:
    ~NetworkGate() = default;
};

// Where a loop goes on in its block: the network and the instruction in it.
struct LoopTarget {
    std::size_t network = 0;
    std::size_t node = 0;
};

// The simulated controller: memory areas, timers, counters, accumulators, the
// loaded program and the state of the execution engine.
class CPU {
public:
    static constexpr int TIMER_COUNT = TIMER_NUMBERS;
    static constexpr int COUNTER_COUNT = 256;
    static constexpr int ACCUMULATOR_COUNT = 4;

    // A CPU without I/O devices: its inputs read 0, its outputs go nowhere.
    CPU();
    // A CPU wired to `bus`, which outlives it.
    explicit CPU(IOBus& wiredBus);
    ~CPU();
    CPU(const CPU&) = delete;
    CPU& operator=(const CPU&) = delete;

    MemField areaM{32, false};
    MemField areaV{4096, false};
    MemField areaS{16, false};
    std::array<TimerRecord, TIMER_COUNT> timers;
    std::array<CounterRecord, COUNTER_COUNT> counters;
    IOBus* const bus = nullptr; // not owned
    std::array<std::uint32_t, ACCUMULATOR_COUNT> accumulators{};
    int instructionCount = 0;
    // None until a program is loaded. Shared and immutable, so that whatever
    // was made from a program (a ladder view) keeps it after a new load.
    std::shared_ptr<const Program> program;
    Writer* traceSink = nullptr; // set only around a traced scan
    // Beside the sink, the rows of the trace window's table (at most
    // MAX_TRACE_ROWS), and where the traced scan stands.
    std::vector<TraceRow>* traceRows = nullptr;
    const Block* traceBlock = nullptr;
    const Network* traceNetwork = nullptr;
    // While set, every instruction notes the logic stack's top before and
    // after it ran (its power flow), stamped with scanNumber; only while a
    // view shows it, since it slows the scan.
    bool recordPower = false;
    NetworkGate* networkGate = nullptr; // null but while a scan is stepped or has network breakpoints
    std::uint32_t scanNumber = 0;       // counts every scan
    std::uint32_t logicStack = 0;
    MemField areaA{8, false};
    MemField areaE{8, false};
    SMField areaSM{86};
    ScrState scrState = ScrState::Outside;
    JumpLabel jumpLabel;
    LoopTarget loopTarget; // where a LOOP_JUMP goes
    // STOP ran with its input 1: the run stops after this scan.
    bool stopRequested = false;
    CallState callState = CallState::Organization;
    Parameter* scrBit = nullptr; // the S bit of the open sequence segment
    int callDepth = 0;           // subroutine frames currently open
    // Instruction nodes until the engine next brings the 1-ms timers up to
    // date, and how many it runs on one reading of the clock (see engine.cpp).
    int timerPollCountdown = 0;
    int timerPollInterval = 1;
    ForceTable forces; // what the user holds at a value, and writes once
    // The operand letters the user may type (watch, force, conditions,
    // spsrun): the German ones, and the international ones too while an
    // imported program runs.
    OperandSyntax operandEntry;
    // Where the error that ended the last scan happened, "in OB1, Netzwerk
    // 3: U M99.0": the innermost instruction (in a subroutine, not its call);
    // empty for an error outside the program.
    std::string faultPlace;

    // Analog input `channel` as the program reads it: its forced value, or
    // what the bus delivers (0 without a bus).
    std::uint16_t readAnalogInput(int channel);

private:
    explicit CPU(IOBus* wiredBus);
};

// What R does to a timer or counter: value 0 and bit 0 (an on-delay timer's
// bit follows from its value; an off-delay timer stops).
void resetTimer(TimerRecord& timer);
void resetCounter(CounterRecord& counter);

// At most this many rows of a traced scan's table are kept.
inline constexpr std::size_t MAX_TRACE_ROWS = 100000;

// At most this many ticks are counted in one update; time beyond is dropped.
inline constexpr std::uint32_t MAX_TIMER_CATCHUP = 6000;

// Advances a running timer by the whole ticks elapsed since its last update;
// the remainder carries into the next call and the value saturates at 65535.
void updateTimer(TimerRecord& timer);
// The same with the simulation time `now` already read.
void updateTimer(TimerRecord& timer, std::uint32_t now);

} // namespace sps
