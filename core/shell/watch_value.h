#pragma once

#include <string>
#include <vector>

#include "cpu/value_format.h"

namespace sps {

class CPU;
class Parameter;

// What a watch table needs beyond the display formats: which formats an
// operand is offered in, and its value read without changing the run.

// The formats offered for `operand`, in the order of VALUE_FORMATS: those it
// can be read in, and for the analog words, which are looked at on the bus
// rather than read, the formats of a word. Empty for an operand without a
// value to watch (a constant, an address, a name).
std::vector<ValueFormat> watchFormats(const Parameter& operand);

// Throws CPUException when `operand` cannot be watched: "Parametertype not
// possible" for one without a value to watch, and the area's read error for
// an address beyond its area (VB5000). A pointer is not checked: it may point
// somewhere valid later.
void checkWatchable(Parameter& operand);

// The operand's value now in `format`, taken as a recording takes it, so that
// watching never changes the run: an analog input shows its forced value or
// the value the bus holds for the next read, an analog output the value its
// device keeps, and "?" when there is none (an input that would read a random
// value). Throws the operand's CPUException when it cannot be read so.
std::string watchValue(CPU& cpu, Parameter& operand, ValueFormat format);

} // namespace sps
