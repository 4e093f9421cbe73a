#include "shell/station_fields.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "shell/target.h"

namespace sps {

namespace {

template <std::size_t N> std::string digits(const std::array<int, N>& values) {
    std::string text;
    for (int value : values) text += std::to_string(value);
    return text;
}

// "%.3f" without the locale's decimal separator.
std::string threeDecimals(float value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 3);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::vector<std::pair<std::string, std::string>> stationFields(const Target& t) {
    return {
        {"switchIn", digits(t.switchIn())},
        {"inputE10", std::to_string(t.inputE10())},
        {"ledOut", digits(t.ledOut())},
        {"outputA10", std::to_string(t.outputA10())},
        {"outputA11", std::to_string(t.outputA11())},
        {"buttonIn", digits(t.buttonIn())},
        {"joystickUp", threeDecimals(t.joystickUp())},
        {"joystickRight", threeDecimals(t.joystickRight())},
        {"analogValue", threeDecimals(t.analogValue())},
        {"carrierSpeed", threeDecimals(t.carrierSpeed())},
        {"carrierPos", std::to_string(t.carrierPos())},
        {"carrierDir", std::to_string(t.carrierDir())},
        {"carrierDrive", std::to_string(t.carrierDrive())},
        {"lastTime", std::to_string(t.lastTime())},
        {"motionBlocked", std::to_string(t.motionBlocked())},
        {"ejectorPos", std::to_string(t.ejectorPos())},
        {"sonarRange", std::to_string(t.sonarRange())},
        {"partState", std::to_string(t.partState())},
        {"partAtEjector", std::to_string(t.partAtEjector())},
        {"magnetShown", std::to_string(t.magnetShown())},
        {"kapShown", std::to_string(t.kapShown())},
        {"indShown", std::to_string(t.indShown())},
        {"optShown", std::to_string(t.optShown())},
        {"partFlags", std::to_string(t.partFlags())},
    };
}

} // namespace sps
