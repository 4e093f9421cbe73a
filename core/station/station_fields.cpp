#include "station/station_fields.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "station/target.h"

namespace sps {

namespace {

// Arrays as their digits from index 0, floats with three decimals ("%.3f"
// without the locale's decimal separator), integers in decimal.
template <std::size_t N> std::string fieldText(const std::array<int, N>& values) {
    std::string text;
    for (int value : values) text += std::to_string(value);
    return text;
}

std::string fieldText(float value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 3);
    return std::string(buffer.data(), result.ptr);
}

std::string fieldText(int value) { return std::to_string(value); }
std::string fieldText(std::uint32_t value) { return std::to_string(value); }

} // namespace

std::vector<std::pair<std::string, std::string>> stationFields(const Target& target) {
    const StationState& state = target.state();
    return {
#define SPS_STATION_FIELD_TEXT(type, name) {#name, fieldText(state.name)},
        SPS_STATION_FIELDS(SPS_STATION_FIELD_TEXT)
#undef SPS_STATION_FIELD_TEXT
    };
}

} // namespace sps
