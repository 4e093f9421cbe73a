#pragma once

// Stand-ins for instructions that the ladder view needs but that may not be
// built yet (moves, arithmetic, timers, counters, labels). They answer the
// ladder queries like the real ones: kind, label, pins from operand slots and
// the in-place merge pin; executing them does nothing.

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "loader/writer.h"
#include "ops/operation.h"
#include "support/instruction_harness.h"

namespace fake {

// A pin shown from an operand slot with a format letter for its value.
struct Pin {
    int pin;
    int slot;
    char letter;
};

struct LadderShape {
    LadderKind kind = LK_CONTACT;
    std::string label;
    std::vector<Pin> pins;
    MergeInfo merge; // operand field unused: `mergeSlot` names it
    int mergeSlot = 0;
};

class FakeOperation final : public Operation {
public:
    FakeOperation(std::string mnemonic, LadderShape shape, Operands operands)
        : Operation(std::move(operands)), mnemonic_(std::move(mnemonic)), shape_(std::move(shape)) {}

    void execute(CPU&) override {}
    bool standsAlone() const override { return false; }
    const char* mnemonic() const override { return mnemonic_.c_str(); }
    const char* boxLabel() const override { return shape_.label.c_str(); }
    int stackIn() const override { return 0; }
    int isTerminal() const override { return 1; }
    int stackOut() const override { return 0; }
    void checkOperands() const override {}
    LadderKind ladderKind() const override { return shape_.kind; }

    void pinName(Writer& writer, int pin, int substitutePin, Parameter* substitute) const override {
        for (const Pin& p : shape_.pins) {
            if (p.pin != pin) continue;
            Parameter* operand = pin == substitutePin ? substitute : slot(p.slot);
            if (operand != nullptr) operand->printName(writer);
        }
    }
    void pinValue(Writer& writer, int pin, int substitutePin, Parameter* substitute) const override {
        for (const Pin& p : shape_.pins)
            if (p.pin == pin) formatValue(writer, pin == substitutePin ? substitute : slot(p.slot), p.letter);
    }
    MergeInfo boxMergeInfo() const override {
        if (shape_.merge.pin == 0) return {};
        return {shape_.merge.pin, slot(shape_.mergeSlot), shape_.merge.size};
    }

private:
    Parameter* slot(int n) const { return n == 1 ? operand1() : n == 2 ? operand2() : n == 3 ? operand3() : nullptr; }

    std::string mnemonic_;
    LadderShape shape_;
};

// The ladder shape of the instructions that the tests fake.
inline const std::map<std::string, LadderShape>& fakeShapes() {
    static const std::map<std::string, LadderShape> shapes = [] {
        std::map<std::string, LadderShape> m;
        const std::vector<Pin> movePins{{3, 1, 'W'}, {5, 2, 'W'}};
        m["MOVB"] = {LK_BOX1, "MOV_B", {{3, 1, 'B'}, {5, 2, 'B'}}, {}, 0};
        m["MOVW"] = {LK_BOX1, "MOV_W", movePins, {}, 0};
        m["MOVD"] = {LK_BOX1, "MOV_DW", {{3, 1, 'D'}, {5, 2, 'D'}}, {}, 0};
        m["+I"] = {LK_BOX2, "ADD_I", {{3, 2, 'W'}, {4, 1, 'W'}, {5, 2, 'W'}}, {3, nullptr, 1}, 2};
        m["+D"] = {LK_BOX2, "ADD_DI", {{3, 2, 'D'}, {4, 1, 'D'}, {5, 2, 'D'}}, {3, nullptr, 2}, 2};
        m["INCW"] = {LK_BOX1, "INC_W", {{3, 1, 'W'}, {5, 1, 'W'}}, {3, nullptr, 1}, 0};
        m["TON"] = {LK_TIMER, "TON", {{1, 1, 'T'}, {3, 2, 'W'}}, {}, 0};
        m["ZV"] = {LK_UP_COUNTER, "CTU", {{1, 1, 'Z'}, {3, 2, 'W'}}, {}, 0};
        m["ZVR"] = {LK_UPDOWN_COUNTER, "CTUD", {{1, 1, 'Z'}, {3, 2, 'W'}}, {}, 0};
        m["LBL"] = {LK_LABEL, "LBL", {{1, 1, 'B'}}, {}, 0};
        m["JMP"] = {LK_COIL, "JMP", {{1, 1, 'B'}}, {}, 0};
        m["BAD"] = {LK_NONE, "", {}, {}, 0};
        return m;
    }();
    return shapes;
}

// One instruction line: a faked mnemonic from the table above, otherwise a
// real instruction created and checked as loading does.
inline std::unique_ptr<Operation> instruction(CPU& cpu, const std::string& line) {
    const std::vector<std::string> words = harness::splitLine(line);
    const auto found = fakeShapes().find(words.at(0));
    if (found == fakeShapes().end()) return harness::makeInstruction(cpu, line);
    Operands operands;
    std::array<std::unique_ptr<Parameter>*, 3> slots{&operands.operand1, &operands.operand2, &operands.operand3};
    for (std::size_t i = 1; i < words.size() && i <= 3; ++i) *slots[i - 1] = parseOperand(cpu, words[i]);
    return std::make_unique<FakeOperation>(words[0], found->second, std::move(operands));
}

inline std::vector<std::unique_ptr<Operation>> instructions(CPU& cpu, const std::vector<std::string>& lines) {
    std::vector<std::unique_ptr<Operation>> ops;
    for (const std::string& line : lines) ops.push_back(instruction(cpu, line));
    return ops;
}

} // namespace fake
