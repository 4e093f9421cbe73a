#pragma once

namespace sps {

class KOPDraw;

// The content of a status window: it measures and draws itself on a canvas
// whose unit is the character cell of the window's font.
class InfoDraw {
public:
    virtual ~InfoDraw() = default;

    virtual int contentWidth(KOPDraw& canvas) = 0;
    virtual int contentHeight(KOPDraw& canvas) = 0;
    virtual void drawContent(KOPDraw& canvas) = 0;
};

} // namespace sps
