#pragma once

// The station's own state, one list of fields: the members, the Target's
// getters and the named dump of stationFields are all generated from it.

#include <array>
#include <cstdint>
#include <type_traits>

namespace sps {

inline constexpr int STATION_SWITCHES = 8;
inline constexpr int STATION_LEDS = 8;
inline constexpr int STATION_BUTTONS = 4;

using SwitchStates = std::array<int, STATION_SWITCHES>;
using LedStates = std::array<int, STATION_LEDS>;
using ButtonStates = std::array<int, STATION_BUTTONS>;

// X(type, name) for each field, in the order of the dump.
#define SPS_STATION_FIELDS(X)                                                                                          \
    X(SwitchStates, switchIn)                                                                                          \
    X(int, inputE10)                                                                                                   \
    X(LedStates, ledOut)                                                                                               \
    X(int, outputA10)                                                                                                  \
    X(int, outputA11)                                                                                                  \
    X(ButtonStates, buttonIn)                                                                                          \
    X(float, joystickUp)                                                                                               \
    X(float, joystickRight)                                                                                            \
    X(float, analogValue)                                                                                              \
    X(float, carrierSpeed)                                                                                             \
    X(int, carrierPos)                                                                                                 \
    X(int, carrierDir)                                                                                                 \
    X(int, carrierDrive)                                                                                               \
    X(std::uint32_t, lastTime)                                                                                         \
    X(int, motionBlocked)                                                                                              \
    X(int, ejectorPos)                                                                                                 \
    X(int, sonarRange)                                                                                                 \
    X(int, partState)                                                                                                  \
    X(int, partAtEjector)                                                                                              \
    X(int, magnetShown)                                                                                                \
    X(int, kapShown)                                                                                                   \
    X(int, indShown)                                                                                                   \
    X(int, optShown)                                                                                                   \
    X(std::uint32_t, partFlags)

// How a getter hands out a field: numbers by value, arrays by reference.
template <class T> using FieldValue = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

struct StationState {
#define SPS_STATION_MEMBER(type, name) type name{};
    SPS_STATION_FIELDS(SPS_STATION_MEMBER)
#undef SPS_STATION_MEMBER
};

} // namespace sps
