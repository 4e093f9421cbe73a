#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/canvases.h"
#include "cpu/cpu.h"
#include "shell/cpu_info.h"

using namespace sps;

namespace {

TEST(CPUInfo, SizeCountsSixteenBytesPerDumpLineAndEightMoreLines) {
    CPU cpu;
    CPUInfo info(cpu);
    RecordingCanvas canvas(8, 15);
    EXPECT_EQ(info.contentWidth(canvas), 53 * 8);
    EXPECT_EQ(info.contentHeight(canvas), 267 * 15);
}

TEST(CPUInfo, ShowsAccumulatorsAndEveryAreaDump) {
    CPU cpu;
    cpu.accumulators = {0x1234ABCDu, 0u, 0xFu, 0xFFFFFFFFu};
    cpu.areaM.writeByte(1, 0xAB);
    cpu.areaM.writeByte(31, 0x05);
    cpu.areaS.writeByte(15, 0xC3);
    cpu.areaV.writeByte(4095, 0x7E);
    CPUInfo info(cpu);
    CharGridCanvas canvas;
    info.drawContent(canvas);
    const std::vector<std::string> rows = canvas.rows();

    const std::string zeros(32, '0');
    ASSERT_EQ(rows.size(), 264u);
    EXPECT_EQ(rows[0], "Akkumulatoren");
    EXPECT_EQ(rows[1], "AC0:1234ABCD AC1:00000000 AC2:0000000F AC3:FFFFFFFF");
    EXPECT_EQ(rows[2], "Merkerspeicher:");
    EXPECT_EQ(rows[3], "000000AB" + std::string(28, '0'));
    EXPECT_EQ(rows[4], "0010" + std::string(30, '0') + "05");
    EXPECT_EQ(rows[5], "S-speicher:");
    EXPECT_EQ(rows[6], "0000" + std::string(30, '0') + "C3");
    EXPECT_EQ(rows[7], "Variablenspeicher:");
    EXPECT_EQ(rows[8], "0000" + zeros);
    EXPECT_EQ(rows[9], "0010" + zeros);
    EXPECT_EQ(rows[263], "0FF0" + std::string(30, '0') + "7E");
}

TEST(CPUInfo, PlacesEachPieceAfterThePreviousOne) {
    CPU cpu;
    cpu.areaM.writeByte(1, 0xAB);
    CPUInfo info(cpu);
    RecordingCanvas canvas(8, 15);
    info.drawContent(canvas);
    const std::vector<std::string> listing = canvas.listing();
    // Titles, accumulators and the first M line: offset, then bytes 2 chars apart.
    ASSERT_GE(listing.size(), 6u);
    EXPECT_EQ(listing[2], "text 0 30 Merkerspeicher:");
    EXPECT_EQ(listing[3], "text 0 45 0000");
    EXPECT_EQ(listing[4], "text 32 45 00");
    EXPECT_EQ(listing[5], "text 48 45 AB");
    // Four titles and the accumulators, then 17 pieces per line for 2 + 1 + 256 lines.
    EXPECT_EQ(listing.size(), 5u + 17u * 259u);
    EXPECT_EQ(listing.back(), "text 272 3945 00");
}

TEST(CPUInfo, DumpStopsAtTheAreaEnd) {
    CPU cpu;
    cpu.areaS = MemField(20, false);
    cpu.areaS.writeByte(19, 0x11);
    CPUInfo info(cpu);
    CharGridCanvas canvas;
    info.drawContent(canvas);
    const std::vector<std::string> rows = canvas.rows();
    EXPECT_EQ(rows[7], "0010" + std::string(6, '0') + "11");
    EXPECT_EQ(rows[8], "Variablenspeicher:");
    RecordingCanvas units(1, 1);
    EXPECT_EQ(info.contentHeight(units), 2 + 1 + 256 + 8);
}

} // namespace
