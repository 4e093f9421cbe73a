#include "ladder/kop_grid.h"

#include "messages/cpu_exception.h"

namespace sps {

KOPCell& KOPGrid::cell(int row, int column) {
    if (!contains(row, column)) throwMessage("KOP-levels out of range");
    return cells_[at(row, column)];
}

const KOPCell& KOPGrid::cell(int row, int column) const {
    if (!contains(row, column)) throwMessage("KOP-levels out of range");
    return cells_[at(row, column)];
}

// All cells live in one block. More rows append to it; more columns lay the
// rows out anew, each at its new stride.
void KOPGrid::grow(int width, int height) {
    if (width > width_ && height_ > 0) {
        std::vector<KOPCell> wider(static_cast<std::size_t>(width) * static_cast<std::size_t>(height_));
        for (int row = 0; row < height_; ++row)
            std::move(cells_.begin() + static_cast<std::ptrdiff_t>(at(row, 0)),
                      cells_.begin() + static_cast<std::ptrdiff_t>(at(row, 0) + static_cast<std::size_t>(width_)),
                      wider.begin() +
                          static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * static_cast<std::size_t>(width)));
        cells_ = std::move(wider);
    }
    if (width > width_) width_ = width;
    if (height > height_) {
        cells_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height));
        height_ = height;
    }
}

KOPGrid gridForElement(std::unique_ptr<KOPE> element) {
    KOPGrid grid;
    grid.grow(element->width(), element->height());
    for (int row = 0; row < grid.height(); ++row)
        for (int column = 0; column < grid.width(); ++column) grid.cell(row, column).state = CELL_COVERED;
    KOPCell& topLeft = grid.cell(0, 0);
    topLeft.state = CELL_ELEMENT;
    topLeft.element = std::move(element);
    return grid;
}

KOPGrid wireGrid() {
    KOPGrid grid;
    grid.grow(1, 1);
    grid.cell(0, 0).state = CELL_WIRE;
    return grid;
}

void placeGrid(KOPGrid& grid, KOPGrid&& part, int column, int row) {
    // A grid placed into itself would hold its elements twice.
    if (&grid == &part) throwMessage("KOP-levels out of range");
    for (int i = 0; i < part.height(); ++i)
        for (int j = 0; j < part.width(); ++j)
            if (grid.contains(row + i, column + j) && grid.cell(row + i, column + j).state != CELL_EMPTY)
                throwMessage("KOP-place in use");
    grid.grow(column + part.width(), row + part.height());
    for (int i = 0; i < part.height(); ++i) {
        for (int j = 0; j < part.width(); ++j) {
            KOPCell& from = part.cell(i, j);
            KOPCell& to = grid.cell(row + i, column + j);
            // Connectors already set on the empty target stay drawn.
            to.upLeft |= from.upLeft;
            to.upRight |= from.upRight;
            to.downLeft |= from.downLeft;
            to.downRight |= from.downRight;
            to.element = std::move(from.element);
            to.state = from.state;
        }
    }
    part = KOPGrid();
}

void markWire(KOPGrid& grid, int row, int column) {
    KOPCell& cell = grid.cell(row, column);
    if (cell.state != CELL_EMPTY) throwMessage("Entry in use");
    cell.state = CELL_WIRE;
}

} // namespace sps
