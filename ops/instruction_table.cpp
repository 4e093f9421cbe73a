#include "ops/instruction_table.h"

#include <string_view>
#include <unordered_map>
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

namespace {

// The table's entries by their exact mnemonic (case matters), for the factory,
// which looks up every line of a program.
const TableEntry* findMnemonic(std::string_view mnemonic) {
    static const std::unordered_map<std::string_view, const TableEntry*> byMnemonic = [] {
        std::unordered_map<std::string_view, const TableEntry*> map;
        for (const TableEntry& entry : instructionTable()) map.emplace(entry.row->mnemonic, &entry);
        return map;
    }();
    const auto found = byMnemonic.find(mnemonic);
    return found != byMnemonic.end() ? found->second : nullptr;
}

} // namespace

std::unique_ptr<Operation> createOperation(CPU& cpu, const char* mnemonic, const char* operand1, const char* operand2,
                                           const char* operand3) {
    Operands operands;
    if (operand1 != nullptr) operands.operand1 = parseOperand(cpu, operand1);
    if (operand2 != nullptr) operands.operand2 = parseOperand(cpu, operand2);
    if (operand3 != nullptr) operands.operand3 = parseOperand(cpu, operand3);
    const TableEntry* entry = mnemonic != nullptr ? findMnemonic(mnemonic) : nullptr;
    if (entry == nullptr) throwMessage("Unknown Operation");
    return entry->create(std::move(operands));
}

} // namespace sps
