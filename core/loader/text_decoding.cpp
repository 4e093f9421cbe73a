#include "loader/text_decoding.h"

#include <array>
#include <cstdint>

namespace sps {

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Windows-1252 at 0x80..0x9F; 0 where it has no character.
constexpr std::array<std::uint16_t, 32> WINDOWS_1252_HIGH{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The length of the UTF-8 sequence that starts at `at` and its code point,
// or 0 when no valid sequence starts there.
std::size_t sequenceAt(std::string_view bytes, std::size_t at, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t trail = byte(at + i);
        if ((trail & 0xC0) != 0x80) return 0;
        codePoint = codePoint << 6 | (trail & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    const auto put = [&](std::uint32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | codePoint >> 6);
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xE0 | codePoint >> 12);
        put(0x80 | (codePoint >> 6 & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::uint32_t codePoint = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = sequenceAt(bytes, at, codePoint);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

DecodedText decodeText(std::string_view bytes) {
    const bool marked = bytes.starts_with(BYTE_ORDER_MARK);
    if (marked) bytes.remove_prefix(BYTE_ORDER_MARK.size());
    DecodedText text;
    if (isValidUtf8(bytes)) {
        text.utf8 = std::string(bytes);
        text.wasUtf8 = true;
        return text;
    }
    text.utf8.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        std::uint32_t codePoint = byte;
        if (byte >= 0x80 && byte <= 0x9F) {
            codePoint = WINDOWS_1252_HIGH[byte - 0x80u];
            if (codePoint == 0) codePoint = byte;
        }
        appendUtf8(text.utf8, codePoint);
    }
    return text;
}

std::string latin1Of(std::string_view utf8, std::size_t& replaced) {
    std::string text;
    text.reserve(utf8.size());
    std::uint32_t codePoint = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = sequenceAt(utf8, at, codePoint);
        if (length == 0) {
            length = 1;
            codePoint = 0xFFFD;
        }
        at += length;
        if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100)) {
            text.push_back(static_cast<char>(codePoint));
        } else {
            text.push_back('?');
            ++replaced;
        }
    }
    return text;
}

} // namespace sps
