#include "ladder/kop_layout.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/writer.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// A vertical line between two rows (in either order) along one edge of a
// column: the upper row gets the lower half, the lower row the upper half and
// every row between both; the grid grows to hold both rows.
void joinEdge(KOPGrid& grid, int column, int rowA, int rowB, int KOPCell::*upHalf, int KOPCell::*downHalf) {
    const int top = std::min(rowA, rowB);
    const int bottom = std::max(rowA, rowB);
    grid.grow(column + 1, bottom + 1);
    for (int row = top; row <= bottom; ++row) {
        KOPCell& cell = grid.cell(row, column);
        if (row != top) cell.*upHalf = 1;
        if (row != bottom) cell.*downHalf = 1;
    }
}

void joinLeftEdge(KOPGrid& grid, int column, int rowA, int rowB) {
    joinEdge(grid, column, rowA, rowB, &KOPCell::upLeft, &KOPCell::downLeft);
}

void joinRightEdge(KOPGrid& grid, int column, int rowA, int rowB) {
    joinEdge(grid, column, rowA, rowB, &KOPCell::upRight, &KOPCell::downRight);
}

bool rowFreeFrom(const KOPGrid& grid, int row, int column) {
    for (int c = column; c < grid.width(); ++c)
        if (grid.cell(row, c).state != CELL_EMPTY) return false;
    return true;
}

void appendWire(KOPGrid& grid, Cursor& cursor) { appendSeries(grid, cursor, wireGrid(), ELEMENT_CURSOR); }

// Places a counter input branch below everything in `a`, joined at the rail.
void placeInputBelow(KOPGrid& a, KOPGrid& branch, Cursor& cursor) {
    const int h = a.height();
    placeGrid(a, std::move(branch), 0, h);
    cursor.row += h;
    joinLeftEdge(a, 0, 0, h);
}

void appendWiresUpTo(KOPGrid& grid, Cursor& cursor, int column) {
    while (cursor.column < column) appendWire(grid, cursor);
}

} // namespace

void appendSeries(KOPGrid& grid, Cursor& cursor, KOPGrid&& part, Cursor partCursor) {
    const int x = cursor.column;
    const int y0 = cursor.row;
    int r = y0;
    while (x < grid.width() && r < grid.height() && !rowFreeFrom(grid, r, x)) {
        KOPCell& cell = grid.cell(r, x);
        if (r != y0) cell.upLeft = 1;
        cell.downLeft = 1;
        ++r;
    }
    placeGrid(grid, std::move(part), x, r);
    partCursor.column += x;
    partCursor.row += r;
    if (r != y0) grid.cell(r, x).upLeft = 1;
    cursor = partCursor;
}

void appendParallel(KOPGrid& grid, Cursor& cursor, KOPGrid&& part, Cursor partCursor) {
    const int h = grid.height();
    placeGrid(grid, std::move(part), 0, h);
    partCursor.row += h;
    joinLeftEdge(grid, 0, 0, h);
    const int end = std::max(cursor.column, partCursor.column);
    for (int column = cursor.column; column < end; ++column) markWire(grid, cursor.row, column);
    for (int column = partCursor.column; column < end; ++column) markWire(grid, partCursor.row, column);
    if (end > 0) joinRightEdge(grid, end - 1, cursor.row, partCursor.row);
    cursor.column = end;
}

void combineCounter(KOPGrid& a, KOPGrid& b, KOPGrid* c, std::unique_ptr<KOPE> box, Cursor& pa, Cursor& pb, Cursor* pc) {
    appendWire(a, pa);
    appendWiresUpTo(a, pa, a.width() - 1);

    // Rows that B's branch moved down by when it joined A: C shares them
    // when C is B's grid.
    int bShift = 0;
    if (&b != &a) {
        bShift = a.height();
        placeInputBelow(a, b, pb);
        appendWire(a, pb);
    }
    a.grow(a.width() + 1, a.height());
    appendWiresUpTo(a, pb, a.width());
    joinRightEdge(a, a.width() - 1, pb.row, pa.row + 1);
    pb.row = pa.row + 1;

    if (c != nullptr && pc != nullptr) {
        if (c == &b && c != &a) {
            pc->row += bShift;
            appendWire(a, *pc);
        } else if (c != &a) {
            placeInputBelow(a, *c, *pc);
            appendWire(a, *pc);
        }
        a.grow(a.width() + 1, a.height());
        appendWiresUpTo(a, *pc, a.width());
        joinRightEdge(a, a.width() - 1, pc->row, pb.row + 1);
        pc->row = pb.row;
        pc->column += 1;
    }

    appendWiresUpTo(a, pa, a.width());
    appendWiresUpTo(a, pb, a.width());
    appendSeries(a, pa, gridForElement(std::move(box)), ELEMENT_CURSOR);
}

namespace {

// One logic level: the grid its branch is built in (possibly shared with
// neighbouring levels) and where its next element goes.
struct Level {
    std::shared_ptr<KOPGrid> grid;
    Cursor cursor;
};

// The layout's stack of levels with its range checks: level 0 always stays.
class LevelStack {
public:
    LevelStack() { levels_.push_back({std::make_shared<KOPGrid>(), Cursor{}}); }

    int depth() const { return static_cast<int>(levels_.size()) - 1; }
    // Level `back` below the top (0 is the top).
    Level& below(int back) {
        if (back > depth()) throwMessage("KOP-levels out of range");
        return levels_[levels_.size() - 1 - static_cast<std::size_t>(back)];
    }
    Level& top() { return levels_.back(); }
    void push(Level level) {
        if (static_cast<int>(levels_.size()) >= KOP_LAYOUT_LEVELS) throwMessage("KOP-levels out of range");
        levels_.push_back(std::move(level));
    }
    Level pop() {
        if (depth() < 1) throwMessage("KOP-levels out of range");
        Level level = std::move(levels_.back());
        levels_.pop_back();
        return level;
    }

private:
    std::vector<Level> levels_;
};

Level elementLevel(std::unique_ptr<KOPE> element) {
    return {std::make_shared<KOPGrid>(gridForElement(std::move(element))), ELEMENT_CURSOR};
}

// Pops the top level and joins its branch to the level below.
void combineTop(LevelStack& stack, bool parallel) {
    Level part = stack.pop();
    Level& target = stack.top();
    // Levels that share one grid cannot be joined to each other.
    if (part.grid == target.grid) throwMessage("KOP-levels out of range");
    if (parallel)
        appendParallel(*target.grid, target.cursor, std::move(*part.grid), part.cursor);
    else
        appendSeries(*target.grid, target.cursor, std::move(*part.grid), part.cursor);
}

void applyStackOperation(LevelStack& stack, const Operation& op) {
    switch (op.stackOperation()) {
    case StackOperation::AndLoad: combineTop(stack, false); return;
    case StackOperation::OrLoad: combineTop(stack, true); return;
    case StackOperation::Push: stack.push(stack.top()); return;
    case StackOperation::Read: stack.top() = stack.below(1); return;
    case StackOperation::Pop: stack.pop(); return;
    case StackOperation::None: break;
    }
    throw CPUException(op.mnemonic());
}

void addCounter(LevelStack& stack, std::unique_ptr<KOPE> counter, bool upDown) {
    if (!upDown) {
        Level& a = stack.below(1);
        Level& b = stack.top();
        combineCounter(*a.grid, *b.grid, nullptr, std::move(counter), a.cursor, b.cursor, nullptr);
        b.grid = a.grid;
        return;
    }
    Level& a = stack.below(2);
    Level& b = stack.below(1);
    Level& c = stack.top();
    combineCounter(*a.grid, *b.grid, c.grid.get(), std::move(counter), a.cursor, b.cursor, &c.cursor);
    b.grid = a.grid;
    c.grid = a.grid;
}

std::string operandText(const Parameter& operand) {
    StringWriter writer;
    operand.printName(writer);
    return writer.takeText();
}

// A move that the next instruction completes in place (move the first input
// to the output, then combine the second into it) is shown as that
// instruction's box with the move's source at the merge pin.
bool foldsInto(const Operation& move, const Operation* next) {
    const std::optional<Width> size = move.moveSize();
    if (!size || next == nullptr) return false;
    const MergeInfo info = next->boxMergeInfo();
    if (info.pin == 0 || info.size != *size || info.operand == nullptr || move.operand2() == nullptr) return false;
    return operandText(*info.operand) == operandText(*move.operand2());
}

} // namespace

KOPGrid layoutNetwork(const std::vector<std::unique_ptr<Operation>>& ops) {
    LevelStack stack;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (!ops[i]) continue;
        const Operation* op = ops[i].get();
        const Operation* next = i + 1 < ops.size() ? ops[i + 1].get() : nullptr;
        const Operation* move = nullptr;
        if (foldsInto(*op, next)) {
            move = op;
            op = next;
            ++i;
        }

        std::unique_ptr<KOPE> element = makeElement(*op);
        if (!element) {
            applyStackOperation(stack, *op);
            continue;
        }
        if (move != nullptr) {
            const MergeInfo merge = op->boxMergeInfo();
            element->setMerge(merge.pin, move->operand1(), merge.size);
        }

        switch (op->ladderKind()) {
        case LK_CONTACT:
            // A load contact starts a branch of its own; the others join the
            // branch before them, an OR contact in parallel, the rest in series.
            stack.push(elementLevel(std::move(element)));
            if (op->contactRole() != ContactRole::Load) combineTop(stack, op->contactRole() == ContactRole::Or);
            break;
        case LK_UP_COUNTER: addCounter(stack, std::move(element), false); break;
        case LK_UPDOWN_COUNTER: addCounter(stack, std::move(element), true); break;
        default: {
            Level& level = stack.top();
            Cursor cursor = level.cursor;
            appendSeries(*level.grid, cursor, gridForElement(std::move(element)), ELEMENT_CURSOR);
            break;
        }
        }
    }
    return std::move(*stack.top().grid);
}

} // namespace sps
