#pragma once

#include "cpu/cpu.h"

namespace sps {

// The engine's 32-level bit stack (bit 0 is the top), gated by the sequence
// segment state: inside a segment whose S bit is clear (scrState 0) every
// read yields 0 and every push pushes 0.

inline int stackTop(const CPU& cpu) { return cpu.scrState != 0 ? static_cast<int>(cpu.logicStack & 1u) : 0; }

inline int stackSecond(const CPU& cpu) { return cpu.scrState != 0 ? static_cast<int>((cpu.logicStack >> 1) & 1u) : 0; }

inline int stackThird(const CPU& cpu) { return cpu.scrState != 0 ? static_cast<int>((cpu.logicStack >> 2) & 1u) : 0; }

inline void pushBit(CPU& cpu, int value) {
    cpu.logicStack = (cpu.logicStack << 1) | (value != 0 && cpu.scrState != 0 ? 1u : 0u);
}

inline int popBit(CPU& cpu) {
    const int top = static_cast<int>(cpu.logicStack & 1u);
    cpu.logicStack >>= 1;
    return cpu.scrState != 0 ? top : 0;
}

} // namespace sps
