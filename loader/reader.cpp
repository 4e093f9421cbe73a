#include "loader/reader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr int NO_PENDING = -2;
constexpr std::size_t BLOCK_SIZE = 1 << 16;

[[noreturn]] void throwNotFound(const std::string& path) {
    throw CPUException(formatMessage("File %s not found\n", path.c_str()));
}

} // namespace

FRead::FRead(const std::string& path) : path_(path) {
    // A directory opens on some systems but cannot be read as a program.
    std::error_code error;
    if (std::filesystem::is_directory(path_, error)) throwNotFound(path_);
    file_.reset(std::fopen(path_.c_str(), "rb"));
    if (!file_) throwNotFound(path_);
}

int Reader::read(char* buffer, int size) {
    int count = 0;
    for (int c = 0; count < size && (c = nextChar()) >= 0;) buffer[count++] = static_cast<char>(c);
    return count;
}

void FRead::refill() {
    block_.resize(BLOCK_SIZE);
    position_ = 0;
    filled_ = std::fread(block_.data(), 1, block_.size(), file_.get());
    if (filled_ == 0 && std::ferror(file_.get()) != 0) throwNotFound(path_);
}

int FRead::take() {
    int c = pending_;
    if (c == NO_PENDING) {
        c = readByte();
    } else {
        pending_ = NO_PENDING;
    }
    if (c != '\r') return c;
    const int following = readByte();
    if (following == '\n') return '\n';
    pending_ = following; // may be -1: the end is then reported on the next call
    return '\r';
}

int FRead::read(char* buffer, int size) {
    int count = 0;
    for (int c = 0; count < size && (c = take()) >= 0;) buffer[count++] = static_cast<char>(c);
    return count;
}

int StringRead::read(char* buffer, int size) {
    const std::size_t count = std::min(text_.size() - position_, static_cast<std::size_t>(size > 0 ? size : 0));
    text_.copy(buffer, count, position_);
    position_ += count;
    return static_cast<int>(count);
}

} // namespace sps
