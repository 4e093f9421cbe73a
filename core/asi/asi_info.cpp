#include "asi/asi_info.h"

#include <cstdio>
#include <string>

#include "asi/analog_slaves.h"
#include "asi/asi_master.h"
#include "asi/asi_slave.h"
#include "canvas/kop_draw.h"
#include "messages/latin1.h"

namespace sps {

namespace {

// printf-style formatting of the short status lines (integers only).
template <typename... Args> std::string format(const char* pattern, Args... args) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

int bit(int value, int n) { return (value >> n) & 1; }

// "(letzter Request: rrrr -> tddd)": the last request's bits 3..0, then the
// toggle bit and three data bits of the answer.
std::string exchangeText(const char* kind, int lastRequest, int toggle, int data) {
    return format("%s (letzter Request: %d%d%d%d -> %d%d%d%d)", kind, bit(lastRequest, 3), bit(lastRequest, 2),
                  bit(lastRequest, 1), bit(lastRequest, 0), toggle & 1, bit(data, 2), bit(data, 1), bit(data, 0));
}

// The sign and the magnitude as the 12 bits the protocol carries.
std::string channelText(int channel, int value) {
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    return format("Kanal %d:%s%d", channel, value < 0 ? "-" : "+", static_cast<int>(magnitude & 0xFFF));
}

template <typename AnalogSlave> void drawChannels(KOPDraw& canvas, int y, const AnalogSlave& slave) {
    const int v = canvas.unitHeight();
    canvas.text(0, y + v, channelText(0, slave.channel(0)));
    canvas.text(0, y + 2 * v, channelText(1, slave.channel(1)));
}

} // namespace

void ASISlave::drawStatus(KOPDraw& canvas, int y) const { canvas.text(0, y, "allgemeiner Slave"); }

void DigitalASI::drawStatus(KOPDraw& canvas, int y) const {
    const int v = canvas.unitHeight();
    canvas.text(0, y, "Digital IO-Slave");
    canvas.text(0, y + v, format(L1("Eingänge: D0:%d D1:%d D2:%d D3:%d"), input(0), input(1), input(2), input(3)));
    canvas.text(0, y + 2 * v,
                format(L1("Ausgänge: D0:%d D1:%d D2:%d D3:%d"), output(0), output(1), output(2), output(3)));
}

void AnalogOutASI::drawStatus(KOPDraw& canvas, int y) const {
    canvas.text(0, y, exchangeText("Analog Ausgabe Slave", lastRequest_, toggle_, step_));
    drawChannels(canvas, y, *this);
}

void AnalogInASI::drawStatus(KOPDraw& canvas, int y) const {
    canvas.text(0, y, exchangeText("Analog Eingabe Slave", lastRequest_, toggle_, response_));
    drawChannels(canvas, y, *this);
}

int ASIInfo::contentWidth(KOPDraw& canvas) { return WIDTH_UNITS * canvas.unitWidth(); }

int ASIInfo::contentHeight(KOPDraw& canvas) { return HEIGHT_UNITS * canvas.unitHeight(); }

void ASIInfo::drawContent(KOPDraw& canvas) {
    const int v = canvas.unitHeight();
    canvas.text(0, 0, "Master:");
    std::string status = format("Status: %s %s Bank:%d", master_.online() != 0 ? "ready" : "not ready",
                                master_.enabled() != 0 ? "running" : "stop", master_.bank());
    if (master_.missingSlaves() != 0) status += " Konfigurationsfehler";
    canvas.text(0, v, status);
    for (int address = ASISlave::MIN_ADDRESS; address <= ASISlave::MAX_ADDRESS; ++address) {
        const int y = address * LINES_PER_ADDRESS * v;
        canvas.text(0, y, format("Slave %d:", address));
        if (const ASISlave* slave = master_.slave(address)) {
            slave->drawStatus(canvas, y + v);
            if (master_.missing(address))
                canvas.text(0, y + (LINES_PER_ADDRESS - 1) * v, "ausgefallen: antwortet nicht");
        } else
            canvas.text(0, y + v, "Nicht vorhanden");
    }
}

} // namespace sps
