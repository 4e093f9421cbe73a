#pragma once

// A fault of `kind` on the station input named `input`, as the fault table
// takes it.

#include "station/fault_words.h"

namespace sps {

inline Fault faultOn(const char* input, FaultKind kind, int amount = 0, int interval = 0) {
    Fault fault;
    fault.input = findFaultInput(input);
    fault.kind = kind;
    fault.amount = amount;
    fault.interval = interval;
    return fault;
}

} // namespace sps
