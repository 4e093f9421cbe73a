#pragma once

#include <cstdint>

namespace sps {

// The width of a data access or of a box's data: byte, word or double word.
// Reals are double words.
enum class Width : std::uint8_t { Byte, Word, Dword };

constexpr int widthBytes(Width w) { return w == Width::Byte ? 1 : w == Width::Word ? 2 : 4; }

} // namespace sps
