#include "canvas/canvases.h"

#include <algorithm>
#include <climits>

namespace sps {

namespace {

int clampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

} // namespace

int halfUnits(int halves, int unit) {
    const long long twice = static_cast<long long>(halves) * unit;
    const long long floorHalf = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);
    const bool exactHalf = twice % 2 != 0;
    const bool floorIsEven = floorHalf % 2 == 0;
    return clampToInt(exactHalf && !floorIsEven ? floorHalf + 1 : floorHalf);
}

// ---- ClippedCanvas ----

ClippedCanvas::ClippedCanvas(int unitWidth, int unitHeight, int offsetX, int offsetY, int clipWidth, int clipHeight)
    : unitWidth_(unitWidth), unitHeight_(unitHeight), offsetX_(offsetX), offsetY_(offsetY), clipWidth_(clipWidth),
      clipHeight_(clipHeight) {}

void ClippedCanvas::line(int x1, int y1, int x2, int y2) {
    // Computed wide so that no offset can overflow; a surviving end far
    // outside the clip area is pulled into the int range only.
    const long long sx1 = static_cast<long long>(x1) + offsetX_;
    const long long sx2 = static_cast<long long>(x2) + offsetX_;
    const long long sy1 = static_cast<long long>(y1) + offsetY_;
    const long long sy2 = static_cast<long long>(y2) + offsetY_;
    if (sx1 < 0 && sx2 < 0) return;
    if (sy1 < 0 && sy2 < 0) return;
    if (sx1 > clipWidth_ && sx2 > clipWidth_) return;
    if (sy1 > clipHeight_ && sy2 > clipHeight_) return;
    drawLine(clampToInt(sx1), clampToInt(sy1), clampToInt(sx2), clampToInt(sy2));
}

void ClippedCanvas::fill(int x1, int y1, int x2, int y2, Fill kind) {
    const long long sx1 = static_cast<long long>(x1) + offsetX_;
    const long long sx2 = static_cast<long long>(x2) + offsetX_;
    const long long sy1 = static_cast<long long>(y1) + offsetY_;
    const long long sy2 = static_cast<long long>(y2) + offsetY_;
    if (std::max(sx1, sx2) < 0 || std::max(sy1, sy2) < 0) return;
    if (std::min(sx1, sx2) > clipWidth_ || std::min(sy1, sy2) > clipHeight_) return;
    drawFill(clampToInt(sx1), clampToInt(sy1), clampToInt(sx2), clampToInt(sy2), kind);
}

void ClippedCanvas::text(int x, int y, const std::string& s) {
    const long long sx = static_cast<long long>(x) + offsetX_;
    const long long sy = static_cast<long long>(y) + offsetY_;
    if (sx < -static_cast<long long>(unitWidth_) || sx > clipWidth_) return;
    if (sy < -static_cast<long long>(unitHeight_) || sy > clipHeight_) return;
    drawText(static_cast<int>(sx), static_cast<int>(sy), s);
}

// ---- RecordingCanvas ----

std::string CanvasPrimitive::toString() const {
    if (kind == Kind::Text) return "text " + std::to_string(x1) + " " + std::to_string(y1) + " " + text;
    return "line " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2);
}

RecordingCanvas::RecordingCanvas(int unitWidth, int unitHeight) : unitWidth_(unitWidth), unitHeight_(unitHeight) {}

void RecordingCanvas::line(int x1, int y1, int x2, int y2) {
    primitives_.push_back({CanvasPrimitive::Kind::Line, x1, y1, x2, y2, {}});
}

void RecordingCanvas::text(int x, int y, const std::string& s) {
    primitives_.push_back({CanvasPrimitive::Kind::Text, x, y, 0, 0, s});
}

std::vector<std::string> RecordingCanvas::listing() const {
    std::vector<std::string> result;
    result.reserve(primitives_.size());
    for (const CanvasPrimitive& primitive : primitives_) result.push_back(primitive.toString());
    return result;
}

// ---- CharGridCanvas ----

char* CharGridCanvas::cell(int x, int y) {
    if (x < 0 || y < 0) return nullptr;
    columnsCut_ = columnsCut_ || x >= MAX_COLUMNS;
    rowsCut_ = rowsCut_ || y >= MAX_ROWS;
    if (x >= MAX_COLUMNS || y >= MAX_ROWS) return nullptr;
    const auto row = static_cast<std::size_t>(y);
    const auto column = static_cast<std::size_t>(x);
    if (rows_.size() <= row) rows_.resize(row + 1);
    std::string& text = rows_[row];
    if (text.size() <= column) text.resize(column + 1, ' ');
    return &text[column];
}

void CharGridCanvas::putLineChar(int x, int y, char stroke) {
    char* c = cell(x, y);
    if (c == nullptr) return;
    if (powered_) {
        *c = '*';
        return;
    }
    if (*c == '*') return;
    const char crossing = stroke == '-' ? '|' : '-';
    if (*c == crossing || *c == '+')
        *c = '+';
    else
        *c = stroke;
}

void CharGridCanvas::line(int x1, int y1, int x2, int y2) {
    // Only the part inside the grid is walked, so a far end costs nothing.
    const auto walk = [](int a, int b, int limit, bool& cut, auto&& put) {
        const int from = std::max(std::min(a, b), 0);
        const int to = std::min(std::max(a, b), limit - 1);
        cut = cut || std::max(a, b) >= limit;
        for (int i = from; i <= to; ++i) put(i);
    };
    // A line that ends where it starts marks no cell, as on the screen.
    if (x1 == x2 && y1 == y2) return;
    // Lines above the first row or left of the first column mark nothing.
    if (y1 == y2 && y1 >= 0)
        walk(x1, x2, MAX_COLUMNS, columnsCut_, [&](int x) { putLineChar(x, y1, '-'); });
    else if (x1 == x2 && x1 >= 0)
        walk(y1, y2, MAX_ROWS, rowsCut_, [&](int y) { putLineChar(x1, y, '|'); });
}

void CharGridCanvas::text(int x, int y, const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const long long column = static_cast<long long>(x) + static_cast<long long>(i);
        if (column >= MAX_COLUMNS) {
            columnsCut_ = columnsCut_ || y >= 0;
            break;
        }
        if (column < 0) continue;
        if (char* c = cell(static_cast<int>(column), y)) *c = s[i];
    }
}

std::vector<std::string> CharGridCanvas::rows() const {
    std::vector<std::string> result;
    for (const std::string& row : rows_) {
        const std::size_t end = row.find_last_not_of(' ');
        result.push_back(end == std::string::npos ? std::string() : row.substr(0, end + 1));
    }
    while (!result.empty() && result.back().empty()) result.pop_back();
    return result;
}

std::string CharGridCanvas::render() const {
    std::string result;
    for (const std::string& row : rows()) {
        result += row;
        result += '\n';
    }
    return result;
}

} // namespace sps
