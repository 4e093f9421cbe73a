#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "asi/analog_slaves.h"
#include "asi/asi_master.h"
#include "asi/asi_slave.h"
#include "cpu/io.h"
#include "station/fault_table.h"
#include "station/station_state.h"

namespace sps {

class StateArchive;

// The simulated station. Towards the CPU it is bus device 0: input byte 0 the
// switches, input bit 1.0 the magnet signal, output byte 0 the LEDs, output
// bits 1.0 and 1.1. Most of the station hangs on the AS-i bus, whose master
// and nine slaves it owns: the step's physics reads the actuator bits the
// slaves received and writes the sensor bits and analog values they send.
//
// Positions: the carrier runs from 0 (top, 26.0 cm) to 2000000 (bottom), the
// ejector from 0 (retracted) to 10000 (extended).
class Target final : public IO, private ASIFaultLine {
public:
    static constexpr int SWITCHES = STATION_SWITCHES;
    static constexpr int LEDS = STATION_LEDS;
    static constexpr int BUTTONS = STATION_BUTTONS;
    static constexpr int PART_PROPERTIES = 5;
    static constexpr int SONAR_RANGES = 4;
    static constexpr int CARRIER_MAX = 2000000;
    static constexpr int EJECTOR_MAX = 10000;
    static constexpr int JOYSTICK_LIMIT = 66;

    // Workpiece properties (bits of partFlags).
    static constexpr int PART_EJECTABLE = 0;
    static constexpr int PART_GLASS_VISIBLE = 1;
    static constexpr int PART_INDUCTIVE = 2;
    static constexpr int PART_CAPACITIVE = 3;
    static constexpr int PART_OPTICAL = 4;

    Target();
    ~Target() override;
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    // Bus device operations.
    int readInput(int byte, int bit) override;
    int inputBytes() override { return 2; }
    void writeOutput(int byte, int bit, int value) override;
    int outputBytes() override { return 2; }

    // A bus whose device 0 is the station and device 1 its AS-i master. The
    // bus refers to both; the station must outlive it.
    std::unique_ptr<IOBus> createBus();

    // One step after a scan: the AS-i bus cycle, then the station's physics
    // for the time since the previous step.
    void plantStep();

    // Moves the carrier by v * dt * 7 position units (dt at most 1000 ms),
    // unless the entry light barrier blocks it.
    void moveCarrier(std::uint32_t dt, float v);

    // What the drawing shows: input signals 0..7 switches, 8..11 buttons;
    // output signals 0..7 LEDs, 8 A1.0, 9..12 the lamps on slave 1. 0 for
    // any other n.
    int inputSignal(int n) const;
    int outputSignal(int n) const;

    // User operations. Out-of-range arguments are ignored.
    void toggleSwitch(int k);
    void toggleButton(int k);
    void toggleEntryBarrier();
    void nudgeCarrier(bool up);
    void setJoystick(int dx, int dy);
    void moveJoystick(int ddx, int ddy);
    void centreJoystick();
    void togglePartFlag(int b);
    void selectSonarRange(int r);
    // Puts the carrier at `pos` (limited to 0..2000000): for test benches.
    void placeCarrier(int pos);
    // Counts the user operations above (not the steps), so that the scan
    // history notices a change from outside between two scans.
    std::uint64_t userChanges() const { return userChanges_; }
    // The station's state for the scan history: its fields, the knob, the
    // AS-i master and every slave.
    void visitState(StateArchive& archive);

    // Faults on the station's inputs. They belong to the station: a CPU reset
    // or a load keeps them. Each change counts as a user operation. setFault
    // throws CPUException when the fault does not fit its input.
    void setFault(const Fault& fault);
    void clearFault(int input);
    void clearFaults();
    const FaultTable& faults() const { return faults_; }

    // The workpiece check boxes show a copy of partFlags. Brings the copy in
    // line and returns the property bits that changed (each box to set to
    // its bit's new value).
    int syncShownPartFlags();
    std::uint32_t shownPartFlags() const { return shownPartFlags_; }

    // The joystick knob's offset in pixels, each -66..66, on or inside the
    // circle of radius 66.
    int joystickDx() const { return joystickDx_; }
    int joystickDy() const { return joystickDy_; }
    // The "EinLS" toggle; always equal to motionBlocked.
    bool entryBarrierToggle() const { return entryBarrierToggle_; }

    ASIMaster& asiMaster() { return *asiMaster_; }
    const ASIMaster& asiMaster() const { return *asiMaster_; }
    DigitalASI& slave1() { return *slave1_; }
    DigitalASI& slave4() { return *slave4_; }
    DigitalASI& slave6() { return *slave6_; }
    DigitalASI& slave7() { return *slave7_; }
    DigitalASI& slave8() { return *slave8_; }
    DigitalASI& slave9() { return *slave9_; }
    AnalogInASI& analogIn3() { return *analogIn3_; }
    AnalogInASI& analogIn5() { return *analogIn5_; }
    AnalogOutASI& analogOut2() { return *analogOut2_; }
    const DigitalASI& slave1() const { return *slave1_; }
    const DigitalASI& slave4() const { return *slave4_; }
    const DigitalASI& slave6() const { return *slave6_; }
    const DigitalASI& slave7() const { return *slave7_; }
    const DigitalASI& slave8() const { return *slave8_; }
    const DigitalASI& slave9() const { return *slave9_; }
    const AnalogInASI& analogIn3() const { return *analogIn3_; }
    const AnalogInASI& analogIn5() const { return *analogIn5_; }
    const AnalogOutASI& analogOut2() const { return *analogOut2_; }

    // The station's state, and a getter for each of its fields.
    const StationState& state() const { return state_; }
#define SPS_STATION_GETTER(type, name)                                                                                 \
    FieldValue<type> name() const { return state_.name; }
    SPS_STATION_FIELDS(SPS_STATION_GETTER)
#undef SPS_STATION_GETTER

private:
    bool partFlag(int b) const { return ((state_.partFlags >> b) & 1u) != 0; }
    void applyJoystick();
    void driveCarrier(std::uint32_t dt);
    void senseCarrier();
    void moveEjector(std::uint32_t dt);
    void stepWorkpiece();
    void sendJoystickChannels();
    void sendAnalog(AnalogInASI& slave, int row, int c, int value) {
        slave.setChannel(c, faults_.has(row) ? faults_.analog(row, value) : value);
    }
    // The faults' share of a step, before the bus cycle.
    void stepFaults(std::uint32_t now);
    void faultsChanged();
    void installFaultLine();
    DigitalASI* digitalSlave(int address) const;
    int physicalValue(int input) const;
    bool answers(int address) override;
    int arriving(int address, int answer) override;

    StationState state_;
    // The master first: the slaves are destroyed before it.
    std::unique_ptr<ASIMaster> asiMaster_;
    std::unique_ptr<DigitalASI> slave1_;
    std::unique_ptr<DigitalASI> slave4_;
    std::unique_ptr<DigitalASI> slave6_;
    std::unique_ptr<DigitalASI> slave7_;
    std::unique_ptr<DigitalASI> slave8_;
    std::unique_ptr<DigitalASI> slave9_;
    std::unique_ptr<AnalogInASI> analogIn3_;
    std::unique_ptr<AnalogInASI> analogIn5_;
    std::unique_ptr<AnalogOutASI> analogOut2_;
    FaultTable faults_;

    // State of the user interface beside the station.
    int joystickDx_ = 0;
    int joystickDy_ = 0;
    std::uint32_t shownPartFlags_ = 0;
    bool entryBarrierToggle_ = false;
    std::uint64_t userChanges_ = 0;
};

} // namespace sps
