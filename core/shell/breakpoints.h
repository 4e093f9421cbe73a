#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cpu/condition.h"
#include "cpu/program.h"

namespace sps {

// At most this many breakpoints are set at a time.
inline constexpr std::size_t MAX_BREAKPOINTS = 32;

// A condition that stops the run in the step in which it becomes true.
struct Breakpoint {
    int number;
    Condition condition;
    bool held = false; // the condition held after the last step
};

// A network that stops the run before it executes, in any scan: the label of
// its block ("OB1", "SBR0") and its number.
struct NetworkBreakpoint {
    int number;
    std::string block;
    int network;

    // "OB1 Netzwerk 3", as the stop names it.
    std::string text() const;
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
    // number of either list (1 for none). Throws "Too many breakpoints"
    // beyond MAX_BREAKPOINTS of both kinds together.
    int add(Condition condition);
    // Adds a breakpoint on the network `network` of the block labelled
    // `block` in `program`; throws "Network %s %d missing" when the program
    // has none.
    int addNetwork(const Program& program, const std::string& block, int network);
    // Removes breakpoint `number` of either kind; false when there is none.
    bool remove(int number);
    void clear() {
        list_.clear();
        networks_.clear();
    }

    // No condition breakpoints (network breakpoints stop inside the scan).
    bool empty() const { return list_.empty(); }
    // In the order of their numbers.
    const std::vector<Breakpoint>& list() const { return list_; }
    const std::vector<NetworkBreakpoint>& networks() const { return networks_; }
    // The network breakpoint on that network, or null.
    const NetworkBreakpoint* onNetwork(const Block& block, const Network& network) const;

    // After a step: evaluates every breakpoint, so that each knows its state
    // for the next step, and returns the first that became true in this step,
    // or null. Throws the CPUException of an operand that cannot be read.
    const Breakpoint* check();
    // After the state was put back (the scan history): each breakpoint knows
    // the state there, as if it had been checked in that step. An edge
    // counts from there; an operand that cannot be read counts as not
    // holding.
    void rearm();

private:
    int nextNumber() const;

    std::vector<Breakpoint> list_;
    std::vector<NetworkBreakpoint> networks_;
};

} // namespace sps
