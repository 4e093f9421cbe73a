#pragma once

#include <cstddef>

#include <QVariant>

#include "gui/watch_model.h"
#include "shell/watch_table.h"

namespace sps {

// How a column's cells are edited.
enum class WatchEditor {
    None,
    Text,
    FormatList, // the formats of the row's operand, where it has more than one
    Check,
};

// How a column's width follows the window's.
enum class WatchSizing { Interactive, Fixed, Stretch };

// What a column's cells show beyond their text.
enum WatchMark : unsigned {
    Bold = 1u << 0,
    Centred = 1u << 1,
    // In red, with the error as its tooltip, when the value cannot be read.
    ShowsReadError = 1u << 2,
    // In the force colour, with the forced value as its tooltip, when forced.
    ShowsForce = 1u << 3,
    // In the force colour always.
    ForceColoured = 1u << 4,
    // The row's breakpoint as its tooltip.
    NamesBreakpoint = 1u << 5,
    // In the empty last row: where a new operand is typed.
    TakesNewOperand = 1u << 6,
    // In the empty last row: why the operand typed there was refused.
    ShowsRefusal = 1u << 7,
};

// One column of the watch table; the model and the window are driven by the
// list of them.
struct WatchColumn {
    WatchModel::Column id;
    // The part of the row it shows and edits, and where a refusal of what was
    // typed into it shows.
    WatchField field;
    const char* header; // UTF-8
    const char* tip;    // what the header's tooltip explains
    int width;          // in digits
    WatchSizing sizing;
    WatchEditor editor;
    unsigned marks; // WatchMark
    // What a cell shows: its text, or for a check box its Qt::CheckState.
    QVariant (*shows)(const WatchRow& row);
    // Takes what was typed, chosen or checked into a row; false when not taken.
    bool (*takes)(WatchTable& table, std::size_t row, const QVariant& value);
};

// The column at `column`, 0 to WatchModel::COLUMNS - 1.
const WatchColumn& watchColumn(int column);

} // namespace sps
