#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "support/station_bench.h"

using namespace sps;

namespace {

struct SensorCase {
    int pos;
    int detect;
    int centre;
    int shown;
};

class StationPhysics : public ::testing::Test {
protected:
    StationBench bench;
    Target& t = bench.target;

    void driveDown(bool down) {
        t.slave4().setOutput(2, true);
        t.slave4().setOutput(3, down);
    }
    void ejector(bool extend, bool retract) {
        t.slave7().setOutput(2, extend);
        t.slave7().setOutput(3, retract);
    }
};

TEST_F(StationPhysics, InductiveSensorWindowsAtTheirBoundaries) {
    t.togglePartFlag(Target::PART_INDUCTIVE);
    const SensorCase cases[] = {
        {1674616, 0, 1, 0}, {1674617, 0, 0, 0}, {1674618, 1, 0, 2}, {1712617, 1, 0, 2},
        {1712618, 1, 1, 1}, {1750617, 1, 1, 1}, {1788616, 1, 1, 1}, {1788617, 1, 0, 2},
        {1826616, 1, 0, 2}, {1826617, 0, 0, 0}, {1826618, 0, 1, 0},
    };
    for (const SensorCase& c : cases) {
        bench.at(c.pos);
        EXPECT_EQ(t.slave8().input(0), c.detect) << c.pos;
        EXPECT_EQ(t.slave8().input(1), c.centre) << c.pos;
        EXPECT_EQ(t.indShown(), c.shown) << c.pos;
        EXPECT_EQ(t.slave8().input(2), 1);
    }
    t.togglePartFlag(Target::PART_INDUCTIVE);
    bench.at(1750617);
    EXPECT_EQ(t.slave8().input(0), 0);
    EXPECT_EQ(t.slave8().input(1), 1);
    EXPECT_EQ(t.indShown(), 0);
}

struct WindowCase {
    const char* name;
    int flag; // -1: no workpiece property needed
    std::function<int(const Target&)> signal;
    int first; // first position at which the signal is 1
    int last;  // last position at which it is 1
};

TEST_F(StationPhysics, SensorAndEndSwitchWindowsAtTheirBoundaries) {
    const WindowCase windows[] = {
        {"KapNS", Target::PART_CAPACITIVE, [](const Target& s) { return s.slave4().input(2); }, 898626, 974624},
        {"kapShown", Target::PART_CAPACITIVE, [](const Target& s) { return s.kapShown(); }, 898626, 974624},
        {"OptNS", Target::PART_OPTICAL, [](const Target& s) { return s.slave4().input(3); }, 338955, 414953},
        {"optShown", Target::PART_OPTICAL, [](const Target& s) { return s.optShown(); }, 338955, 414953},
        {"atEjector", Target::PART_EJECTABLE, [](const Target& s) { return s.partAtEjector(); }, 500272, 576270},
        {"lower end", -1, [](const Target& s) { return s.slave6().input(1); }, 1924001, Target::CARRIER_MAX},
        {"upper end", -1, [](const Target& s) { return s.slave6().input(2); }, 0, 76999},
    };
    for (const WindowCase& w : windows) {
        if (w.flag >= 0) t.togglePartFlag(w.flag);
        for (int pos : {w.first - 1, w.first, w.last, w.last + 1}) {
            if (pos < 0 || pos > Target::CARRIER_MAX) continue;
            bench.at(pos);
            EXPECT_EQ(w.signal(t), pos >= w.first && pos <= w.last ? 1 : 0) << w.name << " at " << pos;
        }
        if (w.flag < 0) continue;
        t.togglePartFlag(w.flag);
        bench.at(w.first);
        EXPECT_EQ(w.signal(t), 0) << w.name << " without the workpiece property";
    }
}

TEST_F(StationPhysics, CarrierDrivesAtSeventyUnitsPerMillisecond) {
    driveDown(true);
    bench.step(100);
    EXPECT_EQ(t.carrierPos(), 7000);
    EXPECT_EQ(t.carrierDrive(), 1);
    EXPECT_EQ(t.carrierDir(), 1);
    driveDown(false);
    bench.step(30);
    EXPECT_EQ(t.carrierPos(), 4900);
    bench.step(1000);
    EXPECT_EQ(t.carrierPos(), 0) << "limited at the top";
}

TEST_F(StationPhysics, AnalogSpeedMovesOnlyAbove1Point8) {
    t.slave4().setOutput(3, true);
    bench.analogOut(1, 622); // 1.7998
    bench.step(100);
    EXPECT_EQ(t.carrierPos(), 0);
    bench.analogOut(1, 623); // 1.80266
    bench.step(100);
    EXPECT_NEAR(t.carrierSpeed(), 1.80266f, 1e-5f);
    EXPECT_EQ(t.carrierPos(), 1261);

    bench.analogOut(1, -2000);
    bench.analogOut(0, -1);
    bench.step(100);
    EXPECT_EQ(t.carrierSpeed(), 0.0f) << "negative speeds count as 0";
    EXPECT_EQ(t.analogValue(), 0.0f);
    EXPECT_EQ(t.carrierPos(), 1261);

    bench.analogOut(1, 4095);
    driveDown(false);
    bench.step(10);
    EXPECT_EQ(t.carrierPos(), 561) << "the fixed drive wins over the analog speed";
}

TEST_F(StationPhysics, LongPauseMovesCarrierOneSecondButEjectorAllTheWay) {
    driveDown(true);
    ejector(true, false);
    // 42949673 ms * 100 units wraps a 32-bit product to 4 units.
    bench.step(42949673);
    EXPECT_EQ(t.carrierPos(), 70000);
    EXPECT_EQ(t.ejectorPos(), Target::EJECTOR_MAX);
    ejector(false, true);
    bench.step(42949673);
    EXPECT_EQ(t.ejectorPos(), 0);
}

TEST_F(StationPhysics, EntryLightBarrierBlocksDriveAndNudges) {
    t.toggleEntryBarrier();
    EXPECT_EQ(t.slave4().input(0), 1);
    EXPECT_TRUE(t.entryBarrierToggle());
    driveDown(true);
    bench.step(100);
    t.nudgeCarrier(false);
    EXPECT_EQ(t.carrierPos(), 0);

    t.toggleEntryBarrier();
    EXPECT_EQ(t.motionBlocked(), 0);
    EXPECT_EQ(t.slave4().input(0), 0);
    t.nudgeCarrier(false);
    EXPECT_EQ(t.carrierPos(), 70000);
    t.nudgeCarrier(true);
    t.nudgeCarrier(true);
    EXPECT_EQ(t.carrierPos(), 0);
}

TEST_F(StationPhysics, EjectorTravelLimitsAndSignals) {
    bench.step(0);
    EXPECT_EQ(t.slave7().input(1), 1) << "retracted";
    EXPECT_EQ(t.slave7().input(0), 0);

    ejector(true, false);
    bench.step(50);
    EXPECT_EQ(t.ejectorPos(), 5000);
    EXPECT_EQ(t.analogIn5().channel(0), 1224);
    EXPECT_EQ(t.slave6().input(0), 0) << "GlasLS only beyond 5000";
    EXPECT_EQ(t.slave7().input(1), 0);
    bench.step(1);
    EXPECT_EQ(t.slave6().input(0), 1);
    bench.step(100);
    EXPECT_EQ(t.ejectorPos(), 10000);
    EXPECT_EQ(t.slave7().input(0), 1) << "extended";

    ejector(true, true);
    bench.step(20);
    EXPECT_EQ(t.ejectorPos(), 10000);
    EXPECT_EQ(t.analogIn5().channel(0), 0);
    ejector(false, true);
    bench.step(1);
    EXPECT_EQ(t.ejectorPos(), 9900);
    EXPECT_EQ(t.slave7().input(0), 0);
    bench.step(200);
    EXPECT_EQ(t.ejectorPos(), 0);
    EXPECT_EQ(t.slave7().input(1), 1);
    EXPECT_EQ(t.slave6().input(0), 0);

    t.togglePartFlag(Target::PART_GLASS_VISIBLE);
    bench.step(0);
    EXPECT_EQ(t.slave6().input(0), 1) << "a glass workpiece interrupts GlasLS";
}

TEST_F(StationPhysics, AnalogCarrierPosition) {
    EXPECT_EQ(t.analogIn5().channel(1), 700) << "before the first step";
    bench.step(0);
    EXPECT_EQ(t.analogIn5().channel(1), 699);
    bench.at(Target::CARRIER_MAX);
    EXPECT_EQ(t.analogIn5().channel(1), 3129);
}

TEST_F(StationPhysics, JoystickStaysInItsCircleByPullingDxIn) {
    t.setJoystick(10 - 88, 350 - 428); // a click at the field's top-left corner
    EXPECT_EQ(t.joystickDx(), 0);
    EXPECT_EQ(t.joystickDy(), -66);
    EXPECT_EQ(t.joystickUp(), 0.5f);
    EXPECT_EQ(t.analogIn3().channel(0), 175);
    EXPECT_EQ(t.analogIn3().channel(1), 0);

    t.setJoystick(-40, -60);
    EXPECT_EQ(t.joystickDx(), -27);
    EXPECT_EQ(t.joystickDy(), -60);
    t.moveJoystick(1, 0);
    EXPECT_EQ(t.joystickDx(), -26);

    t.setJoystick(66, 0);
    EXPECT_EQ(t.analogIn3().channel(1), 175);
    t.moveJoystick(-132, 10);
    EXPECT_EQ(t.joystickDx(), -65) << "pulled in because dy is 10";
    EXPECT_EQ(t.analogIn3().channel(1), -172);
    EXPECT_EQ(t.analogIn3().channel(0), -26);

    t.moveJoystick(INT_MAX, INT_MIN);
    EXPECT_EQ(t.joystickDx(), 0);
    EXPECT_EQ(t.joystickDy(), -66);
    t.centreJoystick();
    EXPECT_EQ(t.joystickDx(), 0);
    EXPECT_EQ(t.joystickDy(), 0);
    EXPECT_EQ(t.analogIn3().channel(0), 0);
}

} // namespace
