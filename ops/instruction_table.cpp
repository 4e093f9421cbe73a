#include "ops/instruction_table.h"

#include <cstring>
#include <vector>

#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

std::span<const TableEntry> instructionTable() {
    static const std::vector<TableEntry> table = [] {
        std::vector<TableEntry> entries;
        for (auto family :
             {bitLogicInstructions, compareInstructions, dataMoveArithmeticInstructions, dataLogicShiftInstructions,
              timerCounterInstructions, programControlInstructions, tableInstructions})
            for (const TableEntry& entry : family()) entries.push_back(entry);
        return entries;
    }();
    return table;
}

std::unique_ptr<Operation> createOperation(CPU& cpu, const char* mnemonic, const char* operand1, const char* operand2,
                                           const char* operand3) {
    Operands operands;
    if (operand1 != nullptr) operands.operand1 = parseOperand(cpu, operand1);
    if (operand2 != nullptr) operands.operand2 = parseOperand(cpu, operand2);
    if (operand3 != nullptr) operands.operand3 = parseOperand(cpu, operand3);
    if (mnemonic != nullptr)
        for (const TableEntry& entry : instructionTable())
            if (std::strcmp(entry.row->mnemonic, mnemonic) == 0) return entry.create(std::move(operands));
    throwMessage("Unknown Operation");
}

} // namespace sps
