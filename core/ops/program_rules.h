#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "cpu/program.h"
#include "messages/message_key.h"

namespace sps {

// The rules that span several instructions of one program, checked while it
// is read: a timer number serves TON or TOF, a counter number ZR or the up
// counters, END stands in an organization block, and every FOR has its
// NEXT in the same block (nested at most MAX_LOOP_DEPTH deep), NEXT alone in
// its network. Linking each NEXT to its FOR is part of it. Every violation
// throws the parse error of the line it is found on.
class ProgramRules {
public:
    static constexpr std::size_t MAX_LOOP_DEPTH = 8;

    // `lineError` formats a violation with its line and text.
    explicit ProgramRules(MessageKey lineError = "Parse-error(%d):%s") : lineError_(lineError) {}

    void startBlock(BlockKind kind);
    // The next instruction of the block, instruction `node` of network
    // `network`, read on `line`.
    void check(Operation& op, std::size_t network, std::size_t node, int line);
    // The instructions of a network, when it is complete.
    void endNetwork(const std::vector<std::unique_ptr<Operation>>& ops);
    void endBlock();

private:
    struct Use {
        ProgramRule rule = ProgramRule::None;
        const Operation* op = nullptr;
    };
    struct OpenLoop {
        Operation* op;
        std::size_t network;
        std::size_t node;
        int line;
    };

    [[noreturn]] void raiseAt(int line, const std::string& detail) const;

    MessageKey lineError_;
    BlockKind block_ = BLOCK_ORGANIZATION;
    std::array<Use, CPU::TIMER_COUNT> timers_{};
    std::array<Use, CPU::COUNTER_COUNT> counters_{};
    std::vector<OpenLoop> loops_;
};

} // namespace sps
