#include "shell/cpu_info.h"

#include <cstdio>
#include <string>

#include "canvas/kop_draw.h"
#include "cpu/cpu.h"

namespace sps {

namespace {

constexpr int CONTENT_COLUMNS = 53;
// Title and accumulator lines, and one title per dumped area, plus spare lines.
constexpr int FIXED_LINES = 8;
constexpr int BYTES_PER_LINE = 16;

// Writes `piece` at (x, y) and returns the x just after it.
int putPiece(KOPDraw& canvas, int x, int y, const char* piece) {
    const std::string text(piece);
    canvas.text(x, y, text);
    return x + canvas.unitWidth() * static_cast<int>(text.size());
}

// One line per 16 bytes: the offset of its first byte, then the bytes, all
// in hexadecimal and each piece directly after the previous one.
int drawDump(KOPDraw& canvas, MemField& area, int y) {
    const int lineHeight = canvas.unitHeight();
    char piece[16];
    for (int offset = 0; offset < area.size(); offset += BYTES_PER_LINE) {
        std::snprintf(piece, sizeof piece, "%04X", static_cast<unsigned>(offset));
        int x = putPiece(canvas, 0, y, piece);
        for (int index = offset; index < area.size() && index < offset + BYTES_PER_LINE; ++index) {
            std::snprintf(piece, sizeof piece, "%02X", static_cast<unsigned>(area.readByte(index)) & 0xFFu);
            x = putPiece(canvas, x, y, piece);
        }
        y += lineHeight;
    }
    return y;
}

} // namespace

int CPUInfo::contentWidth(KOPDraw& canvas) { return CONTENT_COLUMNS * canvas.unitWidth(); }

int CPUInfo::contentHeight(KOPDraw& canvas) {
    const int lines = cpu_.areaM.size() / BYTES_PER_LINE + cpu_.areaS.size() / BYTES_PER_LINE +
                      cpu_.areaV.size() / BYTES_PER_LINE + FIXED_LINES;
    return canvas.unitHeight() * lines;
}

void CPUInfo::drawContent(KOPDraw& canvas) {
    const int lineHeight = canvas.unitHeight();
    int y = 0;
    canvas.text(0, y, "Akkumulatoren");
    y += lineHeight;
    char accumulators[64];
    std::snprintf(accumulators, sizeof accumulators, "AC0:%08X AC1:%08X AC2:%08X AC3:%08X",
                  static_cast<unsigned>(cpu_.accumulators[0]), static_cast<unsigned>(cpu_.accumulators[1]),
                  static_cast<unsigned>(cpu_.accumulators[2]), static_cast<unsigned>(cpu_.accumulators[3]));
    canvas.text(0, y, accumulators);
    y += lineHeight;
    canvas.text(0, y, "Merkerspeicher:");
    y = drawDump(canvas, cpu_.areaM, y + lineHeight);
    canvas.text(0, y, "S-speicher:");
    y = drawDump(canvas, cpu_.areaS, y + lineHeight);
    canvas.text(0, y, "Variablenspeicher:");
    drawDump(canvas, cpu_.areaV, y + lineHeight);
}

} // namespace sps
