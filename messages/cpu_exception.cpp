#include "messages/cpu_exception.h"

#include <cstdarg>
#include <cstdio>

#include "messages/message_catalog.h"

namespace sps {

void throwMessage(const char* key) { throw CPUException(lookupMessage(key)); }

std::string formatMessage(const char* key, ...) {
    const char* format = lookupMessage(key);
    va_list args;
    va_start(args, key);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text;
}

} // namespace sps
