#pragma once

#include "cpu/cpu.h"

namespace sps {

// The engine's 32-level bit stack (bit 0 is the top), gated by the sequence
// segment state: inside an inactive segment every read yields 0 and every
// push pushes 0.

// False inside an inactive sequence segment.
inline bool gateOpen(const CPU& cpu) { return cpu.scrState != ScrState::Inactive; }

inline int stackTop(const CPU& cpu) { return gateOpen(cpu) ? static_cast<int>(cpu.logicStack & 1u) : 0; }

inline int stackSecond(const CPU& cpu) { return gateOpen(cpu) ? static_cast<int>((cpu.logicStack >> 1) & 1u) : 0; }

inline int stackThird(const CPU& cpu) { return gateOpen(cpu) ? static_cast<int>((cpu.logicStack >> 2) & 1u) : 0; }

inline void pushBit(CPU& cpu, int value) {
    cpu.logicStack = (cpu.logicStack << 1) | (value != 0 && gateOpen(cpu) ? 1u : 0u);
}

inline int popBit(CPU& cpu) {
    const int top = static_cast<int>(cpu.logicStack & 1u);
    cpu.logicStack >>= 1;
    return gateOpen(cpu) ? top : 0;
}

} // namespace sps
