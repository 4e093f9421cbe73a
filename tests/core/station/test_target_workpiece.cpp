#include <gtest/gtest.h>

#include "support/station_bench.h"

using namespace sps;

namespace {

constexpr int AT_EJECTOR = 520000;
constexpr int AWAY = 0;

// The workpiece handling as the controller sees it: A1.1 written through the
// bus, E1.0 read back, the ejector moved through slave 7.
class Workpiece : public ::testing::Test {
protected:
    StationBench bench;
    Target& t = bench.target;

    void setA11(int on) { bench.bus->writeOutput(1, 1, on); }
    int inputE10() { return bench.bus->readInput(1, 0); }
    void ejectTo(int pos) {
        t.slave7().setOutput(2, true);
        bench.step(static_cast<std::uint32_t>(pos / 100));
        t.slave7().setOutput(2, false);
    }

    void SetUp() override { t.togglePartFlag(Target::PART_EJECTABLE); }
};

TEST_F(Workpiece, ArrivesAtTheEjectorAndIsRemovedByA11) {
    bench.at(AT_EJECTOR);
    EXPECT_EQ(t.partAtEjector(), 1);
    EXPECT_EQ(t.partState(), 2);
    EXPECT_EQ(inputE10(), 1) << "E1.0 follows the state of the previous step";
    bench.step(0);
    EXPECT_EQ(inputE10(), 0);
    EXPECT_EQ(t.magnetShown(), 2);

    setA11(1);
    bench.step(0);
    EXPECT_EQ(t.partState(), 0);
    EXPECT_EQ(t.partFlags() & 1u, 0u) << "the workpiece is gone";
    EXPECT_EQ(t.syncShownPartFlags(), 0) << "its box was never shown checked";
    bench.step(0);
    EXPECT_EQ(t.partAtEjector(), 0);
    EXPECT_EQ(inputE10(), 1);
    EXPECT_EQ(t.partState(), 1) << "A1.1 on without a workpiece";
}

TEST_F(Workpiece, PushedOutByTheEjectorThenReleased) {
    EXPECT_EQ(t.syncShownPartFlags(), 1);
    bench.at(AT_EJECTOR);
    ejectTo(8000);
    EXPECT_EQ(t.partState(), 2);
    setA11(1);
    bench.step(0);
    EXPECT_EQ(t.partState(), 3);
    EXPECT_EQ(t.magnetShown(), 1) << "the magnet lets go once pushed";
    EXPECT_EQ(t.partFlags() & 1u, 1u);

    setA11(0);
    bench.step(0);
    EXPECT_EQ(t.partState(), 2);
    setA11(1);
    bench.step(0);
    EXPECT_EQ(t.partState(), 3);
    bench.at(AWAY);
    EXPECT_EQ(t.partState(), 0);
}

TEST_F(Workpiece, EjectorAt7999StillRemovesThePart) {
    t.syncShownPartFlags(); // "auswerfbar" shown checked
    bench.at(AT_EJECTOR);
    ejectTo(7900);
    setA11(1);
    bench.step(0);
    EXPECT_EQ(t.partState(), 0);
    EXPECT_EQ(t.partFlags() & 1u, 0u);
    EXPECT_EQ(t.syncShownPartFlags(), 1) << "the check box is to be cleared";
}

TEST_F(Workpiece, AwaitedPartArrivingWithA11OffWaitsAtTheEjector) {
    setA11(1);
    bench.step(0);
    EXPECT_EQ(t.partState(), 1);
    setA11(0);
    bench.at(AT_EJECTOR);
    EXPECT_EQ(t.partState(), 2);

    bench.at(AWAY);
    EXPECT_EQ(t.partState(), 0) << "the carrier took it away";
    setA11(1);
    bench.step(0);
    setA11(0);
    bench.step(0);
    EXPECT_EQ(t.partState(), 0) << "A1.1 off without a part goes back to idle";
}

TEST_F(Workpiece, ArrivingWithA11OnIsRemovedInTheSameStep) {
    setA11(1);
    bench.at(AT_EJECTOR);
    EXPECT_EQ(t.partState(), 0);
    EXPECT_EQ(t.partFlags() & 1u, 0u);
}

} // namespace
