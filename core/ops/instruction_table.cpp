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
static_assert(TABLE.size() == 267, "the instruction set has 267 mnemonics");

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

// The table's entries by their exact mnemonic (case matters) in one set,
// for the factory, which looks up every line of a program.
const TableEntry* findIn(std::string_view mnemonic, MnemonicSet set) {
    using Map = std::unordered_map<std::string_view, const TableEntry*>;
    static const Map german = [] {
        Map map;
        for (const TableEntry& entry : TABLE) map.emplace(entry.row->mnemonic, &entry);
        return map;
    }();
    static const Map international = [] {
        Map map;
        for (const TableEntry& entry : TABLE)
            map.emplace(entry.row->international != nullptr ? entry.row->international : entry.row->mnemonic, &entry);
        return map;
    }();
    const Map& names = set == MnemonicSet::German ? german : international;
    const auto found = names.find(mnemonic);
    return found != names.end() ? found->second : nullptr;
}

Operands parseOperands(CPU& cpu, const OperandSyntax& syntax, const char* operand1, const char* operand2,
                       const char* operand3) {
    Operands operands;
    if (operand1 != nullptr) operands.operand1 = parseOperand(cpu, operand1, syntax);
    if (operand2 != nullptr) operands.operand2 = parseOperand(cpu, operand2, syntax);
    if (operand3 != nullptr) operands.operand3 = parseOperand(cpu, operand3, syntax);
    return operands;
}

} // namespace

FoundInstruction findInstruction(std::string_view mnemonic, const OperandSyntax& syntax) {
    const TableEntry* german = syntax.german ? findIn(mnemonic, MnemonicSet::German) : nullptr;
    const TableEntry* international = syntax.international ? findIn(mnemonic, MnemonicSet::International) : nullptr;
    if (german != nullptr && international != nullptr) {
        // A name of both sets is the same instruction in both, but for the
        // few that the sets use for different ones (none today): German wins.
        if (german == international) return {german, std::nullopt};
        return {german, MnemonicSet::German};
    }
    if (german != nullptr) return {german, syntax.international ? std::optional(MnemonicSet::German) : std::nullopt};
    if (international != nullptr) return {international, MnemonicSet::International};
    return {};
}

std::unique_ptr<Operation> createOperation(CPU& cpu, const char* mnemonic, const char* operand1, const char* operand2,
                                           const char* operand3) {
    Operands operands = parseOperands(cpu, {}, operand1, operand2, operand3);
    const TableEntry* entry = mnemonic != nullptr ? findIn(mnemonic, MnemonicSet::German) : nullptr;
    if (entry == nullptr) throwMessage("Unknown Operation");
    return entry->create(std::move(operands));
}

std::unique_ptr<Operation> createOperation(CPU& cpu, const OperandSyntax& syntax, const char* mnemonic,
                                           const char* operand1, const char* operand2, const char* operand3) {
    Operands operands = parseOperands(cpu, syntax, operand1, operand2, operand3);
    const FoundInstruction found = mnemonic != nullptr ? findInstruction(mnemonic, syntax) : FoundInstruction{};
    if (found.entry == nullptr) throwMessage("Unknown Operation");
    auto op = found.entry->create(std::move(operands));
    op->showMnemonicIn(syntax.shownAs.value_or(found.set.value_or(MnemonicSet::German)));
    return op;
}

} // namespace sps
