#pragma once

// The application icon: a controller module on a mounting rail, with
// terminal rows above and below and a column of lit status lamps. It is one
// list of vector shapes in a 256-unit square, painted into PNGs for the
// window and the icon theme and written as the theme's scalable SVG, so that
// every size shows the same picture.

#include <QImage>
#include <QString>

namespace sps {

// The icon painted at size x size pixels, antialiased, on transparency.
QImage drawIcon(int size);

// The icon as a standalone SVG document.
QString iconSvg();

} // namespace sps
