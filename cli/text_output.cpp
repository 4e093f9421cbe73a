#include "cli/text_output.h"

#include <fstream>
#include <ostream>

namespace sps {

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

std::string utf8ToLatin1(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            latin1.push_back(utf8[i]);
            continue;
        }
        const bool twoBytes = (byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size() &&
                              (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        if (twoBytes) {
            latin1.push_back(static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
            continue;
        }
        latin1.push_back('?');
        // Skip the continuation bytes of a longer character.
        while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
    }
    return latin1;
}

bool writeTextFile(const std::string& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

void Output::write(std::string_view utf8) {
    wrote_ = true;
    out_ << utf8;
    if (keepCopy_) copy_.append(utf8);
}

void Output::line(std::string_view utf8) {
    write(utf8);
    write("\n");
}

void Output::coreLine(std::string_view latin1) { line(latin1ToUtf8(latin1)); }

void Output::coreText(std::string_view latin1) { write(latin1ToUtf8(latin1)); }

bool Output::delivered() {
    // A stream that was unusable from the start fails only if it was needed.
    if (!wrote_) return true;
    out_.flush();
    return !out_.fail();
}

void Output::error(std::string_view utf8) {
    out_.flush();
    err_ << utf8 << '\n';
}

void Output::errorText(std::string_view utf8) {
    if (utf8.empty()) return;
    out_.flush();
    err_ << utf8;
}

} // namespace sps
