#include "ops/instruction_table.h"

#include <string_view>
#include <unordered_map>

#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "ops/bit_logic.h"
#include "ops/compare.h"
#include "ops/conversions.h"
#include "ops/data_logic_shift.h"
#include "ops/data_move_arith.h"
#include "ops/family.h"
#include "ops/program_control.h"
#include "ops/tables.h"
#include "ops/timers_counters.h"

namespace sps {

namespace {

// Every instruction, family by family.
constexpr auto TABLE = joinEntries(bit_logic::instructions(), compare_contacts::instructions(),
                                   data_move::instructions(), conversions::instructions(), word_logic::instructions(),
                                   timers::instructions(), program_control::instructions(), tables::instructions());
static_assert(TABLE.size() == 263, "the instruction set has 263 mnemonics");

constexpr bool sameText(const char* a, const char* b) {
    for (; *a != '\0' && *a == *b; ++a) ++b;
    return *a == *b;
}

// No mnemonic is written twice, in either set.
constexpr bool mnemonicsUnique() {
    for (std::size_t i = 0; i < TABLE.size(); ++i)
        for (std::size_t j = i + 1; j < TABLE.size(); ++j)
            if (sameText(TABLE[i].row->mnemonic, TABLE[j].row->mnemonic)) return false;
    return true;
}
static_assert(mnemonicsUnique());

// Every row has its line in the instruction reference.
constexpr bool everyRowDescribed() {
    for (const TableEntry& entry : TABLE)
        if (entry.row->summary[0] == '\0') return false;
    return true;
}
static_assert(everyRowDescribed());

} // namespace

std::span<const TableEntry> instructionTable() { return TABLE; }

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
