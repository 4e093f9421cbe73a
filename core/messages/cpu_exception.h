#pragma once

#include <string>
#include <string_view>

#include "messages/message_key.h"

namespace sps {

// The one error object of the simulator. It carries the finished German text
// (ISO-8859-1 bytes): key, line number and values are already part of the
// text when it is thrown. An error in a program file also carries the line it
// stands on, for the editors that mark it.
class CPUException {
public:
    explicit CPUException(std::string text, int line = 0) : text_(std::move(text)), line_(line) {}

    const std::string& messageText() const noexcept { return text_; }
    // The line of the program file the error stands on; 0 when it names none.
    int line() const noexcept { return line_; }

private:
    std::string text_;
    int line_ = 0;
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
