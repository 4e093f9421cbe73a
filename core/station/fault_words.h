#pragma once

#include <span>
#include <string>
#include <vector>

#include "station/fault_table.h"

namespace sps {

// The faults that the words INPUT KIND [NUMBERS] ask for (a slave as
// "slave N ausgefallen"; "joystick" gives one fault per axis). Words are
// ISO-8859-1. Throws CPUException with the German text on a wrong name, kind
// or number, listing the valid ones.
std::vector<Fault> faultsFromWords(std::span<const std::string> words);

// Checks that `fault` fits its input and that its numbers lie in range.
void checkFault(const Fault& fault);

// The ranges of a kind's numbers (none for the stuck kinds): bounces 1..100 every 1..1000 ms, a delay of
// 1..60000 ms, noise of 1..4095 digits, an offset of -4095..4095.
struct FaultRange {
    const char* what;
    int min;
    int max;
    int fallback; // when a bounce's number is left out
};
std::span<const FaultRange> faultRanges(FaultKind kind);

// The fault as one line of the listing ("Taste0 prellt 3 mal alle 2 ms").
std::string faultText(const Fault& fault);
// Only its kind and numbers ("prellt 3 mal alle 2 ms").
std::string faultKindText(const Fault& fault);

} // namespace sps
