#include "cpu/cpu_state.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "base/state_archive.h"
#include "cpu/cpu.h"
#include "cpu/operation.h"

namespace sps {

namespace {

static_assert(std::is_trivially_copyable_v<TimerRecord> && std::is_trivially_copyable_v<CounterRecord>);

void visitForces(StateArchive& archive, CPU& cpu) {
    std::vector<ForceTable::SavedForce> saved;
    if (!archive.reading())
        for (const ForcedOperand& entry : cpu.forces.entries()) saved.push_back({entry.name, entry.width, entry.value});
    auto count = static_cast<std::uint32_t>(saved.size());
    archive.value(count);
    if (archive.reading()) saved.resize(std::min<std::size_t>(count, MAX_FORCES), {{}, Width::Bit, {}});
    for (ForceTable::SavedForce& entry : saved) {
        archive.text(entry.name);
        archive.value(entry.width);
        archive.value(entry.value);
    }
    if (archive.reading()) cpu.forces.restore(cpu, saved);
}

} // namespace

void visitCpuState(StateArchive& archive, CPU& cpu) {
    for (MemField* area :
         {&cpu.areaE, &cpu.areaA, &cpu.areaM, &cpu.areaV, &cpu.areaS, static_cast<MemField*>(&cpu.areaSM)}) {
        const std::span<std::uint8_t> bytes = area->stateBytes();
        archive.raw(bytes.data(), bytes.size());
    }
    archive.raw(cpu.timers.data(), sizeof cpu.timers);
    archive.raw(cpu.counters.data(), sizeof cpu.counters);
    archive.value(cpu.accumulators);
    archive.value(cpu.scanNumber);
    if (cpu.program)
        for (const Block& block : *cpu.program)
            for (const Network& network : block.networks)
                for (const auto& op : network.ops) {
                    const std::span<int> memory = op->runState();
                    archive.raw(memory.data(), memory.size_bytes());
                }
    visitForces(archive, cpu);
}

} // namespace sps
