#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/info_draw.h"
#include "cpu/program.h"
#include "ladder/kop_grid.h"

namespace sps {

class CPU;

// One laid-out network with the block it belongs to.
struct KOPRung {
    std::string name; // the block's name; empty when it has none
    BlockKind kind = BLOCK_ORGANIZATION;
    int number = 0;
    KOPGrid grid;
    const Network* network = nullptr; // in the program the view shares
    const Block* block = nullptr;
};

// The ladder view of a whole program: every network of every block as a
// ladder diagram with live operand values. The elements refer to the
// program's instructions; the view shares the program, so it keeps painting
// the program it was made from after another one has been loaded.
class KOPNet final : public InfoDraw {
public:
    // Lays out every network of every block in program order; a network
    // without instructions gets an empty grid, and no program gives no rungs.
    // On a layout error the previous rungs are gone and the error propagates.
    void setProgram(std::shared_ptr<const Program> program);

    const std::vector<KOPRung>& rungs() const { return rungs_; }

    // Draws the power flow of the last scan that `cpu` ran while it recorded
    // it (CPU::recordPower); null draws none, as the view always did.
    void showPower(const CPU* cpu) { powerOf_ = cpu; }
    bool showsPower() const { return powerOf_ != nullptr; }

    // Marks the rung of `network` (where a network step or breakpoint
    // stopped): ">> " before its header; null marks none.
    void mark(const Network* network) { marked_ = network; }
    // The content's y of the rung of `network` (its header), or -1.
    int rungTop(KOPDraw& canvas, const Network* network) const;
    // The rung at the content's y, or null; `onHeader` tells whether y lies
    // on its header line.
    const KOPRung* rungAt(KOPDraw& canvas, int y, bool& onHeader) const;
    // Which networks to mark with a breakpoint (a red square before the
    // header); none when empty.
    void showBreakpoints(std::function<bool(const KOPRung&)> hasBreakpoint) {
        hasBreakpoint_ = std::move(hasBreakpoint);
    }

    int contentWidth(KOPDraw& canvas) override;
    int contentHeight(KOPDraw& canvas) override;
    void drawContent(KOPDraw& canvas) override;

private:
    std::shared_ptr<const Program> program_; // declared first: outlives the rungs
    std::vector<KOPRung> rungs_;
    const CPU* powerOf_ = nullptr;
    const Network* marked_ = nullptr;
    std::function<bool(const KOPRung&)> hasBreakpoint_;
};

// "Network N" or "Network N (NAME)": the header above a rung.
std::string rungHeader(const KOPRung& rung);

} // namespace sps
