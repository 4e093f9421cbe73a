#pragma once

#include <string>

namespace sps {

// The line-and-text canvas that every status window content draws on.
// Contents place everything in whole layout units (unitWidth by unitHeight
// pixels); the canvas maps content coordinates to the screen or elsewhere.
class KOPDraw {
public:
    virtual ~KOPDraw() = default;

    virtual int unitWidth() const = 0;
    virtual int unitHeight() const = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // A single-line text whose top-left corner is at (x, y).
    virtual void text(int x, int y, const std::string& s) = 0;
    // Whether the lines that follow carry power (the power flow of the
    // ladder view); a content that shows none never calls it.
    virtual void setPowered(bool /*powered*/) {}
    // What a filled rectangle marks: a closed contact of the power flow, a
    // network with a breakpoint.
    enum class Fill : unsigned char { Closed, Breakpoint };
    // A filled rectangle with corners (x1, y1) and (x2, y2). Canvases of
    // lines and texts alone leave it out.
    virtual void fill(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/, Fill /*kind*/ = Fill::Closed) {}
    // A text that ends at x: drawn by text() at x - unitWidth * length of s.
    void textRight(int x, int y, const std::string& s) { text(x - unitWidth() * static_cast<int>(s.size()), y, s); }
};

} // namespace sps
