#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "cpu/mnemonic_set.h"

#include "ops/instruction_row.h"

namespace sps {

class CPU;

// Every mnemonic the simulator knows, family by family.
std::span<const TableEntry> instructionTable();

// The entry of a mnemonic among the names of the sets that `syntax` allows,
// and the set the name belongs to: none when both sets write it so.
struct FoundInstruction {
    const TableEntry* entry = nullptr;
    std::optional<MnemonicSet> set;
};
FoundInstruction findInstruction(std::string_view mnemonic, const OperandSyntax& syntax);

// Builds the instruction for one source line: the operand texts present are
// parsed first (so a bad operand is reported even on an unknown mnemonic),
// then the mnemonic is matched exactly. Null texts are absent operands.
// Throws "Unknown Operation" when no mnemonic matches; checks nothing else.
std::unique_ptr<Operation> createOperation(CPU& cpu, const char* mnemonic, const char* operand1, const char* operand2,
                                           const char* operand3);
// The same with the mnemonics and operand letters of either set or both,
// the instruction and its operands named in the set that `syntax` shows, by
// default the set they are written in.
std::unique_ptr<Operation> createOperation(CPU& cpu, const OperandSyntax& syntax, const char* mnemonic,
                                           const char* operand1, const char* operand2, const char* operand3);

} // namespace sps
