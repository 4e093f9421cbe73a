#include "loader/reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

[[noreturn]] void throwNoRegularFile(const std::string& path) {
    throw CPUException(formatMessage("File %s is no regular file", path.c_str()));
}

} // namespace

PathKind pathKind(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return PathKind::Missing;
    if (std::filesystem::is_regular_file(status)) return PathKind::RegularFile;
    if (std::filesystem::is_directory(status)) return PathKind::Folder;
    return PathKind::Other;
}

FRead::FRead(const std::string& path) : path_(path) {
    switch (pathKind(path_)) {
    case PathKind::Missing: throwNotFound(path_);
    case PathKind::Folder: throw CPUException(formatMessage("Path %s is a folder", path_.c_str()));
    case PathKind::Other: throwNoRegularFile(path_);
    case PathKind::RegularFile: break;
    }
    // The path may have been replaced by a pipe since it was looked at: the
    // open does not wait, and what it opened is looked at again.
    const int descriptor = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) throwNotFound(path_);
    struct stat opened {};
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(descriptor);
        throwNoRegularFile(path_);
    }
    // Reads of a regular file never wait, with or without O_NONBLOCK.
    file_.reset(::fdopen(descriptor, "rb"));
    if (!file_) {
        ::close(descriptor);
        throwNotFound(path_);
    }
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
