#include "ops/program_rules.h"

#include <string>

#include "cpu/operand_value.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/program_control.h"

namespace sps {

namespace {

// The record number of operand 1 of a timer or counter instruction; -1 where
// the operand is none (its own check has refused it then).
int timerNumber(const Operation& op) {
    const auto* timer = dynamic_cast<const TimerParameter*>(op.operand1());
    return timer != nullptr ? timer->number() : -1;
}

int counterNumber(const Operation& op) {
    const auto* counter = dynamic_cast<const CounterParameter*>(op.operand1());
    return counter != nullptr ? counter->number() : -1;
}

} // namespace

void ProgramRules::raiseAt(int line, const std::string& detail) const {
    throw CPUException(formatMessage(lineError_, line, detail.c_str()), line);
}

void ProgramRules::startBlock(BlockKind kind) {
    block_ = kind;
    loops_.clear();
}

void ProgramRules::check(Operation& op, std::size_t network, std::size_t node, int line) {
    const ProgramRule rule = op.programRule();
    switch (rule) {
    case ProgramRule::None: return;
    case ProgramRule::OnDelayTimer:
    case ProgramRule::OffDelayTimer: {
        const int number = timerNumber(op);
        if (number < 0 || number >= CPU::TIMER_COUNT) return;
        Use& use = timers_[static_cast<std::size_t>(number)];
        if (use.op != nullptr && use.rule != rule)
            raiseAt(line, formatMessage("Timer %s used by TON and TOF", operandName(*op.operand1()).c_str()));
        if (use.op == nullptr) use = {rule, &op};
        return;
    }
    case ProgramRule::UpCounter:
    case ProgramRule::DownCounter: {
        const int number = counterNumber(op);
        if (number < 0 || number >= CPU::COUNTER_COUNT) return;
        Use& use = counters_[static_cast<std::size_t>(number)];
        if (use.op != nullptr && use.rule != rule) {
            const Operation& up = rule == ProgramRule::UpCounter ? op : *use.op;
            const Operation& down = rule == ProgramRule::DownCounter ? op : *use.op;
            raiseAt(line, formatMessage("Counter %s used by %s and %s", operandName(*op.operand1()).c_str(),
                                        up.mnemonic(), down.mnemonic()));
        }
        if (use.op == nullptr) use = {rule, &op};
        return;
    }
    case ProgramRule::InOrganizationBlock:
        if (block_ != BLOCK_ORGANIZATION)
            raiseAt(line, formatMessage("%s only in an organization block", op.mnemonic()));
        return;
    case ProgramRule::LoopStart:
        if (loops_.size() >= MAX_LOOP_DEPTH) raiseAt(line, MessageKey("Loops nested too deeply").text());
        loops_.push_back({&op, network, node, line});
        return;
    case ProgramRule::LoopEnd: {
        if (loops_.empty()) raiseAt(line, MessageKey("NEXT without FOR").text());
        const OpenLoop loop = loops_.back();
        loops_.pop_back();
        auto* start = dynamic_cast<program_control::FOR_Op*>(loop.op);
        auto* end = dynamic_cast<program_control::NEXT_Op*>(&op);
        if (start == nullptr || end == nullptr) return;
        start->link({loop.network, loop.node + 1}, {network + 1, 0});
        end->link(*start);
        return;
    }
    }
}

void ProgramRules::endNetwork(const std::vector<std::unique_ptr<Operation>>& ops) {
    if (ops.size() < 2) return;
    for (const auto& op : ops)
        if (op->programRule() == ProgramRule::LoopEnd) throwMessage("to many commands in the network");
}

void ProgramRules::endBlock() {
    if (!loops_.empty()) raiseAt(loops_.front().line, MessageKey("FOR without NEXT").text());
}

} // namespace sps
