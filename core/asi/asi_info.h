#pragma once

#include "canvas/info_draw.h"

namespace sps {

class ASIMaster;

// The AS-i status window's content: the master's state and, for every slave
// address, what sits there and what it last exchanged.
class ASIInfo final : public InfoDraw {
public:
    static constexpr int WIDTH_UNITS = 40;
    static constexpr int HEIGHT_UNITS = 160;
    static constexpr int LINES_PER_ADDRESS = 5;

    explicit ASIInfo(const ASIMaster& master) : master_(master) {}

    int contentWidth(KOPDraw& canvas) override;
    int contentHeight(KOPDraw& canvas) override;
    void drawContent(KOPDraw& canvas) override;

private:
    const ASIMaster& master_;
};

} // namespace sps
