#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sps {

class Target;

// The station's state as (name, text) pairs in the order of its fields, the
// AS-i master and slaves left out: bits as 0/1, arrays as their digits from
// index 0, floats with three decimals, integers in decimal.
std::vector<std::pair<std::string, std::string>> stationFields(const Target& target);

} // namespace sps
