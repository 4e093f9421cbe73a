#include "station/fault_inputs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "messages/latin1.h"

namespace sps {

namespace {

using P = InputPlace;

// The station's inputs in the order the fault window lists them: the panel,
// then the slaves' bits by address, the analog channels, the drives, the slaves.
constexpr std::array INPUTS{
    FaultInput{"Swt0", P::Switch, 0, 0},
    FaultInput{"Swt1", P::Switch, 0, 1},
    FaultInput{"Swt2", P::Switch, 0, 2},
    FaultInput{"Swt3", P::Switch, 0, 3},
    FaultInput{"Swt4", P::Switch, 0, 4},
    FaultInput{"Swt5", P::Switch, 0, 5},
    FaultInput{"Swt6", P::Switch, 0, 6},
    FaultInput{"Swt7", P::Switch, 0, 7},
    FaultInput{"ElMag", P::StationBit, 1, 0},
    FaultInput{"Taste0", P::SlaveBit, 1, 0},
    FaultInput{"Taste1", P::SlaveBit, 1, 1},
    FaultInput{"Taste2", P::SlaveBit, 1, 2},
    FaultInput{"Taste3", P::SlaveBit, 1, 3},
    FaultInput{"EinLS", P::SlaveBit, 4, 0},
    FaultInput{"S4.D1", P::SlaveBit, 4, 1},
    FaultInput{"KapNS", P::SlaveBit, 4, 2},
    FaultInput{"OptNS", P::SlaveBit, 4, 3},
    FaultInput{"GlasLS", P::SlaveBit, 6, 0},
    FaultInput{"EndUnten", P::SlaveBit, 6, 1},
    FaultInput{"EndOben", P::SlaveBit, 6, 2},
    FaultInput{"S6.D3", P::SlaveBit, 6, 3},
    FaultInput{"ZylAus", P::SlaveBit, 7, 0},
    FaultInput{"ZylEin", P::SlaveBit, 7, 1},
    FaultInput{"S7.D2", P::SlaveBit, 7, 2},
    FaultInput{"S7.D3", P::SlaveBit, 7, 3},
    FaultInput{"IndNS", P::SlaveBit, 8, 0},
    FaultInput{"IndMitte", P::SlaveBit, 8, 1},
    FaultInput{"S8.D2", P::SlaveBit, 8, 2},
    FaultInput{"S8.D3", P::SlaveBit, 8, 3},
    FaultInput{"Bereich1", P::SlaveBit, 9, 0},
    FaultInput{"Bereich2", P::SlaveBit, 9, 1},
    FaultInput{"Bereich3", P::SlaveBit, 9, 2},
    FaultInput{"S9.D3", P::SlaveBit, 9, 3},
    FaultInput{"JoyHoch", P::SlaveChannel, 3, 0},
    FaultInput{"JoyRechts", P::SlaveChannel, 3, 1},
    FaultInput{"ZylWert", P::SlaveChannel, 5, 0},
    FaultInput{"Sonar", P::SlaveChannel, 5, 1},
    FaultInput{"Schlitten", P::CarrierDrive, 0, 0},
    FaultInput{"Zylinder", P::EjectorDrive, 0, 0},
    FaultInput{"Slave1", P::Slave, 1, 0},
    FaultInput{"Slave2", P::Slave, 2, 0},
    FaultInput{"Slave3", P::Slave, 3, 0},
    FaultInput{"Slave4", P::Slave, 4, 0},
    FaultInput{"Slave5", P::Slave, 5, 0},
    FaultInput{"Slave6", P::Slave, 6, 0},
    FaultInput{"Slave7", P::Slave, 7, 0},
    FaultInput{"Slave8", P::Slave, 8, 0},
    FaultInput{"Slave9", P::Slave, 9, 0},
};
// The fault table marks its inputs in one 64-bit word.
static_assert(INPUTS.size() <= 64);
static_assert(INPUTS[FIRST_SWITCH_ROW].place == P::Switch && INPUTS[FIRST_SWITCH_ROW + 7].index == 7);
static_assert(INPUTS[STATION_BIT_ROW].place == P::StationBit);
static_assert(INPUTS[JOYSTICK_UP_ROW].address == 3 && INPUTS[JOYSTICK_UP_ROW].index == 0);
static_assert(INPUTS[JOYSTICK_RIGHT_ROW].address == 3 && INPUTS[JOYSTICK_RIGHT_ROW].index == 1);
static_assert(INPUTS[EJECTOR_VALUE_ROW].address == 5 && INPUTS[EJECTOR_VALUE_ROW].index == 0);
static_assert(INPUTS[SONAR_ROW].address == 5 && INPUTS[SONAR_ROW].index == 1);
static_assert(INPUTS[CARRIER_DRIVE_ROW].place == P::CarrierDrive);
static_assert(INPUTS[EJECTOR_DRIVE_ROW].place == P::EjectorDrive);

constexpr std::array KINDS{
    FaultKindInfo{FaultKind::StuckLow, InputClass::Digital, "klemmt", "klemmt auf 0", 1},
    FaultKindInfo{FaultKind::StuckHigh, InputClass::Digital, "klemmt", "klemmt auf 1", 1},
    FaultKindInfo{FaultKind::Bounce, InputClass::Digital, "prellt", "prellt", 2},
    FaultKindInfo{FaultKind::Delay, InputClass::Digital, L1("verzögert"), L1("verzögert"), 1},
    FaultKindInfo{FaultKind::Noise, InputClass::Analog, "rauschen", "Rauschen", 1},
    FaultKindInfo{FaultKind::Offset, InputClass::Analog, "versatz", "Versatz", 1},
    FaultKindInfo{FaultKind::DriveBlocked, InputClass::Drive, "blockiert", "Antrieb blockiert", 0},
    FaultKindInfo{FaultKind::SlaveLost, InputClass::Slave, "ausgefallen", "Slave ausgefallen", 0},
};

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// "S<a>.D<d>" / "S<a>.K<c>" of row `row`, for the rows that carry a label.
std::string busName(const FaultInput& input) {
    const char letter = input.place == P::SlaveBit ? 'D' : 'K';
    return "S" + std::to_string(input.address) + "." + letter + std::to_string(input.index);
}

int rowWhere(InputPlace place, int address, int index) {
    for (std::size_t row = 0; row < INPUTS.size(); ++row) {
        const FaultInput& input = INPUTS[row];
        if (input.place == place && input.address == address && input.index == index) return static_cast<int>(row);
    }
    return -1;
}

} // namespace

std::span<const FaultInput> faultInputs() { return INPUTS; }

std::span<const FaultKindInfo> faultKinds() { return KINDS; }

const FaultKindInfo& kindInfo(FaultKind kind) { return KINDS[static_cast<std::size_t>(kind)]; }

InputClass inputClass(const FaultInput& input) {
    switch (input.place) {
    case P::Switch:
    case P::StationBit:
    case P::SlaveBit: return InputClass::Digital;
    case P::SlaveChannel: return InputClass::Analog;
    case P::CarrierDrive:
    case P::EjectorDrive: return InputClass::Drive;
    case P::Slave: break;
    }
    return InputClass::Slave;
}

int findFaultInput(std::string_view name) {
    for (std::size_t row = 0; row < INPUTS.size(); ++row) {
        const FaultInput& input = INPUTS[row];
        const bool onBus = input.place == P::SlaveBit || input.place == P::SlaveChannel;
        if (sameName(name, input.name) || (onBus && sameName(name, busName(input)))) return static_cast<int>(row);
    }
    return -1;
}

std::vector<int> faultInputsNamed(std::string_view name) {
    if (sameName(name, "joystick")) return {slaveChannelRow(3, 0), slaveChannelRow(3, 1)};
    const int row = findFaultInput(name);
    if (row < 0) return {};
    return {row};
}

int slaveBitRow(int address, int d) { return rowWhere(P::SlaveBit, address, d); }
int slaveChannelRow(int address, int c) { return rowWhere(P::SlaveChannel, address, c); }
int slaveRow(int address) { return rowWhere(P::Slave, address, 0); }

std::string faultInputNames() {
    std::string names;
    for (const FaultInput& input : INPUTS) {
        if (input.place == P::Slave) continue;
        names.append(names.empty() ? "" : ", ").append(input.name);
    }
    return names + L1(", joystick, S<Adresse>.D<Bit>, S<Adresse>.K<Kanal>, slave 1 bis 9");
}

std::string faultKindWords(InputClass fits) {
    std::string words;
    for (const FaultKindInfo& info : KINDS) {
        if (info.fits != fits || info.kind == FaultKind::StuckHigh) continue;
        std::string word = info.word;
        if (info.kind == FaultKind::StuckLow) word += " 0|1";
        if (info.kind == FaultKind::Bounce) word += " [N [M]]";
        if (info.kind == FaultKind::Delay) word += " T";
        if (info.kind == FaultKind::Noise || info.kind == FaultKind::Offset) word += " N";
        words.append(words.empty() ? "" : ", ").append(word);
    }
    return words;
}

} // namespace sps
