#include <gtest/gtest.h>

#include "asi/analog_slaves.h"
#include "asi/asi_info.h"
#include "asi/asi_master.h"
#include "canvas/canvases.h"
#include "messages/latin1.h"
#include "support/manual_clock.h"

using namespace sps;

namespace {

constexpr int UNIT_WIDTH = 7;
constexpr int UNIT_HEIGHT = 13;

// Text line of the first line of address a's block.
int slaveRow(int address) { return address * ASIInfo::LINES_PER_ADDRESS; }

class ASIInfoView : public ::testing::Test {
protected:
    ManualClock clock;
    ASIMaster master;
    RecordingCanvas canvas{UNIT_WIDTH, UNIT_HEIGHT};

    void draw() {
        ASIInfo info(master);
        info.drawContent(canvas);
    }

    // The text drawn at x 0 on text line `row`, or "<none>".
    std::string row(int row) const {
        for (const CanvasPrimitive& p : canvas.primitives())
            if (p.kind == CanvasPrimitive::Kind::Text && p.x1 == 0 && p.y1 == row * UNIT_HEIGHT) return p.text;
        return "<none>";
    }

    std::size_t count(CanvasPrimitive::Kind kind) const {
        std::size_t n = 0;
        for (const CanvasPrimitive& p : canvas.primitives()) n += p.kind == kind ? 1 : 0;
        return n;
    }
};

TEST_F(ASIInfoView, MeasuresFortyByOneHundredSixtyUnits) {
    ASIInfo info(master);
    EXPECT_EQ(info.contentWidth(canvas), 40 * UNIT_WIDTH);
    EXPECT_EQ(info.contentHeight(canvas), 160 * UNIT_HEIGHT);
}

TEST_F(ASIInfoView, FreshMasterWithoutSlaves) {
    draw();
    EXPECT_EQ(row(0), "Master:");
    EXPECT_EQ(row(1), "Status: not ready stop Bank:8");
    EXPECT_EQ(row(slaveRow(1)), "Slave 1:");
    EXPECT_EQ(row(slaveRow(31)), "Slave 31:");
    EXPECT_EQ(row(slaveRow(17) + 1), "Nicht vorhanden");
    EXPECT_EQ(count(CanvasPrimitive::Kind::Text), 2u + 31u * 2u);
    EXPECT_EQ(count(CanvasPrimitive::Kind::Line), 0u);
}

TEST_F(ASIInfoView, RunningMasterOnBankZero) {
    for (int bit = 0; bit < ASIMaster::BANK_BITS; ++bit) master.writeOutput(0, bit, 0);
    master.writeOutput(0, 2, 1);
    master.writeOutput(0, 7, 1);
    master.busCycle();
    draw();
    EXPECT_EQ(row(1), "Status: ready running Bank:4");
}

TEST_F(ASIInfoView, EachSlaveKindDrawsItsLines) {
    DigitalASI digital(1);
    AnalogOutASI out(2);
    AnalogInASI in(3);
    ASISlave general(4);
    for (ASISlave* slave :
         {static_cast<ASISlave*>(&digital), static_cast<ASISlave*>(&out), static_cast<ASISlave*>(&in), &general})
        master.registerSlave(*slave);
    digital.setInput(1, true);
    digital.exchange(0x9);
    out.exchange(0x2); // a repetition: the slave expects toggle 1
    in.setChannel(0, 42);
    in.setChannel(1, -5000);
    in.exchange(0xF); // request 7: answers channel 0
    draw();

    EXPECT_EQ(row(slaveRow(1) + 1), "Digital IO-Slave");
    EXPECT_EQ(row(slaveRow(1) + 2), L1("Eingänge: D0:0 D1:1 D2:0 D3:0"));
    EXPECT_EQ(row(slaveRow(1) + 3), L1("Ausgänge: D0:1 D1:0 D2:0 D3:1"));
    EXPECT_EQ(row(slaveRow(2) + 1), "Analog Ausgabe Slave (letzter Request: 0010 -> 1111)");
    EXPECT_EQ(row(slaveRow(2) + 2), "Kanal 0:+0");
    EXPECT_EQ(row(slaveRow(3) + 1), "Analog Eingabe Slave (letzter Request: 1111 -> 0000)");
    EXPECT_EQ(row(slaveRow(3) + 2), "Kanal 0:+42");
    EXPECT_EQ(row(slaveRow(3) + 3), "Kanal 1:-904");
    EXPECT_EQ(row(slaveRow(4) + 1), "allgemeiner Slave");
}

} // namespace
