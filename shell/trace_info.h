#pragma once

#include <string>
#include <vector>

#include "canvas/info_draw.h"

namespace sps {

class CPU;

// The trace of one scan, one line of text per row. Construction runs the
// traced scan; an error of that scan becomes the only line.
class TraceInfo final : public InfoDraw {
public:
    explicit TraceInfo(CPU& cpu);

    const std::vector<std::string>& lines() const { return lines_; }

    int contentWidth(KOPDraw& canvas) override;
    int contentHeight(KOPDraw& canvas) override;
    void drawContent(KOPDraw& canvas) override;

private:
    std::vector<std::string> lines_;
};

} // namespace sps
