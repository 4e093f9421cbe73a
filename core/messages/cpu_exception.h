#pragma once

#include <string>
#include <string_view>

#include "messages/message_key.h"

namespace sps {

// The one error object of the simulator. It carries the finished German text
// (ISO-8859-1 bytes) and nothing else: key, line number and values are already
// part of the text when it is thrown.
class CPUException {
public:
    explicit CPUException(std::string text) : text_(std::move(text)) {}

    const std::string& messageText() const noexcept { return text_; }

private:
    std::string text_;
};

// Throws the catalog text of `key`.
[[noreturn]] void throwMessage(MessageKey key);

// `format` (printf placeholders) filled with the given values, as long as it
// needs to be.
std::string formatText(const char* format, ...);

// Formats the catalog text of `key` (which holds printf placeholders) with the
// given values.
template <class... Values> std::string formatMessage(MessageKey key, Values... values) {
    return formatText(key.text(), values...);
}

} // namespace sps
