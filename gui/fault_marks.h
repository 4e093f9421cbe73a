#pragma once

#include <optional>

#include <QRect>

class QPainter;

namespace sps {

class Target;

// Where the station drawing shows the part of fault input `row`, if it shows it.
std::optional<QRect> faultPartRect(int row, const Target& target);

// A red frame over every part that has a fault, so the learner sees which
// part is broken.
void drawFaultMarks(QPainter& painter, const Target& target);

} // namespace sps
