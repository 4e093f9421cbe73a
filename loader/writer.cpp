#include "loader/writer.h"

#include <cstdio>

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

void Writer::putInt(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    putString(buffer);
}

void Writer::putReal(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%+G", static_cast<double>(value));
    putString(buffer);
}
