#include "cpu/engine.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "base/sim_clock.h"
#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/logic_stack.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "cpu/program.h"
#include "cpu/timer_table.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// The running timers that the engine brings up to date itself: the 1-ms
// timers before every instruction, the 10-ms timers at the start of a scan.
constexpr auto ONE_MS_TIMERS = timersUpdated<TimerUpdate::BeforeEveryInstruction>();
constexpr auto TEN_MS_TIMERS = timersUpdated<TimerUpdate::AtScanStart>();

// The 1-ms timers are brought up to date before every instruction node. On
// one reading of the clock the result is the same however often that is
// done (an update at a time already counted changes nothing), so the engine
// reads the clock only where it may have moved since the last reading: in
// manual mode the time stands still during a scan, so once per scan; with
// the platform's tick count, which moves once per millisecond and costs more
// to read than an instruction to run, every PLATFORM_TICK_POLL nodes (a few
// microseconds at most); with a replaced tick source (tests, which may move
// time at every instruction) before every node.
constexpr int PLATFORM_TICK_POLL = 256;

int timerPollInterval() {
    const SimClock& clock = simClock();
    if (clock.isManual()) return INT_MAX;
    return clock.hasTickSource() ? 1 : PLATFORM_TICK_POLL;
}

void updateTimers(CPU& cpu, std::span<const int> numbers) {
    bool read = false;
    std::uint32_t now = 0;
    for (int n : numbers) {
        TimerRecord& timer = cpu.timers[static_cast<std::size_t>(n)];
        if (!timer.running) continue;
        if (!read) {
            now = simTime();
            read = true;
        }
        updateTimer(timer, now);
    }
}

// Before every instruction node, in one decrement when nothing is due.
inline void keepOneMsTimersCurrent(CPU& cpu) {
    if (--cpu.timerPollCountdown > 0) return;
    updateTimers(cpu, ONE_MS_TIMERS);
    cpu.timerPollCountdown = cpu.timerPollInterval;
}

void traceStack(CPU& cpu, Writer& sink, const char* title, const Operation& op) {
    sink.putString(title);
    sink.putChar(static_cast<char>('0' + stackThird(cpu)));
    sink.putChar(static_cast<char>('0' + stackSecond(cpu)));
    sink.putChar(static_cast<char>('0' + stackTop(cpu)));
    sink.putString("->");
    sink.putString(op.mnemonic());
    sink.putChar('(');
    sink.putString(op.boxLabel());
    sink.putString(") ");
}

void tracePins(Writer& sink, const Operation& op, std::initializer_list<int> pins) {
    for (int pin : pins) {
        op.pinName(sink, pin, 0, nullptr);
        sink.putChar(' ');
        op.pinValue(sink, pin, 0, nullptr);
    }
    sink.putChar('\n');
}

// The top four bits of the logic stack as the gate shows them, top in bit 0.
std::uint8_t topFourBits(const CPU& cpu) {
    return gateOpen(cpu) ? static_cast<std::uint8_t>(cpu.logicStack & 0x0Fu) : 0;
}

// "E0.0=1 MW2=5": every pin that names an operand with a value (a
// constant has none).
std::string pinValues(const Operation& op) {
    StringWriter text;
    for (int pin = 1; pin <= 5; ++pin) {
        StringWriter name;
        op.pinName(name, pin, 0, nullptr);
        StringWriter value;
        op.pinValue(value, pin, 0, nullptr);
        if (name.text().empty() || value.text().empty()) continue;
        if (!text.text().empty()) text.putChar(' ');
        text.putString(name.text().substr(name.text().front() == ' ' ? 1 : 0));
        text.putChar('=');
        text.putString(value.text());
    }
    return text.takeText();
}

std::string instructionText(const Operation& op) {
    StringWriter text;
    text.putString(op.mnemonic());
    const char* separator = "";
    for (const Parameter* operand : {op.operand1(), op.operand2(), op.operand3()}) {
        if (operand == nullptr) continue;
        text.putString(separator);
        operand->printName(text);
        separator = ",";
    }
    return text.takeText();
}

// One instruction with its trace lines, while the scan is traced.
void runTraced(CPU& cpu, Operation& op) {
    // A full trace sink ends the tracing, not the scan.
    Writer* sink = cpu.traceSink != nullptr && !cpu.traceSink->full() ? cpu.traceSink : nullptr;
    if (sink != nullptr) {
        traceStack(cpu, *sink, "SStack: ", op);
        tracePins(*sink, op, {3, 4, 1, 2});
    }
    // The row by its index: a subroutine that the instruction calls adds rows.
    std::optional<std::size_t> row;
    if (cpu.traceRows != nullptr && cpu.traceRows->size() < MAX_TRACE_ROWS && cpu.traceBlock != nullptr) {
        row = cpu.traceRows->size();
        TraceRow& before = cpu.traceRows->emplace_back();
        before.block = cpu.traceBlock->label;
        before.network = cpu.traceNetwork != nullptr ? cpu.traceNetwork->number : 0;
        before.depth = cpu.callDepth;
        before.instruction = instructionText(op);
        before.valuesBefore = pinValues(op);
        before.stackBefore = topFourBits(cpu);
    }
    op.execute(cpu);
    if (sink != nullptr) {
        traceStack(cpu, *sink, "EStack: ", op);
        tracePins(*sink, op, {5, 1, 2});
    }
    if (row) {
        TraceRow& after = (*cpu.traceRows)[*row];
        after.valuesAfter = pinValues(op);
        after.stackAfter = topFourBits(cpu);
    }
}

// How a block runs: plainly (nearly always), noting each instruction's
// power flow (while a ladder view shows it), or traced (a traced scan, which
// notes the power flow too when that is on).
enum class Mode : std::uint8_t { Plain, Power, Traced };

// `top` is the top of the logic stack before the instruction (what the one
// before it left), and after it when it returns: one reading per
// instruction, where the power flow is noted.
template <Mode M> void runInstruction(CPU& cpu, Operation& op, int& top) {
    if constexpr (M == Mode::Plain) {
        op.execute(cpu);
    } else {
        if constexpr (M == Mode::Power)
            op.execute(cpu);
        else
            runTraced(cpu, op);
        if (M == Mode::Power || cpu.recordPower) {
            const int after = stackTop(cpu);
            op.notePower(cpu.scanNumber, top, after);
            top = after;
        }
    }
}

// "in OB1, Netzwerk 3: MOVB 16#FF, AB0": an instruction, where it stands.
std::string instructionPlace(const Block& block, const Network& network, const Operation& op) {
    StringWriter place;
    place.putString("in ");
    place.putString(block.label);
    place.putString(", Netzwerk ");
    place.putInt(network.number);
    place.putString(": ");
    place.putString(op.mnemonic());
    const char* separator = "";
    for (const Parameter* operand : {op.operand1(), op.operand2(), op.operand3()}) {
        if (operand == nullptr) continue;
        place.putString(separator);
        operand->printName(place); // with a blank before the name
        separator = ",";
    }
    return place.takeText();
}

// Called as an error leaves each block, innermost first: the first place stays.
void notePlace(CPU& cpu, const Block& block, const Network& network, const Operation& op) {
    if (cpu.faultPlace.empty()) cpu.faultPlace = instructionPlace(block, network, op);
}

// Every network starts with an empty stack, inside an open sequence segment
// with its S bit's state, inside a subroutine with a 1.
inline void startNetwork(CPU& cpu) {
    cpu.logicStack = 0;
    if (cpu.scrState != ScrState::Outside) pushBit(cpu, cpu.scrState == ScrState::Active ? 1 : 0);
    if (cpu.callState == CallState::Subroutine) pushBit(cpu, 1);
}

// Where the block goes on: the network and the node within it.
struct Position {
    std::size_t network = 0;
    std::size_t node = 0;
};

enum class Outcome { Jumped, Ended, Returned };

// Runs the block from `at` until it ends, a return ends it early, or a jump
// is taken (`at` then names the jump's node). The hot path of every scan:
// per instruction it checks only what an instruction may have changed.
template <Mode M> Outcome run(CPU& cpu, const Block& block, Position& at) {
    // Pointers kept in registers across the calls of the instructions, which
    // cannot change the program.
    const std::vector<Network>& networks = block.networks;
    const Network* network = networks.data() + at.network;
    const Network* const lastNetwork = networks.data() + networks.size();
    const std::unique_ptr<Operation>* node = nullptr;
    std::size_t first = at.node;
    int top = 0; // read only where the power flow is noted
    try {
        while (network < lastNetwork) {
            if (first == 0) {
                if (cpu.networkGate != nullptr)
                    cpu.networkGate->beforeNetwork(block, static_cast<std::size_t>(network - networks.data()));
                startNetwork(cpu);
            }
            if constexpr (M != Mode::Plain) top = stackTop(cpu);
            node = network->ops.data() + first;
            const std::unique_ptr<Operation>* const end = network->ops.data() + network->ops.size();
            bool looped = false;
            for (; node < end; ++node) {
                keepOneMsTimersCurrent(cpu);
                if constexpr (M == Mode::Traced) {
                    cpu.traceBlock = &block;
                    cpu.traceNetwork = network;
                }
                runInstruction<M>(cpu, **node, top);
                if (++cpu.instructionCount > LOOP_LIMIT) throwMessage("Possible loop dedected");
                if (cpu.callState == CallState::Returned) return Outcome::Returned;
                if (cpu.jumpLabel) {
                    if (*cpu.jumpLabel != LOOP_JUMP) {
                        at = {static_cast<std::size_t>(network - networks.data()),
                              static_cast<std::size_t>(node - network->ops.data())};
                        return Outcome::Jumped;
                    }
                    // FOR or NEXT: on at another instruction of the block;
                    // the loop has left the stack as it goes on there.
                    cpu.jumpLabel.reset();
                    network = networks.data() + std::min(cpu.loopTarget.network, networks.size());
                    first = cpu.loopTarget.node;
                    looped = true;
                    break;
                }
            }
            if (!looped) {
                ++network;
                first = 0;
            }
        }
    } catch (const CPUException&) {
        // Only an instruction, or the loop guard after one, throws.
        notePlace(cpu, block, *network, **node);
        throw;
    }
    return Outcome::Ended;
}

// A taken jump searches its label from the block's first network on, running
// nothing but the instructions that stand alone (LBL and SCRE), each network
// started as usual. When an LBL clears the search, `at` names the node after
// it; Ended when the block ends first.
template <Mode M> Outcome search(CPU& cpu, const Block& block, Position& at) {
    const std::vector<Network>& networks = block.networks;
    for (at.network = 0; at.network < networks.size(); ++at.network) {
        const auto& ops = networks[at.network].ops;
        startNetwork(cpu);
        for (at.node = 0; at.node < ops.size(); ++at.node) {
            keepOneMsTimersCurrent(cpu);
            Operation& op = *ops[at.node];
            if (!op.standsAlone()) continue;
            try {
                if constexpr (M == Mode::Traced) {
                    cpu.traceBlock = &block;
                    cpu.traceNetwork = &networks[at.network];
                }
                int top = stackTop(cpu);
                runInstruction<M>(cpu, op, top);
                if (++cpu.instructionCount > LOOP_LIMIT) throwMessage("Possible loop dedected");
            } catch (const CPUException&) {
                notePlace(cpu, block, networks[at.network], op);
                throw;
            }
            if (cpu.callState == CallState::Returned) return Outcome::Returned;
            if (!cpu.jumpLabel) {
                ++at.node;
                return Outcome::Jumped;
            }
        }
    }
    return Outcome::Ended;
}

// True when a return ended the block early.
template <Mode M> bool runBlock(CPU& cpu, const Block& block) {
    Position at;
    for (;;) {
        Outcome outcome = run<M>(cpu, block, at);
        if (outcome == Outcome::Jumped) {
            const Position jump = at;
            outcome = search<M>(cpu, block, at);
            // The label is missing ("Label not found" follows): the jump is the place.
            if (outcome == Outcome::Ended && cpu.jumpLabel)
                notePlace(cpu, block, block.networks[jump.network], *block.networks[jump.network].ops[jump.node]);
        }
        if (outcome != Outcome::Jumped) return outcome == Outcome::Returned;
    }
}

} // namespace

void resetCpu(CPU& cpu) {
    // The records first: the instructions' resets mark the off-delay timers
    // and the down counters of the program.
    for (TimerRecord& timer : cpu.timers) {
        timer.value = 0;
        timer.running = false;
        timer.held = false;
        timer.offDelay = false;
    }
    for (CounterRecord& counter : cpu.counters) {
        counter.down = false;
        counter.downBit = false;
    }
    if (cpu.program) {
        for (const Block& block : *cpu.program)
            for (const Network& network : block.networks)
                for (const auto& op : network.ops) op->resetState();
    }
    cpu.areaA.clear();
    cpu.areaSM.systemWriteBit(0, 0, 1);
    cpu.areaSM.systemWriteBit(0, 1, 1);
    cpu.areaSM.systemWriteBit(0, 7, 1);
    cpu.areaSM.systemWriteByte(6, 0x20);
}

void scanCycle(CPU& cpu) {
    cpu.faultPlace.clear();
    cpu.scrState = ScrState::Outside;
    cpu.instructionCount = 0;
    cpu.stopRequested = false;
    ++cpu.scanNumber;
    cpu.callDepth = 0;

    cpu.timerPollCountdown = 1;
    cpu.timerPollInterval = timerPollInterval();

    // Bit by bit, bit 0 of byte 0 first; a byte of the image is filled at once.
    const int inputBytes = cpu.bus != nullptr ? cpu.bus->inputBytes() : 0;
    for (int byte = 0; byte < inputBytes; ++byte) {
        if (std::uint8_t* image = cpu.areaE.directWrite(byte, 1)) {
            *image = cpu.bus->readInputByte(byte);
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) cpu.areaE.writeBit(byte, bit, cpu.bus->readInput(byte, bit));
    }
    if (!cpu.forces.idle()) cpu.forces.applyAtScanStart();

    updateTimers(cpu, TEN_MS_TIMERS);

    cpu.callState = CallState::Organization;
    if (cpu.program) {
        for (const Block& block : *cpu.program)
            if (block.kind == BLOCK_ORGANIZATION) executeBlock(cpu, block);
    }

    cpu.areaSM.systemWriteBit(0, 1, 0);
    cpu.areaSM.systemWriteBit(0, 4, (simTime() % 60000u) > 29999u ? 1 : 0);
    cpu.areaSM.systemWriteBit(0, 5, (simTime() % 1000u) > 499u ? 1 : 0);
    cpu.areaSM.systemWriteBit(0, 6, cpu.areaSM.readBit(0, 6));

    if (!cpu.forces.idle()) cpu.forces.applyAtScanEnd();

    const int outputBytes = cpu.bus != nullptr ? cpu.bus->outputBytes() : 0;
    for (int byte = 0; byte < outputBytes; ++byte) {
        if (const std::uint8_t* image = cpu.areaA.directRead(byte, 1)) {
            cpu.bus->writeOutputByte(byte, *image);
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) cpu.bus->writeOutput(byte, bit, cpu.areaA.readBit(byte, bit));
    }
}

void executeBlock(CPU& cpu, const Block& block) {
    cpu.jumpLabel.reset();
    const bool returned = cpu.traceSink != nullptr ? runBlock<Mode::Traced>(cpu, block)
                          : cpu.recordPower        ? runBlock<Mode::Power>(cpu, block)
                                                   : runBlock<Mode::Plain>(cpu, block);
    if (!returned && cpu.jumpLabel) throwMessage("Label not found");
}

const Block* findSubroutine(const CPU& cpu, const std::string& name) {
    if (!cpu.program) return nullptr;
    for (const Block& block : *cpu.program)
        if (block.kind == BLOCK_SUBROUTINE && block.name == name) return &block;
    return nullptr;
}

} // namespace sps
