#include "cpu/engine.h"

#include <climits>
#include <initializer_list>
#include <span>

#include "base/sim_clock.h"
#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/logic_stack.h"
#include "cpu/operation.h"
#include "cpu/program.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr int ONE_MS_TIMERS[] = {0, 32, 64, 96};
constexpr int TEN_MS_TIMERS[] = {1, 2, 3, 4, 33, 34, 35, 36, 65, 66, 67, 68, 97, 98, 99, 100};

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

// Executes one instruction, with its trace lines when the scan is traced.
template <bool Traced> void runInstruction(CPU& cpu, Operation& op) {
    if constexpr (Traced) {
        // A full trace sink ends the tracing, not the scan.
        Writer* sink = cpu.traceSink != nullptr && !cpu.traceSink->full() ? cpu.traceSink : nullptr;
        if (sink != nullptr) {
            traceStack(cpu, *sink, "SStack: ", op);
            tracePins(*sink, op, {3, 4, 1, 2});
        }
        op.execute(cpu);
        if (sink != nullptr) {
            traceStack(cpu, *sink, "EStack: ", op);
            tracePins(*sink, op, {5, 1, 2});
        }
    } else {
        op.execute(cpu);
    }
}

// The networks of a block from the first; a taken jump starts them again.
// True when a return ended the block early. The untraced form is the hot
// path of every scan.
template <bool Traced> bool runNetworks(CPU& cpu, const Block& block) {
    bool restart = true;
    while (restart) {
        restart = false;
        for (const Network& network : block.networks) {
            cpu.logicStack = 0;
            if (cpu.scrState != ScrState::Outside) pushBit(cpu, cpu.scrState == ScrState::Active ? 1 : 0);
            if (cpu.callState == CallState::Subroutine) pushBit(cpu, 1);
            for (const auto& op : network.ops) {
                keepOneMsTimersCurrent(cpu);
                // While a jump searches its label only LBL and SCRE run.
                const bool searching = cpu.jumpLabel.has_value();
                if (searching && !op->standsAlone()) continue;
                runInstruction<Traced>(cpu, *op);
                if (++cpu.instructionCount > LOOP_LIMIT) throwMessage("Possible loop dedected");
                if (cpu.callState == CallState::Returned) return true;
                if (cpu.jumpLabel && !searching) {
                    restart = true;
                    break;
                }
            }
            if (restart) break;
        }
    }
    return false;
}

} // namespace

void resetCpu(CPU& cpu) {
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
    for (TimerRecord& timer : cpu.timers) {
        timer.value = 0;
        timer.running = false;
    }
}

void scanCycle(CPU& cpu) {
    cpu.scrState = ScrState::Outside;
    cpu.instructionCount = 0;
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
    const bool returned = cpu.traceSink != nullptr ? runNetworks<true>(cpu, block) : runNetworks<false>(cpu, block);
    if (!returned && cpu.jumpLabel) throwMessage("Label not found");
}

const Block* findSubroutine(const CPU& cpu, const std::string& name) {
    if (!cpu.program) return nullptr;
    for (const Block& block : *cpu.program)
        if (block.kind == BLOCK_SUBROUTINE && block.name == name) return &block;
    return nullptr;
}

} // namespace sps
