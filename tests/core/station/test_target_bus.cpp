#include <gtest/gtest.h>

#include "station/station_fields.h"
#include "support/station_bench.h"

using namespace sps;

namespace {

constexpr int ASI_BYTE = 2;

class StationBus : public ::testing::Test {
protected:
    StationBench bench;
    Target& t = bench.target;
    IOBus& bus = *bench.bus;

    void startAsi() { bench.startAsi(); }
    int exchange(int address, int request) {
        return exchangeThroughMaster(t.asiMaster(), address, request, [this] { bench.step(10); });
    }
};

TEST_F(StationBus, StandardMapHasStationThenMaster) {
    EXPECT_EQ(bus.inputBytes(), 3);
    EXPECT_EQ(bus.outputBytes(), 3);
    EXPECT_EQ(bus.analogInputs(), 16);
    EXPECT_EQ(bus.analogOutputs(), 16);

    t.toggleSwitch(5);
    EXPECT_EQ(bus.readInput(0, 5), 1);
    EXPECT_EQ(bus.readInput(0, 4), 0);
    bench.step(0);
    EXPECT_EQ(bus.readInput(1, 0), 1) << "E1.0 without a workpiece";
    EXPECT_EQ(bus.readInput(1, 1), 0);
    EXPECT_EQ(bus.readInput(5, 0), 0);

    bus.writeOutput(0, 6, 1);
    bus.writeOutput(1, 0, 1);
    bus.writeOutput(1, 1, 1);
    EXPECT_EQ(t.ledOut()[6], 1);
    EXPECT_EQ(t.outputSignal(6), 1);
    EXPECT_EQ(t.outputA10(), 1);
    EXPECT_EQ(t.outputSignal(8), 1);
    EXPECT_EQ(t.outputA11(), 1);

    const auto before = stationFields(t);
    bus.writeOutput(5, 0, 1);
    bus.writeOutput(1, 2, 1);
    EXPECT_EQ(stationFields(t), before);
    EXPECT_EQ(t.asiMaster().enabled(), 0);
    EXPECT_EQ(t.asiMaster().bank(), 8);
}

TEST_F(StationBus, ByteTwoAndTheAnalogChannelsReachTheMaster) {
    startAsi();
    EXPECT_EQ(t.asiMaster().enabled(), 1);
    EXPECT_EQ(t.asiMaster().bank(), 0);
    bench.step(0);
    ASSERT_EQ(bus.readInput(ASI_BYTE, 1), 1);

    // Slave 8 (word 2, bits 12..15): D2 always 1, D1 centre 1 without IndNS.
    EXPECT_EQ(exchange(8, 0), 0x6);
    EXPECT_EQ(bus.readAnalog(4), 0x6000);
    EXPECT_NE(bus.readAnalog(5), 0x6000) << "odd channels are random";
    bus.writeAnalog(2, 0x0040);
    EXPECT_EQ(t.asiMaster().outputData()[1], 0x0040);
}

TEST_F(StationBus, ControllerDrivesTheCarrierAndReadsItsSwitchesOverAsi) {
    startAsi();
    EXPECT_EQ(exchange(6, 0), 0x4) << "upper end switch";
    exchange(4, 0xC); // drive, downwards
    bench.step(1000);
    bench.step(1000);
    exchange(4, 0x0);
    const int stopped = t.carrierPos();
    EXPECT_GT(stopped, 140000);
    bench.step(1000);
    EXPECT_EQ(t.carrierPos(), stopped);
    EXPECT_EQ(exchange(6, 0), 0x0) << "away from both ends";

    t.toggleButton(2);
    EXPECT_EQ(t.inputSignal(10), 1);
    EXPECT_EQ(exchange(1, 0x5), 0x4) << "button Taste2";
    t.toggleButton(2);
    EXPECT_EQ(exchange(1, 0x5), 0x0) << "a second press releases it";
    EXPECT_EQ(t.outputSignal(9), 1) << "Lampe0";
    EXPECT_EQ(t.outputSignal(10), 0);
    EXPECT_EQ(t.outputSignal(11), 1);
}

TEST_F(StationBus, ControllerRunsTheAnalogProtocolsOverAsi) {
    startAsi();
    t.setJoystick(0, -66);
    AnalogProtocol joystick([this](int request) { return exchange(3, request); });
    const AnalogProtocol::Reading up = joystick.read();
    EXPECT_EQ(up.channel, 0);
    EXPECT_EQ(up.value, 175);

    AnalogProtocol display([this](int request) { return exchange(2, request); });
    display.write(0, 3456);
    bench.step(0);
    EXPECT_NEAR(t.analogValue(), 10.0f, 1e-5f);

    AnalogProtocol position([this](int request) { return exchange(5, request); });
    position.read(); // channel 0: the ejector's value
    const AnalogProtocol::Reading carrier = position.read();
    EXPECT_EQ(carrier.channel, 1);
    EXPECT_EQ(carrier.value, 699);
}

TEST_F(StationBus, UserOperationsOutOfRangeAreIgnored) {
    const auto before = stationFields(t);
    for (int k : {-1, 8, 1000}) t.toggleSwitch(k);
    for (int k : {-1, 4}) t.toggleButton(k);
    for (int b : {-1, 5, 31, 32}) t.togglePartFlag(b);
    for (int r : {-1, 4}) t.selectSonarRange(r);
    EXPECT_EQ(stationFields(t), before);
    for (int n : {-1, 12, 100}) EXPECT_EQ(t.inputSignal(n), 0) << n;
    for (int n : {-1, 13, 100}) EXPECT_EQ(t.outputSignal(n), 0) << n;
}

TEST_F(StationBus, SonarRangeIsOneHotOnSlave9) {
    const int expected[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int r : {2, 1, 3, 0}) {
        t.selectSonarRange(r);
        EXPECT_EQ(t.sonarRange(), r);
        for (int bit = 0; bit < 3; ++bit) EXPECT_EQ(t.slave9().input(bit), expected[r][bit]) << r << "/" << bit;
    }
}

TEST_F(StationBus, ShownPartFlagsReportTheBitsThatChanged) {
    t.togglePartFlag(0);
    t.togglePartFlag(4);
    EXPECT_EQ(t.syncShownPartFlags(), 0x11);
    EXPECT_EQ(t.shownPartFlags(), 0x11u);
    EXPECT_EQ(t.syncShownPartFlags(), 0);
    t.togglePartFlag(4);
    t.togglePartFlag(2);
    EXPECT_EQ(t.syncShownPartFlags(), 0x14);
}

} // namespace
