#pragma once

#include <string>
#include <vector>

#include "ladder/kop_draw.h"

// A canvas that keeps every text drawn on it, in drawing order.
class RecordingCanvas final : public KOPDraw {
public:
    struct Text {
        int x;
        int y;
        std::string text;
    };

    static constexpr int UNIT_WIDTH = 7;
    static constexpr int UNIT_HEIGHT = 13;

    int unitWidth() const override { return UNIT_WIDTH; }
    int unitHeight() const override { return UNIT_HEIGHT; }
    void line(int, int, int, int) override { ++lines; }
    void text(int x, int y, const std::string& s) override { texts.push_back({x, y, s}); }

    // The text drawn at x 0 on text line `row` (y = row * unit height), or
    // "<none>".
    std::string row(int row) const {
        for (const Text& t : texts)
            if (t.x == 0 && t.y == row * UNIT_HEIGHT) return t.text;
        return "<none>";
    }

    std::vector<Text> texts;
    int lines = 0;
};
