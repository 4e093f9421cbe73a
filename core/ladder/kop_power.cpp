#include "ladder/kop_power.h"

#include <optional>

#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

bool ranIn(const Operation& op, std::uint32_t scan) { return op.power().scan == (scan & POWER_SCAN_MASK); }

// Whether a contact or box that starts a branch takes its input from the wire
// before it rather than from the logic stack.
bool startsBranch(const Operation& op) {
    return op.contactRole() == ContactRole::Load || op.contactRole() == ContactRole::Or;
}

bool powerLeaving(const Operation& op, std::uint32_t scan) {
    if (!ranIn(op, scan)) return false;
    const PowerRecord& record = op.power();
    if (op.contactRole() == ContactRole::Or) return record.before == 0 && record.after != 0;
    return record.after != 0;
}

// Whether a join of branches stands on the right edge of cell (row, column).
bool joinOnRightEdge(const KOPGrid& grid, int row, int column) {
    const KOPCell& cell = grid.cell(row, column);
    if (cell.upRight || cell.downRight) return true;
    if (column + 1 >= grid.width()) return false;
    const KOPCell& next = grid.cell(row, column + 1);
    return next.upLeft || next.downLeft;
}

// A contact's operand that is 1; none for anything but a bit, and for a bit
// that cannot be read.
bool operandIsOne(const Operation& op) {
    if (op.contactRole() == ContactRole::None) return false;
    auto* bit = dynamic_cast<BitParameter*>(op.operand1());
    if (bit == nullptr) return false;
    try {
        return bit->getBit() != 0;
    } catch (const CPUException&) {
        return false;
    }
}

} // namespace

RungPower::RungPower(const KOPGrid& grid, std::uint32_t scan)
    : grid_(grid), scan_(scan), width_(grid.width()),
      wires_(static_cast<std::size_t>(grid.width()) * static_cast<std::size_t>(grid.height()), 0),
      leftInputs_(wires_.size(), 0) {
    for (int row = 0; row < grid.height(); ++row) {
        // From the left: what leaves the nearest element, at the rail power.
        bool fromLeft = true;
        for (int column = 0; column < width_; ++column) {
            // A branch that comes down a line from the rows above brings
            // what leaves the row it starts in (rows above are done).
            const bool fedFromAbove =
                column > 0 && (grid.cell(row, column).upLeft || grid.cell(row, column - 1).upRight);
            if (fedFromAbove) fromLeft = joinLeft(row, column);
            leftInputs_[index(row, column)] = fromLeft ? 1 : 0;
            if (const KOPE* element = grid.cell(row, column).element.get())
                fromLeft = powerLeaving(element->op(), scan);
        }
        // From the right: what reaches the nearest element, up to a join.
        std::optional<bool> fromRight;
        for (int column = width_ - 1; column >= 0; --column) {
            if (joinOnRightEdge(grid, row, column)) fromRight.reset();
            const KOPCell& cell = grid.cell(row, column);
            if (cell.element) {
                const Operation& op = cell.element->op();
                if (startsBranch(op))
                    fromRight.reset();
                else
                    fromRight = ranIn(op, scan) && op.power().before != 0;
            }
            wires_[index(row, column)] = fromRight.value_or(leftInputs_[index(row, column)] != 0) ? 1 : 0;
        }
    }
}

bool RungPower::joinRight(int row, int column) const {
    if (const KOPE* element = grid_.cell(row, column).element.get()) return powerLeaving(element->op(), scan_);
    return grid_.cell(row, column).state == CELL_WIRE && wire(row, column);
}

bool RungPower::joinLeft(int row, int column) const {
    if (column == 0) return true;
    // Up the line to where it leaves the row that feeds it.
    while (row > 0) {
        const KOPCell& cell = grid_.cell(row, column);
        const KOPCell& left = grid_.cell(row, column - 1);
        if (!cell.upLeft && !left.upRight) break;
        --row;
    }
    return joinRight(row, column - 1);
}

ElementPower RungPower::element(int row, int column) const {
    const KOPE& element = *grid_.cell(row, column).element;
    const Operation& op = element.op();
    ElementPower power;
    power.shown = true;
    power.closed = operandIsOne(op);
    if (!ranIn(op, scan_)) return power;
    power.in = startsBranch(op) ? leftInputs_[index(row, column)] != 0 : op.power().before != 0;
    power.out = powerLeaving(op, scan_);
    return power;
}

} // namespace sps
