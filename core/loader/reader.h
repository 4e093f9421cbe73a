#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace sps {

// A source of single characters for the scanner.
class Reader {
public:
    virtual ~Reader() = default;

    // The next byte of input (0..255), or -1 at the end of input. Once the end
    // is reached every further call answers -1 again.
    virtual int nextChar() = 0;
    // The next bytes of input, as many as nextChar would give up to `size`:
    // how many were stored, 0 at the end. For the scanner, which takes its
    // input in blocks.
    virtual int read(char* buffer, int size);
};

// What a path names, found without opening it: opening a named pipe waits
// for a writer, possibly for ever, and opening a device may do something to
// the device.
enum class PathKind { Missing, RegularFile, Folder, Other };

PathKind pathKind(const std::string& path);

// Reads a program file. A CR LF pair arrives as one LF, as a text-mode read
// would give it; a lone CR stays a CR.
class FRead final : public Reader {
public:
    // Opens the file; throws "File %s not found\n" with the path when it is
    // missing or unreadable, "Path %s is a folder" for a folder and "File %s
    // is no regular file" for anything else that is not a regular file (a
    // pipe, a device, a socket), which is never opened.
    explicit FRead(const std::string& path);

    // Throws "File %s not found\n" when reading fails part-way, so that a
    // damaged file is never taken for a shorter one.
    int nextChar() override { return take(); }
    int read(char* buffer, int size) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    int take();
    int readByte() {
        if (position_ == filled_) refill();
        return position_ < filled_ ? static_cast<unsigned char>(block_[position_++]) : -1;
    }
    void refill();

    std::string path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> block_; // the file is read a block at a time
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    int pending_ = -2; // a byte read ahead after a CR; -2 when there is none
};

// Reads from a text in memory (tests and tools).
class StringRead final : public Reader {
public:
    explicit StringRead(std::string text) : text_(std::move(text)) {}

    int nextChar() override {
        if (position_ >= text_.size()) return -1;
        return static_cast<unsigned char>(text_[position_++]);
    }
    int read(char* buffer, int size) override;

private:
    std::string text_;
    std::size_t position_ = 0;
};

} // namespace sps
