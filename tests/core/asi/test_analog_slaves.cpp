#include <gtest/gtest.h>

#include <vector>

#include "asi/analog_slaves.h"
#include "support/asi_controller.h"
#include "support/manual_clock.h"

using namespace sps;

namespace {

AnalogProtocol controllerOf(ASISlave& slave) {
    return AnalogProtocol([&slave](int request) { return slave.exchange(request); });
}

TEST(AnalogOutput, A12BitValueArrivesInTheSelectedChannel) {
    ManualClock clock;
    AnalogOutASI slave(2);
    AnalogProtocol controller = controllerOf(slave);

    // Each answer: the toggle bit expected next, then the step reached.
    EXPECT_EQ(controller.write(1, 0xABC), (std::vector<int>{0x4, 0xB, 0x2, 0x9, 0x0, 0xF}));
    EXPECT_EQ(slave.channel(1), 0xABC);
    EXPECT_EQ(slave.channel(0), 0);

    controller.write(0, -4095);
    EXPECT_EQ(slave.channel(0), -4095);
    controller.write(0, 17, /*accept=*/false);
    EXPECT_EQ(slave.channel(0), -4095) << "without the accept bit nothing is stored";
}

TEST(AnalogOutput, ARepeatedRequestChangesNothing) {
    ManualClock clock;
    AnalogOutASI slave(2);
    AnalogProtocol controller = controllerOf(slave);
    const int first = controller.request(1);
    EXPECT_EQ(controller.repeat(), first);
    EXPECT_EQ(controller.repeat(), first);
    EXPECT_EQ(slave.step(), 4);
    controller.request(0);
    controller.request(0);
    controller.request(0);
    controller.request(5);
    controller.repeat();
    controller.request(1);
    EXPECT_EQ(slave.channel(1), 5);
}

TEST(AnalogOutput, AChannelNumberAbove1IsNotSelected) {
    ManualClock clock;
    AnalogOutASI slave(2);
    AnalogProtocol controller = controllerOf(slave);
    EXPECT_EQ(controller.request(3), 0x7);
    EXPECT_EQ(slave.step(), 7);
    controller.write(1, 100);
    EXPECT_EQ(slave.channel(1), 100);
}

TEST(AnalogOutput, ChannelsDropToZeroAfter5000MsWithoutAcceptedValue) {
    ManualClock clock;
    AnalogOutASI slave(2);
    AnalogProtocol controller = controllerOf(slave);
    clock.advance(10000);
    controller.write(0, 300);
    controller.write(1, 400);
    clock.advance(5000);
    controller.repeat();
    EXPECT_EQ(slave.channel(0), 300);
    EXPECT_EQ(slave.channel(1), 400);
    clock.advance(1);
    controller.repeat();
    EXPECT_EQ(slave.channel(0), 0);
    EXPECT_EQ(slave.channel(1), 0);
}

TEST(AnalogOutput, AClockThatWentBackDoesNotExpireTheValue) {
    ManualClock clock;
    clock.advance(20000);
    AnalogOutASI slave(2);
    AnalogProtocol controller = controllerOf(slave);
    controller.write(0, 300);
    simClock().switchToAutomatic();
    simClock().switchToManual(); // back to 0 ms
    controller.repeat();
    EXPECT_EQ(slave.channel(0), 300);
    clock.advance(5001);
    controller.repeat();
    EXPECT_EQ(slave.channel(0), 0);
}

TEST(AnalogInput, ValuesOfBothChannelsArriveInTurn) {
    ManualClock clock;
    AnalogInASI slave(3);
    slave.setChannel(0, 1234);
    slave.setChannel(1, -77);
    AnalogProtocol controller = controllerOf(slave);

    const AnalogProtocol::Reading first = controller.read();
    EXPECT_EQ(first.channel, 0);
    EXPECT_EQ(first.value, 1234);
    EXPECT_EQ(first.status, 1);
    const AnalogProtocol::Reading second = controller.read();
    EXPECT_EQ(second.channel, 1);
    EXPECT_EQ(second.value, -77);
    EXPECT_EQ(second.status, 5);
}

TEST(AnalogInput, MinusFiveThousandIsSentCutTo12BitsWithOverflowAndSign) {
    ManualClock clock;
    AnalogInASI slave(5);
    slave.setChannel(0, -5000);
    AnalogProtocol controller = controllerOf(slave);
    // Answers: toggle expected next in bit 3; channel 0, groups 1 6 1 0 of
    // 5000 & 0xFFF = 904, then valid + overflow + negative.
    EXPECT_EQ(controller.read().answers, (std::vector<int>{0x0, 0x9, 0x6, 0x9, 0x0, 0xF}));
}

TEST(AnalogInput, ARepeatedRequestGetsThePreviousAnswer) {
    ManualClock clock;
    AnalogInASI slave(3);
    slave.setChannel(0, 0x5A5);
    AnalogProtocol controller = controllerOf(slave);
    controller.request(7);
    const int group = controller.request(4);
    EXPECT_EQ(controller.repeat(), group);
    EXPECT_EQ(slave.step(), 3);
    EXPECT_EQ(controller.request(3) & 7, (0x5A5 >> 6) & 7);
}

TEST(AnalogInput, ARequestForAnotherStepRestartsAtChannel0) {
    ManualClock clock;
    AnalogInASI slave(3);
    slave.setChannel(0, 10);
    slave.setChannel(1, 20);
    AnalogProtocol controller = controllerOf(slave);
    controller.read(); // channel 0 sent, channel 1 next
    controller.request(7);
    EXPECT_EQ(controller.request(2) & 7, 0) << "out of step";
    EXPECT_EQ(slave.step(), 7);
    EXPECT_EQ(controller.read().channel, 0);
}

} // namespace
