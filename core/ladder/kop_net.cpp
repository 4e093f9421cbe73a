#include "ladder/kop_net.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "canvas/kop_draw.h"
#include "cpu/cpu.h"
#include "ladder/kop_layout.h"
#include "ladder/kop_power.h"

namespace sps {

namespace {

// A cell is 20 units wide and 7 high; the wire runs 4 units below its top.
constexpr int CELL_UNITS_X = 20;
constexpr int CELL_UNITS_Y = 7;
constexpr int WIRE_UNITS_Y = 4;
constexpr int HEADER_UNITS_Y = 4; // header line above the rung's first row
constexpr int GAP_UNITS_Y = 3;    // space below the rung's last row
// How far an element's drawing reaches from the corner of its cell: a box's
// output value starts 32 units to the right, a four-row counter is 28 units high.
constexpr int ELEMENT_REACH_X = 40;
constexpr int ELEMENT_REACH_Y = 28;

// Content coordinates are ints. What would lie beyond INT_MAX is past the
// clamped content size and can never be scrolled into view, so it is not drawn.
bool reachFits(long long position, int reachUnits, int unit) {
    return position + static_cast<long long>(reachUnits) * unit <= INT_MAX;
}

int clampedPixels(long long units, int unit) {
    return static_cast<int>(std::clamp<long long>(units * unit, 0, INT_MAX));
}

// One cell at (x, y): its element or wire, then the four connector halves
// on its edges, each drawn when this cell or the neighbour across the edge
// asks for it.
void drawCell(KOPDraw& canvas, const KOPGrid& grid, int row, int column, int x, int y, const RungPower* power) {
    const int u = canvas.unitWidth();
    const int v = canvas.unitHeight();
    const KOPCell& cell = grid.cell(row, column);
    const KOPCell* left = column > 0 ? &grid.cell(row, column - 1) : nullptr;
    const KOPCell* right = column + 1 < grid.width() ? &grid.cell(row, column + 1) : nullptr;
    const int wireY = y + WIRE_UNITS_Y * v;
    const int bottomY = y + CELL_UNITS_Y * v;
    const int rightX = x + CELL_UNITS_X * u;

    // Nothing changes for a view without power flow: not even a call.
    const auto powered = [&](bool on) {
        if (power != nullptr) canvas.setPowered(on);
    };
    if (cell.element) {
        cell.element->draw(canvas, x, y, power != nullptr ? power->element(row, column) : ElementPower{});
    } else if (cell.state == CELL_WIRE) {
        powered(power != nullptr && power->wire(row, column));
        canvas.line(x, wireY, rightX, wireY);
    }

    powered(power != nullptr && power->joinLeft(row, column));
    if (cell.upLeft || (left && left->upRight)) canvas.line(x, y, x, wireY);
    if (cell.downLeft || (left && left->downRight)) canvas.line(x, wireY, x, bottomY);
    powered(power != nullptr && power->joinRight(row, column));
    if (cell.upRight || (right && right->upLeft)) canvas.line(rightX, y, rightX, wireY);
    if (cell.downRight || (right && right->downLeft)) canvas.line(rightX, wireY, rightX, bottomY);
    powered(false);
}

} // namespace

std::string rungHeader(const KOPRung& rung) {
    std::string header = "Network " + std::to_string(rung.number);
    if (!rung.name.empty()) header += " (" + rung.name + ")";
    return header;
}

void KOPNet::setProgram(std::shared_ptr<const Program> program) {
    rungs_.clear();
    program_.reset();
    marked_ = nullptr;
    if (!program) return;
    std::vector<KOPRung> rungs;
    for (const Block& block : *program)
        for (const Network& network : block.networks)
            rungs.push_back({block.name, block.kind, network.number, layoutNetwork(network.ops), &network, &block});
    program_ = std::move(program);
    rungs_ = std::move(rungs);
}

int KOPNet::rungTop(KOPDraw& canvas, const Network* network) const {
    long long y = 0;
    for (const KOPRung& rung : rungs_) {
        if (rung.network == network) return clampedPixels(y, 1);
        const long long units =
            HEADER_UNITS_Y + static_cast<long long>(CELL_UNITS_Y) * rung.grid.height() + GAP_UNITS_Y;
        y += units * canvas.unitHeight();
    }
    return -1;
}

const KOPRung* KOPNet::rungAt(KOPDraw& canvas, int y, bool& onHeader) const {
    long long top = 0;
    for (const KOPRung& rung : rungs_) {
        const long long height =
            (HEADER_UNITS_Y + static_cast<long long>(CELL_UNITS_Y) * rung.grid.height() + GAP_UNITS_Y) *
            canvas.unitHeight();
        if (y >= top && y < top + height) {
            onHeader = y < top + static_cast<long long>(HEADER_UNITS_Y) * canvas.unitHeight();
            return &rung;
        }
        top += height;
    }
    onHeader = false;
    return nullptr;
}

int KOPNet::contentWidth(KOPDraw& canvas) {
    long long widest = 0;
    for (const KOPRung& rung : rungs_) widest = std::max<long long>(widest, rung.grid.width());
    return clampedPixels(CELL_UNITS_X * widest + CELL_UNITS_X, canvas.unitWidth());
}

int KOPNet::contentHeight(KOPDraw& canvas) {
    long long rows = 0;
    for (const KOPRung& rung : rungs_) rows += rung.grid.height() + 1;
    return clampedPixels(CELL_UNITS_Y * rows + CELL_UNITS_Y, canvas.unitHeight());
}

void KOPNet::drawContent(KOPDraw& canvas) {
    const int u = canvas.unitWidth();
    const int v = canvas.unitHeight();
    long long y = 0;
    for (const KOPRung& rung : rungs_) {
        if (!reachFits(y, HEADER_UNITS_Y + ELEMENT_REACH_Y, v)) return;
        if (hasBreakpoint_ && hasBreakpoint_(rung))
            canvas.fill(1, static_cast<int>(y) + v, 9, static_cast<int>(y) + 2 * v, KOPDraw::Fill::Breakpoint);
        canvas.text(10, static_cast<int>(y) + v,
                    (rung.network == marked_ && marked_ != nullptr ? ">> " : "") + rungHeader(rung));
        y += static_cast<long long>(HEADER_UNITS_Y) * v;
        const long long railEnd = y + static_cast<long long>(CELL_UNITS_Y) * v * rung.grid.height();
        // The rail always carries power.
        if (powerOf_ != nullptr) canvas.setPowered(true);
        canvas.line(1, static_cast<int>(y), 1, static_cast<int>(std::min<long long>(railEnd, INT_MAX)));
        if (powerOf_ != nullptr) canvas.setPowered(false);
        const std::optional<RungPower> power =
            powerOf_ != nullptr ? std::optional<RungPower>(std::in_place, rung.grid, powerOf_->scanNumber)
                                : std::nullopt;
        for (int row = 0; row < rung.grid.height(); ++row) {
            if (!reachFits(y, ELEMENT_REACH_Y, v)) return;
            long long x = 1;
            for (int column = 0; column < rung.grid.width() && reachFits(x, ELEMENT_REACH_X, u); ++column) {
                drawCell(canvas, rung.grid, row, column, static_cast<int>(x), static_cast<int>(y),
                         power ? &*power : nullptr);
                x += static_cast<long long>(CELL_UNITS_X) * u;
            }
            y += static_cast<long long>(CELL_UNITS_Y) * v;
        }
        y += static_cast<long long>(GAP_UNITS_Y) * v;
    }
}

} // namespace sps
