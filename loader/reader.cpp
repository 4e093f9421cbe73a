#include "loader/reader.h"

#include <filesystem>
#include <system_error>

#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr int NO_PENDING = -2;

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

int FRead::readByte() {
    const int c = std::fgetc(file_.get());
    if (c == EOF) {
        if (std::ferror(file_.get()) != 0) throwNotFound(path_);
        return -1;
    }
    return c;
}

int FRead::nextChar() {
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

} // namespace sps
