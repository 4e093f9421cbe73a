#pragma once

#include <cstddef>

namespace sps {

// Compile-time conversion of a UTF-8 string literal into ISO-8859-1 bytes, so
// that texts are written readably in the sources and stored as the one-byte
// umlauts that the rest of the system expects.
template <std::size_t N> struct Latin1Literal {
    char data[N]{};

    consteval Latin1Literal(const char (&utf8)[N]) {
        std::size_t out = 0;
        for (std::size_t in = 0; in < N && utf8[in] != '\0';) {
            const auto lead = static_cast<unsigned char>(utf8[in]);
            if (lead < 0x80) {
                data[out++] = static_cast<char>(lead);
                in += 1;
            } else if ((lead & 0xE0) == 0xC0 && lead <= 0xC3) {
                const auto trail = static_cast<unsigned char>(utf8[in + 1]);
                data[out++] = static_cast<char>(((lead & 0x1F) << 6) | (trail & 0x3F));
                in += 2;
            } else {
                throw "character outside ISO-8859-1";
            }
        }
    }
};

template <Latin1Literal Text> inline constexpr auto latin1Storage = Text;

// L1("Zähler") is a `const char*` to the ISO-8859-1 bytes of the text.
#define L1(utf8) (latin1Storage<Latin1Literal(utf8)>.data)

} // namespace sps
