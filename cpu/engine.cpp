#include "cpu/engine.h"

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

void updateTimers(CPU& cpu, std::span<const int> numbers) {
    for (int n : numbers) {
        TimerRecord& timer = cpu.timers[static_cast<std::size_t>(n)];
        if (timer.running) updateTimer(timer);
    }
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

    const int inputBits = cpu.bus != nullptr ? 8 * cpu.bus->inputBytes() : 0;
    for (int i = 0; i < inputBits; ++i) cpu.areaE.writeBit(i / 8, i % 8, cpu.bus->readInput(i / 8, i % 8));
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

    const int outputBits = cpu.bus != nullptr ? 8 * cpu.bus->outputBytes() : 0;
    for (int i = 0; i < outputBits; ++i) cpu.bus->writeOutput(i / 8, i % 8, cpu.areaA.readBit(i / 8, i % 8));
}

void executeBlock(CPU& cpu, const Block& block) {
    cpu.jumpLabel.reset();
    bool restart = true;
    while (restart) {
        restart = false;
        for (const Network& network : block.networks) {
            cpu.logicStack = 0;
            if (cpu.scrState != ScrState::Outside) pushBit(cpu, cpu.scrState == ScrState::Active ? 1 : 0);
            if (cpu.callState == CallState::Subroutine) pushBit(cpu, 1);
            for (const auto& op : network.ops) {
                updateTimers(cpu, ONE_MS_TIMERS);
                // While a jump searches its label only LBL and SCRE run.
                const bool searching = cpu.jumpLabel.has_value();
                if (searching && !op->standsAlone()) continue;
                // A full trace sink ends the tracing, not the scan.
                Writer* sink = cpu.traceSink != nullptr && !cpu.traceSink->full() ? cpu.traceSink : nullptr;
                if (sink != nullptr) {
                    traceStack(cpu, *sink, "SStack: ", *op);
                    tracePins(*sink, *op, {3, 4, 1, 2});
                }
                op->execute(cpu);
                if (sink != nullptr) {
                    traceStack(cpu, *sink, "EStack: ", *op);
                    tracePins(*sink, *op, {5, 1, 2});
                }
                if (++cpu.instructionCount > LOOP_LIMIT) throwMessage("Possible loop dedected");
                if (cpu.callState == CallState::Returned) return;
                if (cpu.jumpLabel && !searching) {
                    restart = true;
                    break;
                }
            }
            if (restart) break;
        }
    }
    if (cpu.jumpLabel) throwMessage("Label not found");
}

const Block* findSubroutine(const CPU& cpu, const std::string& name) {
    if (!cpu.program) return nullptr;
    for (const Block& block : *cpu.program)
        if (block.kind == BLOCK_SUBROUTINE && block.name == name) return &block;
    return nullptr;
}

} // namespace sps
