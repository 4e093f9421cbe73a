#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "base/random_source.h"
#include "cpu/io.h"
#include "support/fake_io_device.h"

using namespace sps;

namespace {

// Three devices in slots 0, 2 and 5 with the others empty. Global numbers:
//   input bytes     first 0-1, second 2,   third 3-5
//   output bytes    first 0,   second 1-2
//   analog inputs              second 0-3, third 4-5
//   analog outputs  first 0-2,             third 3-4
class IOBusTest : public ::testing::Test {
protected:
    FakeIODevice first{2, 1, 0, 3};
    FakeIODevice second{1, 2, 4, 0};
    FakeIODevice third{3, 0, 2, 2};
    IOBus bus;

    void SetUp() override {
        bus.setDevice(0, &first);
        bus.setDevice(2, &second);
        bus.setDevice(5, &third);
    }
};

TEST_F(IOBusTest, CountsAreTheSumsOverThePresentDevices) {
    EXPECT_EQ(bus.inputBytes(), 6);
    EXPECT_EQ(bus.outputBytes(), 3);
    EXPECT_EQ(bus.analogInputs(), 6);
    EXPECT_EQ(bus.analogOutputs(), 5);
    IOBus empty;
    EXPECT_EQ(empty.inputBytes(), 0);
    EXPECT_EQ(empty.analogOutputs(), 0);
}

TEST_F(IOBusTest, InputBytesMapOntoTheDevicesInSlotOrder) {
    // Global input byte g has only bit g set.
    first.inputs = {0x01, 0x02};
    second.inputs = {0x04};
    third.inputs = {0x08, 0x10, 0x20};
    for (int byte = 0; byte < 6; ++byte) {
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ(bus.readInput(byte, bit), bit == byte ? 1 : 0) << byte << "." << bit;
    }
    third.inputs[2] = 0xFF;
    EXPECT_EQ(bus.readInput(6, 0), 0);
    EXPECT_EQ(bus.readInput(-1, 0), 0);
    EXPECT_EQ(bus.readInput(1000, 0), 0);
}

TEST_F(IOBusTest, OutputBytesMapOntoTheDevicesInSlotOrder) {
    bus.writeOutput(0, 7, 1);
    bus.writeOutput(1, 0, 1);
    bus.writeOutput(2, 3, 1);
    EXPECT_EQ(first.outputs[0], 0x80);
    EXPECT_EQ(second.outputs[0], 0x01);
    EXPECT_EQ(second.outputs[1], 0x08);
    bus.writeOutput(2, 3, 0);
    EXPECT_EQ(second.outputs[1], 0x00);

    bus.writeOutput(3, 0, 1); // unserved: ignored
    bus.writeOutput(-1, 0, 1);
    EXPECT_EQ(first.outputs[0], 0x80);
    EXPECT_EQ(second.outputs[0], 0x01);
}

TEST_F(IOBusTest, AnalogChannelsMapOntoTheDevicesInSlotOrder) {
    second.analogIn = {100, 101, 102, 103};
    third.analogIn = {200, 201};
    const std::uint16_t expected[] = {100, 101, 102, 103, 200, 201};
    for (int channel = 0; channel < 6; ++channel) EXPECT_EQ(bus.readAnalog(channel), expected[channel]) << channel;

    for (int channel = 0; channel < 5; ++channel) bus.writeAnalog(channel, static_cast<std::uint16_t>(1000 + channel));
    EXPECT_EQ(first.analogOut, (std::vector<std::uint16_t>{1000, 1001, 1002}));
    EXPECT_EQ(third.analogOut, (std::vector<std::uint16_t>{1003, 1004}));
    bus.writeAnalog(5, 1); // unserved: ignored
    bus.writeAnalog(-1, 1);
    EXPECT_EQ(first.analogOut, (std::vector<std::uint16_t>{1000, 1001, 1002}));
    EXPECT_EQ(third.analogOut, (std::vector<std::uint16_t>{1003, 1004}));
}

// An unserved channel reads the next value of the one random source, cut to
// 16 bits, so that the value changes from read to read.
TEST_F(IOBusTest, UnservedAnalogInputsReadTheRandomSource) {
    const std::vector<int> unserved{6, -3, 6, 1000};
    seedRandom(1);
    std::vector<std::uint16_t> expected;
    for (std::size_t i = 0; i < unserved.size(); ++i) expected.push_back(static_cast<std::uint16_t>(nextRandom()));
    seedRandom(1);
    std::vector<std::uint16_t> read;
    for (int channel : unserved) read.push_back(bus.readAnalog(channel));
    EXPECT_EQ(read, expected);
    EXPECT_NE(read[0], read[2]);
}

TEST_F(IOBusTest, EmptyingASlotShiftsTheFollowingDevices) {
    second.inputs = {0x01};
    third.inputs = {0x02, 0, 0};
    bus.setDevice(0, nullptr);
    EXPECT_EQ(bus.inputBytes(), 4);
    EXPECT_EQ(bus.readInput(0, 0), 1);
    EXPECT_EQ(bus.readInput(1, 1), 1);
}

} // namespace
