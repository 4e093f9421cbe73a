#pragma once

// Instructions for ladder tests: the real instruction of a line, or "BAD", a
// stand-in for what no real instruction is: a kind-0 instruction that is none
// of the five logic-stack operations.

#include <memory>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "support/instruction_harness.h"

namespace sps {

namespace fake {

class BadOperation final : public Operation {
public:
    BadOperation() : Operation(Operands{}) {}

    void execute(CPU&) override {}
    bool standsAlone() const override { return false; }
    const char* mnemonic() const override { return "BAD"; }
    const char* boxLabel() const override { return ""; }
    void checkOperands() const override {}
    LadderKind ladderKind() const override { return LK_NONE; }
};

inline std::unique_ptr<Operation> instruction(CPU& cpu, const std::string& line) {
    if (line == "BAD") return std::make_unique<BadOperation>();
    return harness::makeInstruction(cpu, line);
}

inline std::vector<std::unique_ptr<Operation>> instructions(CPU& cpu, const std::vector<std::string>& lines) {
    std::vector<std::unique_ptr<Operation>> ops;
    for (const std::string& line : lines) ops.push_back(instruction(cpu, line));
    return ops;
}

} // namespace fake

} // namespace sps
