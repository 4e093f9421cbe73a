#pragma once

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

} // namespace sps
