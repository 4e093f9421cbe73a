#pragma once

#include "canvas/info_draw.h"

namespace sps {

class CPU;
class KOPDraw;
class MemField;

// The CPU status: the accumulators and hexadecimal dumps of the flag,
// sequence and variable memories, read live at every repaint.
class CPUInfo final : public InfoDraw {
public:
    explicit CPUInfo(CPU& cpu) : cpu_(cpu) {}

    int contentWidth(KOPDraw& canvas) override;
    int contentHeight(KOPDraw& canvas) override;
    void drawContent(KOPDraw& canvas) override;

private:
    CPU& cpu_; // not owned
};

} // namespace sps
