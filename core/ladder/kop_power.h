#pragma once

#include <cstdint>
#include <vector>

#include "ladder/kop_elements.h"
#include "ladder/kop_grid.h"

namespace sps {

// The power flow of one rung as the engine recorded it in scan `scan`: what
// each element shows, and which wires and joins carry power. An instruction
// that did not run in that scan carries none.
//
// An element's power leaving it is the top of the logic stack after it (an
// OR contact's only when the result so far was 0 before it, so that a
// branch shows power through the contact that closes it); its input is the
// top before it, and for a contact that starts a branch (load, OR) the wire
// that leads to it. A wire carries what reaches the element to its right in
// its row, unless a join of branches lies between them: then what leaves the
// element to its left (at the rail: power). A join carries what its branch
// brings; the rail always has power.
class RungPower {
public:
    RungPower(const KOPGrid& grid, std::uint32_t scan);

    ElementPower element(int row, int column) const;
    bool wire(int row, int column) const { return wires_[index(row, column)] != 0; }
    // A vertical line on the cell's right edge: what leaves the cell to the
    // right (a join of branches carries what each branch brings).
    bool joinRight(int row, int column) const;
    // A vertical line on the cell's left edge: what leaves the cell at the
    // top of the line to its left; at the rail power.
    bool joinLeft(int row, int column) const;

private:
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(column);
    }

    const KOPGrid& grid_;
    std::uint32_t scan_;
    int width_;
    std::vector<std::uint8_t> wires_;      // per cell: the wire through it (or into its element) carries power
    std::vector<std::uint8_t> leftInputs_; // per cell: what the wire into it brings from the left
};

} // namespace sps
