#include "base/writer.h"

#include <charconv>
#include <cmath>

namespace sps {

void Writer::putString(const char* text) {
    if (text == nullptr) return;
    while (*text != '\0') putChar(*text++);
}

void Writer::putNumber(int base, std::uint32_t value) {
    static constexpr char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (base < 2 || base > 36) base = 10;
    char buffer[33];
    int pos = 32;
    buffer[pos] = '\0';
    do {
        buffer[--pos] = digits[value % static_cast<std::uint32_t>(base)];
        value /= static_cast<std::uint32_t>(base);
    } while (value != 0);
    putString(buffer + pos);
}

void Writer::putUnsigned(std::uint32_t value) { putNumber(10, value); }

// As "%d" gives it, without the cost of a format string.
void Writer::putInt(std::int32_t value) {
    char buffer[16]{};
    const char* const end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (const char* c = buffer; c != end; ++c) putChar(*c);
}

// Formatted as "%+G" in the C locale whatever locale the process runs in
// (a window toolkit may switch to the user's, which would print a decimal
// comma that the operand syntax cannot read back).
void Writer::putReal(float value) {
    const double widened = value;
    char buffer[64];
    char* text = buffer;
    if (!std::signbit(widened)) *text++ = '+';
    const auto result = std::to_chars(text, buffer + sizeof buffer - 1, widened, std::chars_format::general, 6);
    *result.ptr = '\0';
    for (char* c = buffer; *c != '\0'; ++c) {
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
    putString(buffer);
}

void LineBoundedWriter::putChar(char c) {
    if (full_) return;
    if (text_.size() >= maxBytes_) {
        text_.resize(lineStart_);
        full_ = true;
        return;
    }
    text_.push_back(c);
    if (c != '\n') return;
    ++lines_;
    lineStart_ = text_.size();
    full_ = lines_ >= maxLines_;
}

} // namespace sps
