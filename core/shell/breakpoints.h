#pragma once

#include <cstddef>
#include <vector>

#include "cpu/condition.h"

namespace sps {

// At most this many breakpoints are set at a time.
inline constexpr std::size_t MAX_BREAKPOINTS = 32;

// A condition that stops the run in the step in which it becomes true.
struct Breakpoint {
    int number;
    Condition condition;
    bool held = false; // the condition held after the last step
};

// The breakpoints of the simulator, checked after every simulation step. They
// name operands, not program lines, so a reset and a load keep them.
//
// A comparison stops the run in the step in which it becomes true, not in
// every step while it stays true; a new breakpoint counts as not holding yet,
// so one that holds already stops after the next step. An edge stops in the
// step in which the bit changed that way.
class Breakpoints {
public:
    // Adds a breakpoint and returns its number: one more than the highest
    // number in the list (1 for an empty list). Throws "Too many breakpoints"
    // beyond MAX_BREAKPOINTS.
    int add(Condition condition);
    // Removes breakpoint `number`; false when there is none.
    bool remove(int number);
    void clear() { list_.clear(); }

    bool empty() const { return list_.empty(); }
    // In the order of their numbers.
    const std::vector<Breakpoint>& list() const { return list_; }

    // After a step: evaluates every breakpoint, so that each knows its state
    // for the next step, and returns the first that became true in this step,
    // or null. Throws the CPUException of an operand that cannot be read.
    const Breakpoint* check();

private:
    std::vector<Breakpoint> list_;
};

} // namespace sps
