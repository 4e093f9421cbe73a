#include "ops/instruction_table.h"

#include <cstring>
#include <vector>

#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

std::span<const InstructionRow> instructionTable() {
    static const std::vector<InstructionRow> table = [] {
        std::vector<InstructionRow> rows;
        for (auto family :
             {bitLogicInstructions, compareInstructions, dataMoveArithmeticInstructions, dataLogicShiftInstructions,
              timerCounterInstructions, programControlInstructions, tableInstructions})
            for (const InstructionRow& row : family()) rows.push_back(row);
        return rows;
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
        for (const InstructionRow& row : instructionTable())
            if (std::strcmp(row.spec->mnemonic, mnemonic) == 0) return row.create(std::move(operands));
    throwMessage("Unknown Operation");
}

} // namespace sps
