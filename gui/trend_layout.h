#pragma once

#include <cstdint>
#include <vector>

#include <QRect>

namespace sps {

// Where the "Verlauf" window draws what, in the coordinates of its client
// area: the names at the left, the traces beside them, the time axis below.
// One lane per recorded operand, in the recorder's order, stacked from the
// top and scrolled up by the vertical scroll bar; time runs from left to
// right at `msPerPixel`, with `rightMs` just past the traces' last column.
struct TrendLayout {
    QRect names;  // the column of names and values
    QRect traces; // where the lanes show their traces
    QRect axis;   // the time axis under the traces
    // Each lane across the client area's width (it may lie partly or wholly
    // outside the client area when the lanes are scrolled).
    std::vector<QRect> lanes;
    double msPerPixel = 1;
    double rightMs = 0;

    double leftMs() const { return rightMs - traces.width() * msPerPixel; }
    // The x of a moment.
    double xOf(double ms) const { return traces.left() + (ms - leftMs()) / msPerPixel; }
    // The moment at the left end of column `x`.
    double msAt(double x) const { return leftMs() + (x - traces.left()) * msPerPixel; }
};

} // namespace sps
