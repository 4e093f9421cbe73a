#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "asi/asi_master.h"
#include "asi/asi_slave.h"
#include "base/random_source.h"
#include "support/manual_clock.h"

using namespace sps;

namespace {

constexpr int CONTROL = 0;
constexpr int ENABLE = 7;

// A master started the way a controller program does: bank bits cleared,
// enable set.
void start(ASIMaster& master) {
    for (int bit = 0; bit < ASIMaster::BANK_BITS; ++bit) master.writeOutput(CONTROL, bit, 0);
    master.writeOutput(CONTROL, ENABLE, 1);
}

int outputNibble(const DigitalASI& slave) {
    int nibble = 0;
    for (int d = 0; d < DigitalASI::BITS; ++d) nibble |= slave.output(d) << d;
    return nibble;
}

void cycleUntilOnline(ASIMaster& master) {
    do master.busCycle();
    while (master.online() == 0);
}

TEST(ASIMasterControl, BankBitsAndEnableFollowTheControlByte) {
    ManualClock clock;
    ASIMaster master;
    EXPECT_EQ(master.bank(), 8);
    EXPECT_EQ(master.enabled(), 0);
    EXPECT_NE(master.readAnalog(0), master.readAnalog(0)) << "random until started on bank 0";

    master.writeOutput(CONTROL, 0, 1);
    master.writeOutput(CONTROL, 4, 1);
    master.writeOutput(CONTROL, 3, 0);
    EXPECT_EQ(master.bank(), 0x11);
    master.writeOutput(CONTROL, 5, 1); // not a bank bit
    master.writeOutput(CONTROL, 6, 1);
    master.writeOutput(1, 0, 1); // no such byte
    EXPECT_EQ(master.bank(), 0x11);

    master.writeOutput(CONTROL, ENABLE, 1);
    EXPECT_EQ(master.enabled(), 1);
    EXPECT_EQ(master.online(), 0) << "online only after a bus cycle";
}

TEST(ASIMasterControl, StatusBitIsOnlineAndClearsAtOnceOnStop) {
    ManualClock clock;
    ASIMaster master;
    start(master);
    cycleUntilOnline(master);
    EXPECT_EQ(master.readInput(0, 1), 1);
    EXPECT_EQ(master.readInput(0, 0), 0);
    EXPECT_EQ(master.readInput(1, 1), 0);

    master.writeOutput(CONTROL, ENABLE, 0);
    EXPECT_EQ(master.readInput(0, 1), 0);
    master.busCycle();
    EXPECT_EQ(master.online(), 0) << "a stopped master stays offline";
}

TEST(ASIMasterData, OnlyEvenChannelsUpTo14OnBankZeroWhileOnlineReachTheWords) {
    ManualClock clock;
    ASIMaster master;
    start(master);
    cycleUntilOnline(master);

    master.writeAnalog(4, 0x1234);
    EXPECT_EQ(master.outputData()[2], 0x1234);
    for (int channel : {1, 3, 15}) {
        master.writeAnalog(channel, 0xFFFF);
        seedRandom(99);
        const auto expected = static_cast<std::uint16_t>(nextRandom() & 0xFFFF);
        seedRandom(99);
        EXPECT_EQ(master.readAnalog(channel), expected) << "channel " << channel << " reads the random source";
    }
    EXPECT_EQ(master.outputData()[0], 0);
    EXPECT_EQ(master.outputData()[1], 0);
    EXPECT_EQ(master.outputData()[7], 0);

    master.writeOutput(CONTROL, 0, 1); // bank 1
    master.writeAnalog(4, 0x5555);
    EXPECT_EQ(master.outputData()[2], 0x1234) << "writes are lost outside bank 0";
}

TEST(ASIMasterExchange, NibblesSitByAddress) {
    ManualClock clock;
    ASIMaster master;
    DigitalASI a1(1), a3(3), a4(4), a31(31);
    for (DigitalASI* s : {&a1, &a3, &a4, &a31}) master.registerSlave(*s);
    a1.setInput(0, true);  // 0x1
    a3.setInput(1, true);  // 0x2
    a4.setInput(2, true);  // 0x4
    a31.setInput(3, true); // 0x8
    start(master);
    cycleUntilOnline(master);
    master.writeAnalog(0, 0x0A05);  // address 1: 0xA, address 3: 0x5
    master.writeAnalog(2, 0x3000);  // address 4
    master.writeAnalog(14, 0x0009); // address 31
    cycleUntilOnline(master);

    EXPECT_EQ(master.readAnalog(0), 0x0102);
    EXPECT_EQ(master.readAnalog(2), 0x4000);
    EXPECT_EQ(master.readAnalog(14), 0x0008);
    for (int channel : {4, 6, 8, 10, 12}) EXPECT_EQ(master.readAnalog(channel), 0) << "empty addresses read 0";

    EXPECT_EQ(outputNibble(a1), 0xA);
    EXPECT_EQ(outputNibble(a3), 0x5);
    EXPECT_EQ(outputNibble(a4), 0x3);
    EXPECT_EQ(outputNibble(a31), 0x9);
    EXPECT_EQ(master.slave(2), nullptr);
    EXPECT_EQ(master.slave(31), &a31);
}

TEST(ASIMasterExchange, SlavesAtInvalidAddressesAreRefused) {
    ASIMaster master;
    DigitalASI zero(0), high(32);
    EXPECT_THROW(master.registerSlave(zero), std::out_of_range);
    EXPECT_THROW(master.registerSlave(high), std::out_of_range);
}

std::vector<int> onlineSequence(std::uint32_t seed, int cycles) {
    seedRandom(seed);
    ASIMaster master;
    start(master);
    std::vector<int> online;
    for (int i = 0; i < cycles; ++i) {
        master.busCycle();
        online.push_back(master.online());
    }
    return online;
}

TEST(ASIMasterCycle, OfflinePhasesLastTwoToFiveCyclesAndRepeatUnderASeed) {
    ManualClock clock;
    const std::vector<int> online = onlineSequence(1234, 4000);
    EXPECT_EQ(online.front(), 1) << "the first cycle after start exchanges";
    EXPECT_EQ(online, onlineSequence(1234, 4000));

    std::set<int> offlineLengths;
    int run = 0;
    for (std::size_t i = 1; i < online.size(); ++i) {
        if (online[i] == 0) ++run;
        if (online[i] == 1 && run > 0) {
            offlineLengths.insert(run);
            run = 0;
        }
    }
    EXPECT_EQ(offlineLengths, (std::set<int>{2, 3, 4, 5}));
}

} // namespace
