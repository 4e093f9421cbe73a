// Faults on the station's inputs as the CPU and the AS-i master receive them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "messages/cpu_exception.h"
#include "station/fault_words.h"
#include "support/fault_of.h"
#include "support/station_bench.h"

using namespace sps;

namespace {

constexpr int ASI_BYTE = 2;

class StationFaults : public ::testing::Test {
protected:
    StationBench bench;
    Target& t = bench.target;
    IOBus& bus = *bench.bus;

    void startAsi() { bench.startAsi(); }
    // Steps until the master is online, so that the next input nibbles are fresh.
    void stepOnline() {
        for (int i = 0; i < 20; ++i) {
            bench.step(1);
            if (t.asiMaster().online() != 0) return;
        }
        FAIL() << "master never online";
    }
};

TEST_F(StationFaults, StuckSwitchReadsItsValueWhateverTheSwitch) {
    t.setFault(faultOn("Swt3", FaultKind::StuckHigh));
    EXPECT_EQ(bus.readInput(0, 3), 1);
    t.toggleSwitch(3);
    EXPECT_EQ(bus.readInput(0, 3), 1);
    t.setFault(faultOn("Swt3", FaultKind::StuckLow));
    EXPECT_EQ(bus.readInput(0, 3), 0);
    EXPECT_EQ(t.switchIn()[3], 1) << "the station's own switch stands as the user set it";
    t.clearFault(findFaultInput("Swt3"));
    EXPECT_EQ(bus.readInput(0, 3), 1);
}

// After a change the input toggles N more times, M ms apart, then settles.
TEST_F(StationFaults, BounceTimingOnTheManualClock) {
    struct Case {
        int bounces, interval;
        std::vector<int> expected; // E0.0 at 0, 1, 2, ... ms after switching on
    };
    const std::vector<Case> cases{
        {3, 2, {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1}},
        {1, 3, {1, 1, 1, 0, 0, 0, 1, 1}},
        {2, 1, {1, 0, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bounces) + " x " + std::to_string(c.interval));
        t.clearFaults();
        if (t.switchIn()[0] != 0) t.toggleSwitch(0);
        t.setFault(faultOn("Swt0", FaultKind::Bounce, c.bounces, c.interval));
        bench.step(5);
        t.toggleSwitch(0);
        for (std::size_t ms = 0; ms < c.expected.size(); ++ms) {
            EXPECT_EQ(bus.readInput(0, 0), c.expected[ms]) << ms << " ms";
            bench.step(1);
        }
    }
}

TEST_F(StationFaults, DelayedInputFollowsLate) {
    t.setFault(faultOn("Swt1", FaultKind::Delay, 20));
    t.toggleSwitch(1);
    bench.step(19);
    EXPECT_EQ(bus.readInput(0, 1), 0);
    bench.step(1);
    EXPECT_EQ(bus.readInput(0, 1), 1);
    // A short pulse comes through whole, just as late.
    t.toggleSwitch(1);
    bench.step(5);
    t.toggleSwitch(1);
    bench.step(15);
    EXPECT_EQ(bus.readInput(0, 1), 0);
    bench.step(5);
    EXPECT_EQ(bus.readInput(0, 1), 1);
}

TEST_F(StationFaults, SlaveInputFaultReachesTheMasterOnly) {
    startAsi();
    t.setFault(faultOn("EndOben", FaultKind::StuckLow));
    stepOnline();
    stepOnline();
    EXPECT_EQ(t.slave6().input(2), 1) << "the carrier is at the top";
    EXPECT_EQ((t.asiMaster().inputNibble(6) >> 2) & 1, 0);
    t.clearFaults();
    stepOnline();
    stepOnline();
    EXPECT_EQ((t.asiMaster().inputNibble(6) >> 2) & 1, 1);
}

TEST_F(StationFaults, LostSlaveIsMissingInTheMastersStatus) {
    startAsi();
    t.toggleButton(0);
    stepOnline();
    stepOnline();
    EXPECT_EQ(bus.readInput(ASI_BYTE, ASIMaster::CONFIG_ERROR_BIT), 0);
    ASSERT_EQ(t.asiMaster().inputNibble(1), 1);
    t.slave4().setOutput(2, true);
    Fault lost;
    lost.input = slaveRow(4);
    lost.kind = FaultKind::SlaveLost;
    t.setFault(lost);
    lost.input = slaveRow(1);
    t.setFault(lost);
    stepOnline();
    stepOnline();
    EXPECT_EQ(t.asiMaster().missingSlaves(), (1u << 1) | (1u << 4));
    EXPECT_EQ(bus.readInput(ASI_BYTE, ASIMaster::CONFIG_ERROR_BIT), 1);
    EXPECT_EQ(t.asiMaster().inputNibble(1), 0) << "its inputs read 0";
    EXPECT_EQ(t.slave4().output(2), 0) << "its watchdog switched its outputs off";
    t.clearFaults();
    stepOnline();
    stepOnline();
    EXPECT_EQ(t.asiMaster().missingSlaves(), 0u);
    EXPECT_EQ(t.asiMaster().inputNibble(1), 1);
}

TEST_F(StationFaults, AnalogNoiseStaysWithinItsAmplitudeAndOffsetAdds) {
    t.setJoystick(0, -33); // up: channel 0 = 87
    const int up = t.analogIn3().channel(0);
    t.setFault(faultOn("JoyHoch", FaultKind::Noise, 5));
    std::vector<int> seen;
    for (int i = 0; i < 200; ++i) {
        bench.step(10);
        seen.push_back(t.analogIn3().channel(0));
        EXPECT_LE(std::abs(seen.back() - up), 5);
    }
    EXPECT_GT(std::ranges::count_if(seen, [&](int v) { return v != up; }), 100);
    t.setFault(faultOn("Sonar", FaultKind::Offset, -100));
    bench.step(10);
    EXPECT_EQ(t.analogIn5().channel(1), 699 - 100);
    t.clearFaults();
    EXPECT_EQ(t.analogIn3().channel(0), up) << "clearing gives the knob's own value back at once";
}

TEST_F(StationFaults, BlockedDrivesDoNotMove) {
    t.setFault(faultOn("Schlitten", FaultKind::DriveBlocked));
    t.setFault(faultOn("Zylinder", FaultKind::DriveBlocked));
    t.slave4().setOutput(2, true);
    t.slave4().setOutput(3, true);
    t.slave7().setOutput(2, true);
    bench.step(500);
    EXPECT_EQ(t.carrierPos(), 0);
    EXPECT_EQ(t.ejectorPos(), 0);
    t.clearFaults();
    bench.step(500);
    EXPECT_GT(t.carrierPos(), 0);
    EXPECT_GT(t.ejectorPos(), 0);
}

TEST_F(StationFaults, EveryChangeOfTheTableCountsAsAUserChange) {
    const auto before = t.userChanges();
    t.setFault(faultOn("Swt0", FaultKind::StuckHigh));
    t.clearFault(findFaultInput("Swt0"));
    t.clearFaults();
    EXPECT_EQ(t.userChanges(), before + 3);
}

TEST(FaultWords, NamesKindsAndNumbers) {
    struct Case {
        std::vector<std::string> words;
        std::string listing; // the faults' lines, or the start of the error
    };
    const std::vector<Case> cases{
        {{"Swt0", "klemmt", "1"}, "Swt0 klemmt auf 1"},
        {{"swt0", "klemmt", "0"}, "Swt0 klemmt auf 0"},
        {{"Taste0", "prellt"}, "Taste0 prellt 3 mal alle 2 ms"},
        {{"Taste0", "prellt", "5", "1"}, "Taste0 prellt 5 mal alle 1 ms"},
        {{"S6.D1", "verzoegert", "40"}, "EndUnten verz\xF6gert um 40 ms"},
        {{"slave", "3", "ausgefallen"}, "Slave 3 ausgefallen"},
        {{"joystick", "rauschen", "20"},
         "JoyHoch Rauschen \xB1"
         "20|JoyRechts Rauschen \xB1"
         "20"},
        {{"S5.K1", "versatz", "-7"}, "Sonar Versatz -7"},
        {{"Zylinder", "blockiert"}, "Zylinder Antrieb blockiert"},
        {{"Swt8", "klemmt", "1"}, "Einen Eingang 'Swt8'"},
        {{"Swt0"}, "F\xFCr Swt0 fehlt"},
        {{"Swt0", "rauschen", "3"}, "Die St\xF6rung 'rauschen' gibt es f\xFCr Swt0 nicht"},
        {{"Swt0", "klemmt"}, "Die St\xF6rung 'klemmt' braucht"},
        {{"Swt0", "klemmt", "2"}, "Die St\xF6rung 'klemmt' braucht"},
        {{"Taste1", "prellt", "0"}, "Die St\xF6rung 'prellt' braucht"},
        {{"Taste1", "prellt", "3", "x"}, "Die St\xF6rung 'prellt' braucht"},
        {{"Sonar", "rauschen", "4096"}, "Die St\xF6rung 'rauschen' braucht"},
        {{"slave", "10", "ausgefallen"}, "Nach 'slave'"},
        {{"Schlitten", "blockiert", "1"}, "F\xFCr die St\xF6rung 'blockiert' sind zu viele"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words[0] + (c.words.size() > 1 ? " " + c.words[1] : ""));
        std::string listing;
        try {
            for (const Fault& fault : faultsFromWords(c.words))
                listing += (listing.empty() ? "" : "|") + faultText(fault);
        } catch (const CPUException& error) {
            listing = error.messageText();
        }
        EXPECT_EQ(listing.substr(0, c.listing.size()), c.listing) << listing;
    }
}

TEST(FaultWords, CheckRefusesAKindThatDoesNotFitItsInput) {
    EXPECT_THROW(checkFault(faultOn("Swt0", FaultKind::Noise, 3)), CPUException);
    EXPECT_THROW(checkFault(faultOn("Sonar", FaultKind::Bounce, 3, 2)), CPUException);
    EXPECT_THROW(checkFault(faultOn("EinLS", FaultKind::Delay, 0)), CPUException);
    Fault outside;
    outside.input = 64;
    EXPECT_THROW(checkFault(outside), CPUException);
    EXPECT_NO_THROW(checkFault(faultOn("EinLS", FaultKind::Delay, 60000)));
}

} // namespace
