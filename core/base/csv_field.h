#pragma once

#include <string>
#include <string_view>

namespace sps {

// One field of a comma-separated file: as it is, or in double quotes (each
// quote doubled) when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

} // namespace sps
