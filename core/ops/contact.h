#pragma once

// What every contact does with the logic stack, the twelve bit contacts and
// the 72 compare contacts alike; they differ only in the value they evaluate.

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/operation.h"

namespace sps {

// A load contact pushes its value. An AND or OR contact pops the result so
// far and evaluates its own value only when that can change the result (AND
// after a popped 1, OR after a popped 0), so an operand whose read would fail
// fails only in scans where it matters; it pushes the combination.
template <ContactRole Role, class Evaluate> void applyContact(CPU& cpu, Evaluate evaluate) {
    static_assert(Role != ContactRole::None, "a contact needs its role");
    if constexpr (Role == ContactRole::Load) {
        pushBit(cpu, evaluate());
    } else {
        int t = popBit(cpu);
        if (Role == ContactRole::And ? t != 0 : t == 0) t = evaluate();
        pushBit(cpu, t);
    }
}

// The same for a value that is read in every case because reading it cannot
// fail (a bit in memory): the contact combines without a branch on the
// result so far, which the processor could not predict.
template <ContactRole Role> void combineContact(CPU& cpu, int value) {
    static_assert(Role != ContactRole::None, "a contact needs its role");
    if constexpr (Role == ContactRole::Load) {
        pushBit(cpu, value);
    } else {
        const int t = popBit(cpu);
        pushBit(cpu, Role == ContactRole::And ? t & value : t | value);
    }
}

} // namespace sps
