#pragma once

#include <memory>
#include <span>

#include "ops/instruction_row.h"

namespace sps {

class CPU;

// Every mnemonic the simulator knows, family by family.
std::span<const TableEntry> instructionTable();

// Builds the instruction for one source line: the operand texts present are
// parsed first (so a bad operand is reported even on an unknown mnemonic),
// then the mnemonic is matched exactly. Null texts are absent operands.
// Throws "Unknown Operation" when no mnemonic matches; checks nothing else.
std::unique_ptr<Operation> createOperation(CPU& cpu, const char* mnemonic, const char* operand1, const char* operand2,
                                           const char* operand3);

} // namespace sps
