#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sps {

// The one text sink: operand names and values, instruction texts, trace lines
// and ladder labels are all written through it.
class Writer {
public:
    virtual ~Writer() = default;

    virtual void putChar(char c) = 0;
    // Writes each character through putChar; a null text writes nothing.
    virtual void putString(const char* text);
    void putString(const std::string& text) { putString(text.c_str()); }
    // The value in `base` (2..36), most significant digit first, no leading zeros.
    virtual void putNumber(int base, std::uint32_t value);
    virtual void putUnsigned(std::uint32_t value);
    virtual void putInt(std::int32_t value);
    // "%+G" of the value widened to double.
    virtual void putReal(float value);

    // True once a bounded writer takes no more text; whoever writes much text
    // piece by piece asks first and saves itself the formatting.
    virtual bool full() const { return false; }
};

// A growing text in memory; the user takes the text over when done.
class StringWriter final : public Writer {
public:
    void putChar(char c) override { text_.push_back(c); }
    void putString(const char* text) override {
        if (text != nullptr) text_.append(text);
    }
    using Writer::putString;

    const std::string& text() const { return text_; }
    std::string takeText() { return std::move(text_); }

private:
    std::string text_;
};

// A text in memory that keeps whole lines up to a number of lines and of
// bytes. The line that would pass the byte bound, and everything written after
// either bound was reached, is dropped; full() then answers true.
class LineBoundedWriter final : public Writer {
public:
    LineBoundedWriter(std::size_t maxLines, std::size_t maxBytes) : maxLines_(maxLines), maxBytes_(maxBytes) {}

    void putChar(char c) override;
    bool full() const override { return full_; }

    // Whole lines only once full, each ended by its line feed.
    const std::string& text() const { return text_; }
    // The line feeds kept.
    std::size_t lineCount() const { return lines_; }

private:
    std::size_t maxLines_;
    std::size_t maxBytes_;
    std::string text_;
    std::size_t lines_ = 0;
    std::size_t lineStart_ = 0; // where the unfinished line begins
    bool full_ = false;
};

} // namespace sps
