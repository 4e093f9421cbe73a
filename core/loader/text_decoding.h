#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sps {

// A text file as the import reads it: UTF-8 when all of it is valid UTF-8
// (a byte-order mark at its start is dropped), Windows-1252 otherwise. The
// import works on the UTF-8 text, so that names in any script stay apart,
// and turns names and comments into the simulator's ISO-8859-1 bytes only
// when it stores them.
struct DecodedText {
    std::string utf8;
    bool wasUtf8 = false;
};

DecodedText decodeText(std::string_view bytes);

// Whether `bytes` are valid UTF-8 (no overlong forms, no surrogates, nothing
// beyond U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Valid UTF-8 as ISO-8859-1: a character that ISO-8859-1 lacks (and the C1
// controls) becomes "?", counted in `replaced`.
std::string latin1Of(std::string_view utf8, std::size_t& replaced);

} // namespace sps
