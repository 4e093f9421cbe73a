#pragma once

#include <memory>
#include <vector>

#include "ladder/kop_grid.h"

namespace sps {

class Operation;

// Depth of the layout's stack of logic levels; deeper nesting, or a pop
// below the first level, fails with "KOP-levels out of range".
inline constexpr int KOP_LAYOUT_LEVELS = 200;

// Where the next element goes after a fresh element grid: right of its top
// cell, whatever the element's width.
inline constexpr Cursor ELEMENT_CURSOR{1, 0};

// Appends `part` (whose own cursor is `partCursor`) in series at `cursor`:
// into the first row, from the cursor row down, that is free from the cursor
// column to the right end, joined to the cursor row by a line at the left
// edge of that column. The cursor moves to the end of `part`.
void appendSeries(KOPGrid& grid, Cursor& cursor, KOPGrid&& part, Cursor partCursor);

// Appends `part` as a parallel branch below everything in `grid`, joined at
// the left edge of column 0; the shorter of the two branches is extended
// with wire and both are joined at the right edge of the longer one's last
// column. With both branches ending at column 0 the rail is their only join.
void appendParallel(KOPGrid& grid, Cursor& cursor, KOPGrid&& part, Cursor partCursor);

// Routes the input branches of a counter box to its input rows and appends
// the box: branch A to the first row, B to the second, C (if any) to the
// third. B and C may be the grid of A (or C the grid of B) when the inputs
// share a grid; grids other than A are moved into A.
void combineCounter(KOPGrid& a, KOPGrid& b, KOPGrid* c, std::unique_ptr<KOPE> box, Cursor& pa, Cursor& pb, Cursor* pc);

// Lays out a network's instructions as a ladder grid. Throws "KOP-place in
// use", "Entry in use", "KOP-levels out of range", or the mnemonic of an
// unknown logic-stack operation.
KOPGrid layoutNetwork(const std::vector<std::unique_ptr<Operation>>& ops);

} // namespace sps
