#include "cli/xml_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace sps {

namespace {

constexpr std::string_view REPLACEMENT = "\xEF\xBF\xBD"; // U+FFFD

// The lead bytes of the multi-byte UTF-8 sequences: their range, the length
// of the sequence, the bits of the lead byte that belong to the character, and
// the smallest character of that length (anything below is overlong).
struct LeadByte {
    std::uint8_t first;
    std::uint8_t last;
    std::size_t length;
    std::uint8_t bits;
    std::uint32_t smallest;
};
constexpr std::array LEAD_BYTES{
    LeadByte{0xC2, 0xDF, 2, 0x1F, 0x80},
    LeadByte{0xE0, 0xEF, 3, 0x0F, 0x800},
    LeadByte{0xF0, 0xF4, 4, 0x07, 0x10000},
};

bool isXmlCharacter(std::uint32_t code) {
    if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
    return !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

// The length of the well-formed UTF-8 sequence at the start of `text` if it
// encodes a character that XML allows, otherwise 0.
std::size_t xmlCharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    if (byte(0) < 0x80) return isXmlCharacter(byte(0)) ? 1 : 0;
    const auto lead = std::find_if(LEAD_BYTES.begin(), LEAD_BYTES.end(),
                                   [&](const LeadByte& l) { return byte(0) >= l.first && byte(0) <= l.last; });
    if (lead == LEAD_BYTES.end() || text.size() < lead->length) return 0;
    std::uint32_t code = byte(0) & lead->bits;
    for (std::size_t i = 1; i < lead->length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    return code >= lead->smallest && isXmlCharacter(code) ? lead->length : 0;
}

std::string escaped(std::string_view utf8, bool attribute) {
    std::string xml;
    xml.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t length = xmlCharacterLength(utf8.substr(i));
        if (length == 0) {
            // One byte at a time, so that a broken sequence costs one
            // replacement character and the text after it survives.
            xml.append(REPLACEMENT);
            ++i;
            continue;
        }
        const char c = utf8[i];
        switch (c) {
        case '&': xml.append("&amp;"); break;
        case '<': xml.append("&lt;"); break;
        case '>': xml.append("&gt;"); break;
        case '"': xml.append(attribute ? "&quot;" : "\""); break;
        case '\r': xml.append("&#13;"); break;
        case '\n': xml.append(attribute ? "&#10;" : "\n"); break;
        case '\t': xml.append(attribute ? "&#9;" : "\t"); break;
        default: xml.append(utf8.substr(i, length));
        }
        i += length;
    }
    return xml;
}

} // namespace

std::string xmlText(std::string_view utf8) { return escaped(utf8, false); }

std::string xmlAttribute(std::string_view utf8) { return escaped(utf8, true); }

} // namespace sps
