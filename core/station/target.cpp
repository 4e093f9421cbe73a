#include "station/target.h"

#include <algorithm>

#include "base/sim_clock.h"
#include "base/state_archive.h"

namespace sps {

namespace {

constexpr float NUDGE_SPEED = 10.0f;
constexpr std::uint32_t NUDGE_TIME_MS = 1000;
// The joystick's analog value is its deflection (-0.5..0.5) in units of 1/350.
constexpr float JOYSTICK_SCALE = 132.0f;
constexpr float JOYSTICK_UNIT = 1.0f / 350.0f;

bool inRange(int k, int count) { return k >= 0 && k < count; }

int bitValue(int value) { return value != 0 ? 1 : 0; }

template <typename Slave> void attach(ASIMaster& master, std::unique_ptr<Slave>& slot, int address) {
    slot = std::make_unique<Slave>(address);
    master.registerSlave(*slot);
}

} // namespace

Target::Target() : asiMaster_(std::make_unique<ASIMaster>()) {
    attach(*asiMaster_, slave1_, 1);
    attach(*asiMaster_, analogIn3_, 3);
    attach(*asiMaster_, analogOut2_, 2);
    attach(*asiMaster_, slave4_, 4);
    attach(*asiMaster_, slave6_, 6);
    attach(*asiMaster_, slave7_, 7);
    attach(*asiMaster_, slave8_, 8);
    attach(*asiMaster_, slave9_, 9);
    attach(*asiMaster_, analogIn5_, 5);
    state_.lastTime = simTime();
    // The carrier's analog position before the first step.
    analogIn5_->setChannel(1, 700);
}

Target::~Target() = default;

// Faults act here and on the bus line: what the CPU reads, the station delivered.
int Target::readInput(int byte, int bit) {
    if (byte == 0 && inRange(bit, SWITCHES)) {
        const int value = state_.switchIn[static_cast<std::size_t>(bit)];
        const int row = FIRST_SWITCH_ROW + bit;
        return faults_.has(row) ? faults_.delivered(row, value, simTime()) : value;
    }
    if (byte == 1 && bit == 0)
        return faults_.has(STATION_BIT_ROW) ? faults_.delivered(STATION_BIT_ROW, state_.inputE10, simTime())
                                            : state_.inputE10;
    return 0;
}

void Target::writeOutput(int byte, int bit, int value) {
    if (byte == 0 && inRange(bit, LEDS))
        state_.ledOut[static_cast<std::size_t>(bit)] = bitValue(value);
    else if (byte == 1 && bit == 0)
        state_.outputA10 = bitValue(value);
    else if (byte == 1 && bit == 1)
        state_.outputA11 = bitValue(value);
}

std::unique_ptr<IOBus> Target::createBus() {
    auto bus = std::make_unique<IOBus>();
    bus->setDevice(0, this);
    bus->setDevice(1, asiMaster_.get());
    return bus;
}

int Target::inputSignal(int n) const {
    if (inRange(n, SWITCHES)) return state_.switchIn[static_cast<std::size_t>(n)];
    if (inRange(n - SWITCHES, BUTTONS)) return state_.buttonIn[static_cast<std::size_t>(n - SWITCHES)];
    return 0;
}

int Target::outputSignal(int n) const {
    if (inRange(n, LEDS)) return state_.ledOut[static_cast<std::size_t>(n)];
    if (n == LEDS) return state_.outputA10;
    if (inRange(n - LEDS - 1, DigitalASI::BITS)) return slave1_->output(n - LEDS - 1);
    return 0;
}

void Target::toggleSwitch(int k) {
    if (!inRange(k, SWITCHES)) return;
    ++userChanges_;
    int& sw = state_.switchIn[static_cast<std::size_t>(k)];
    sw = 1 - sw;
    if (faults_.has(FIRST_SWITCH_ROW + k)) faults_.observe(FIRST_SWITCH_ROW + k, sw, simTime());
}

// The buttons latch: a second press releases them.
void Target::toggleButton(int k) {
    if (!inRange(k, BUTTONS)) return;
    ++userChanges_;
    int& button = state_.buttonIn[static_cast<std::size_t>(k)];
    button = 1 - button;
    slave1_->setInput(k, button != 0);
}

void Target::toggleEntryBarrier() {
    ++userChanges_;
    entryBarrierToggle_ = !entryBarrierToggle_;
    state_.motionBlocked = entryBarrierToggle_ ? 1 : 0;
    slave4_->setInput(0, entryBarrierToggle_);
}

void Target::nudgeCarrier(bool up) {
    ++userChanges_;
    moveCarrier(NUDGE_TIME_MS, up ? -NUDGE_SPEED : NUDGE_SPEED);
}

void Target::placeCarrier(int pos) {
    ++userChanges_;
    state_.carrierPos = std::clamp(pos, 0, CARRIER_MAX);
}

void Target::setJoystick(int dx, int dy) {
    ++userChanges_;
    joystickDx_ = std::clamp(dx, -JOYSTICK_LIMIT, JOYSTICK_LIMIT);
    joystickDy_ = std::clamp(dy, -JOYSTICK_LIMIT, JOYSTICK_LIMIT);
    applyJoystick();
}

void Target::moveJoystick(int ddx, int ddy) {
    // Summed wide so that no step can overflow.
    const auto shifted = [](int offset, int delta) {
        return static_cast<int>(
            std::clamp<long long>(static_cast<long long>(offset) + delta, -JOYSTICK_LIMIT, JOYSTICK_LIMIT));
    };
    setJoystick(shifted(joystickDx_, ddx), shifted(joystickDy_, ddy));
}

void Target::centreJoystick() { setJoystick(0, 0); }

// Keeps the knob on or inside its circle by pulling only the horizontal offset
// towards the centre, then sets the deflections and slave 3's channels.
void Target::applyJoystick() {
    joystickDx_ = std::clamp(joystickDx_, -JOYSTICK_LIMIT, JOYSTICK_LIMIT);
    joystickDy_ = std::clamp(joystickDy_, -JOYSTICK_LIMIT, JOYSTICK_LIMIT);
    while (joystickDx_ * joystickDx_ + joystickDy_ * joystickDy_ > JOYSTICK_LIMIT * JOYSTICK_LIMIT)
        joystickDx_ += joystickDx_ >= 1 ? -1 : 1;
    state_.joystickUp = static_cast<float>(-joystickDy_) / JOYSTICK_SCALE;
    state_.joystickRight = static_cast<float>(joystickDx_) / JOYSTICK_SCALE;
    sendJoystickChannels();
}

void Target::sendJoystickChannels() {
    sendAnalog(*analogIn3_, JOYSTICK_UP_ROW, 0, static_cast<int>(state_.joystickUp / JOYSTICK_UNIT));
    sendAnalog(*analogIn3_, JOYSTICK_RIGHT_ROW, 1, static_cast<int>(state_.joystickRight / JOYSTICK_UNIT));
}

void Target::togglePartFlag(int b) {
    if (!inRange(b, PART_PROPERTIES)) return;
    ++userChanges_;
    state_.partFlags ^= 1u << b;
}

void Target::selectSonarRange(int r) {
    if (!inRange(r, SONAR_RANGES)) return;
    ++userChanges_;
    state_.sonarRange = r;
    for (int bit = 0; bit < SONAR_RANGES - 1; ++bit) slave9_->setInput(bit, bit == r - 1);
}

int Target::syncShownPartFlags() {
    const std::uint32_t changed = (state_.partFlags ^ shownPartFlags_) & ((1u << PART_PROPERTIES) - 1);
    shownPartFlags_ = state_.partFlags;
    return static_cast<int>(changed);
}

void Target::visitState(StateArchive& archive) {
    archive.value(state_);
    archive.value(joystickDx_);
    archive.value(joystickDy_);
    archive.value(entryBarrierToggle_);
    asiMaster_->visitState(archive);
    for (ASISlave* slave : std::initializer_list<ASISlave*>{slave1_.get(), slave4_.get(), slave6_.get(), slave7_.get(),
                                                           slave8_.get(), slave9_.get(), analogIn3_.get(),
                                                           analogIn5_.get(), analogOut2_.get()})
        slave->visitState(archive);
    faults_.visitState(archive);
    if (archive.reading()) installFaultLine();
}

} // namespace sps
