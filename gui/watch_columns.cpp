#include "gui/watch_columns.h"

#include <array>
#include <string>

#include "gui/core_text.h"

namespace sps {

namespace {

// What was typed into a cell, as the core takes it.
std::string typed(const QVariant& value) { return toCore(value.toString().trimmed()); }

constexpr std::array<WatchColumn, WatchModel::COLUMNS> COLUMNS{{
    {WatchModel::OperandColumn, WatchField::Operand, "Operand",
     "Der Operand in der Schreibweise des Programms: E0.0, A0.1, MB4, MW10, VD4, T37, Z0, AC1, AEW0, AAW0, *VD20", 14,
     WatchSizing::Interactive, WatchEditor::Text, NamesBreakpoint | TakesNewOperand,
     [](const WatchRow& row) -> QVariant { return fromCore(row.name); },
     [](WatchTable& table, std::size_t row, const QVariant& value) { return table.setOperand(row, typed(value)); }},
    {WatchModel::FormatColumn, WatchField::Format, "Format", "Das Format, in dem der Wert gezeigt wird", 20,
     WatchSizing::Interactive, WatchEditor::FormatList, 0,
     [](const WatchRow& row) -> QVariant { return QString::fromLatin1(formatName(row.format)); },
     [](WatchTable& table, std::size_t row, const QVariant& value) { return table.setFormat(row, typed(value)); }},
    {WatchModel::ValueColumn, WatchField::Value, "Wert", "Der Wert des Operanden, zweimal in der Sekunde gelesen", 22,
     WatchSizing::Stretch, WatchEditor::None, ShowsReadError | ShowsForce | ShowsRefusal,
     [](const WatchRow& row) -> QVariant { return fromCore(row.value); }, nullptr},
    {WatchModel::NewValueColumn, WatchField::NewValue, "Neuer Wert",
     "Der Wert für „Schreiben“ und „Forcen“: 1, -5, 16#FF, 2#1010, 1.5", 12, WatchSizing::Interactive,
     WatchEditor::Text, 0, [](const WatchRow& row) -> QVariant { return fromCore(row.newValue); },
     [](WatchTable& table, std::size_t row, const QVariant& value) {
         table.setNewValue(row, typed(value));
         return true;
     }},
    {WatchModel::ForcedColumn, WatchField::Forced, "F",
     "F: der Operand wird geforct, Programm und Anlage können ihn nicht ändern", 3, WatchSizing::Fixed,
     WatchEditor::None, Bold | Centred | ShowsForce | ForceColoured,
     [](const WatchRow& row) -> QVariant { return row.forced ? QStringLiteral("F") : QString(); }, nullptr},
    {WatchModel::ConditionColumn, WatchField::Condition, "Anhalten wenn",
     "Die Bedingung, bei der der Lauf anhält: = 1, <> 0, > 100, <= 2.5, steigt, fällt", 14, WatchSizing::Interactive,
     WatchEditor::Text, NamesBreakpoint, [](const WatchRow& row) -> QVariant { return fromCore(row.condition); },
     [](WatchTable& table, std::size_t row, const QVariant& value) {
         table.setCondition(row, typed(value));
         return true;
     }},
    {WatchModel::RecordColumn, WatchField::Record, "Aufzeichnen", "Den Operanden nach jedem Zyklus aufzeichnen", 11,
     WatchSizing::Interactive, WatchEditor::Check, Centred,
     [](const WatchRow& row) -> QVariant { return row.record ? Qt::Checked : Qt::Unchecked; },
     [](WatchTable& table, std::size_t row, const QVariant& value) {
         table.setRecorded(row, value.toInt() == Qt::Checked);
         return true;
     }},
}};

// One row per column, at the index of its id.
constexpr bool rowsInOrder() {
    for (std::size_t i = 0; i < COLUMNS.size(); ++i)
        if (static_cast<std::size_t>(COLUMNS[i].id) != i) return false;
    return true;
}
static_assert(rowsInOrder());

} // namespace

const WatchColumn& watchColumn(int column) { return COLUMNS.at(static_cast<std::size_t>(column)); }

} // namespace sps
