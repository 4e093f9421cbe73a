#pragma once

#include <memory>
#include <vector>

#include "ladder/kop_elements.h"

namespace sps {

// What occupies a grid cell. Only an empty cell may receive anything;
// connector flags do not count as occupation.
enum CellState : int {
    CELL_EMPTY = 0,
    CELL_ELEMENT = 1, // top-left cell of an element
    CELL_WIRE = 2,    // a horizontal wire runs through the cell
    CELL_COVERED = 3, // another cell of a multi-cell element
};

// One grid cell. A row is 7 units high with its wire 4 units below the top.
// The flags are halves of vertical lines: "up" from the row top to the wire,
// "down" from the wire to the row bottom, on the cell's left or right edge.
// Rows r and r+1 are joined at an edge by a down flag on r and an up flag on r+1.
struct KOPCell {
    int upLeft = 0;
    int upRight = 0;
    int downLeft = 0;
    int downRight = 0;
    std::unique_ptr<KOPE> element; // on the element's top-left cell only
    CellState state = CELL_EMPTY;
};

// A rectangle of cells that only ever grows; new cells are empty.
class KOPGrid {
public:
    KOPGrid() = default;
    KOPGrid(KOPGrid&&) noexcept = default;
    KOPGrid& operator=(KOPGrid&&) noexcept = default;

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int row, int column) const { return row >= 0 && column >= 0 && row < height_ && column < width_; }
    // The cell at (row, column); throws "KOP-levels out of range" outside
    // the grid, so a layout fault never reaches memory it does not own.
    KOPCell& cell(int row, int column);
    const KOPCell& cell(int row, int column) const;

    // Grows to at least `width` columns and `height` rows.
    void grow(int width, int height);

private:
    std::size_t at(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(column);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<KOPCell> cells_; // row by row, `width_` cells each
};

// Where the next element of a logic level goes.
struct Cursor {
    int column = 0;
    int row = 0;
    bool operator==(const Cursor&) const = default;
};

// The grid of one element: its top-left cell holds it, the others are covered.
KOPGrid gridForElement(std::unique_ptr<KOPE> element);
// One cell of wire.
KOPGrid wireGrid();
// Moves every cell of `part` into `grid` with its top-left at (row, column),
// growing `grid` as needed; throws "KOP-place in use" when a target cell is
// not empty (and then changes nothing), "KOP-levels out of range" when
// `part` is `grid` itself.
void placeGrid(KOPGrid& grid, KOPGrid&& part, int column, int row);
// Lays a wire through an empty cell; throws "Entry in use" otherwise.
void markWire(KOPGrid& grid, int row, int column);

} // namespace sps
