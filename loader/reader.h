#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace sps {

// A source of single characters for the scanner.
class Reader {
public:
    virtual ~Reader() = default;

    // The next byte of input (0..255), or -1 at the end of input. Once the end
    // is reached every further call answers -1 again.
    virtual int nextChar() = 0;
};

// Reads a program file. A CR LF pair arrives as one LF, as a text-mode read
// would give it; a lone CR stays a CR.
class FRead final : public Reader {
public:
    // Opens the file; throws "File %s not found\n" with the path when it is
    // missing, unreadable or a directory.
    explicit FRead(const std::string& path);

    // Throws "File %s not found\n" when reading fails part-way, so that a
    // damaged file is never taken for a shorter one.
    int nextChar() override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    int readByte();

    std::string path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
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

private:
    std::string text_;
    std::size_t position_ = 0;
};

} // namespace sps
