#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sps {

// Where a faultable input of the station sits: what the station hands over at
// that place is what a fault changes.
enum class InputPlace : std::uint8_t {
    Switch,       // CPU input E0.index, switch "Swt<index>"
    StationBit,   // CPU input E1.0
    SlaveBit,     // input bit D<index> of digital slave <address>
    SlaveChannel, // channel <index> of analog input slave <address>
    CarrierDrive, // the carrier's drive
    EjectorDrive, // the ejector cylinder's drive
    Slave,        // the whole slave <address>
};

// One row of the station's faultable inputs. `name` is the label of the
// station drawing where there is one, else the slave and bit ("S4.D1").
struct FaultInput {
    const char* name;
    InputPlace place;
    int address;
    int index;
};

// The kinds of fault, in the order the fault window offers them. As wide as
// the other fields of a Fault, so that a Fault has no padding bytes: the scan
// history compares its bytes.
enum class FaultKind : std::int32_t { StuckLow, StuckHigh, Bounce, Delay, Noise, Offset, DriveBlocked, SlaveLost };

// The class of input a kind fits.
enum class InputClass : std::uint8_t { Digital, Analog, Drive, Slave };

// A kind as the commands name it and as the listings show it.
struct FaultKindInfo {
    FaultKind kind;
    InputClass fits;
    const char* word;  // the command's word; "klemmt" serves both stuck kinds
    const char* shown; // the German name shown in the listing and the window
    int arguments;     // how many numbers follow the word
};

// The rows the station's step reads with one bit test (checked against the
// table where it is defined).
inline constexpr int FIRST_SWITCH_ROW = 0;
inline constexpr int STATION_BIT_ROW = 8;
inline constexpr int JOYSTICK_UP_ROW = 33;
inline constexpr int JOYSTICK_RIGHT_ROW = 34;
inline constexpr int EJECTOR_VALUE_ROW = 35;
inline constexpr int SONAR_ROW = 36;
inline constexpr int CARRIER_DRIVE_ROW = 37;
inline constexpr int EJECTOR_DRIVE_ROW = 38;

// Every faultable input; a row's index is its number in the fault table.
std::span<const FaultInput> faultInputs();
// Every kind, in the order of FaultKind.
std::span<const FaultKindInfo> faultKinds();
const FaultKindInfo& kindInfo(FaultKind kind);
InputClass inputClass(const FaultInput& input);

// The row of `name` (case ignored; also "S<a>.D<d>", "S<a>.K<c>" and
// "Slave<a>"), -1 when there is none.
int findFaultInput(std::string_view name);
// The rows a name stands for: one, or both joystick channels for "joystick".
std::vector<int> faultInputsNamed(std::string_view name);
// The row of input bit d of slave `address`, of channel c of an analog input
// slave, of the slave itself; -1 when the station has none there.
int slaveBitRow(int address, int d);
int slaveChannelRow(int address, int c);
int slaveRow(int address);

// The names of the inputs (grouped) and of the kinds, for error texts.
std::string faultInputNames();
std::string faultKindWords(InputClass fits);

} // namespace sps
