#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "base/writer.h"

using namespace sps;

namespace {

template <typename Write> std::string written(Write&& write) {
    StringWriter writer;
    write(writer);
    return writer.text();
}

TEST(Writer, WritesNumbersInAnyBaseAsUnsigned) {
    struct Case {
        int base;
        std::uint32_t value;
        const char* text;
    };
    const Case cases[] = {
        {16, 255, "FF"},
        {2, 0, "0"},
        {2, 5, "101"},
        {10, 0, "0"},
        {10, static_cast<std::uint32_t>(-5), "4294967291"},
        {16, 0xFFFFFFFFu, "FFFFFFFF"},
        {2, 0x80000000u, "10000000000000000000000000000000"},
        {36, 35, "Z"},
        {36, 36, "10"},
        {8, 8, "10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written([&](Writer& w) { w.putNumber(c.base, c.value); }), c.text)
            << "base " << c.base << " value " << c.value;
    }
}

TEST(Writer, WritesDecimalIntegers) {
    EXPECT_EQ(written([](Writer& w) { w.putUnsigned(4294967295u); }), "4294967295");
    EXPECT_EQ(written([](Writer& w) { w.putInt(-5); }), "-5");
    EXPECT_EQ(written([](Writer& w) { w.putInt(std::numeric_limits<std::int32_t>::min()); }), "-2147483648");
    EXPECT_EQ(written([](Writer& w) { w.putInt(0); }), "0");
}

TEST(Writer, WritesRealsWithSignAndSixSignificantDigits) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {1.5f, "+1.5"},   {0.0f, "+0"},           {-0.0f, "-0"},        {-2.5f, "-2.5"},   {1000.0f, "+1000"},
        {1e6f, "+1E+06"}, {123456.0f, "+123456"}, {0.0001f, "+0.0001"}, {1e-5f, "+1E-05"}, {1.0f / 3, "+0.333333"},
        {inf, "+INF"},    {-inf, "-INF"},
    };
    for (const Case& c : cases) EXPECT_EQ(written([&](Writer& w) { w.putReal(c.value); }), c.text) << c.text;
    EXPECT_EQ(written([](Writer& w) { w.putReal(std::numeric_limits<float>::quiet_NaN()); }), "+NAN");
}

TEST(Writer, WritesRealsWithADecimalPointWhateverTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE.ISO-8859-1"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            commaLocale = name;
            break;
        }
    }
    if (commaLocale == nullptr) GTEST_SKIP() << "no German locale installed";
    const std::string text = written([](Writer& w) { w.putReal(1.5f); });
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(text, "+1.5") << commaLocale;
}

TEST(Writer, IgnoresAMissingText) {
    EXPECT_EQ(written([](Writer& w) { w.putString(nullptr); }), "");
    EXPECT_EQ(written([](Writer& w) {
                  w.putString("ab");
                  w.putString(static_cast<const char*>(nullptr));
                  w.putString("c");
              }),
              "abc");
}

TEST(StringWriter, GrowsOneCharacterAtATime) {
    StringWriter writer;
    EXPECT_EQ(writer.text(), "");
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        writer.putChar(c);
        expected.push_back(c);
    }
    EXPECT_EQ(writer.text().size(), 1000u);
    EXPECT_EQ(writer.text(), expected);
    EXPECT_EQ(writer.takeText(), expected);
}

// The base class's putString, reached through a writer that only has putChar.
class PutCharOnlyWriter final : public Writer {
public:
    void putChar(char c) override { text.push_back(c); }
    std::string text;
};

TEST(Writer, FormattedOutputGoesThroughPutChar) {
    PutCharOnlyWriter writer;
    writer.putString("E0.");
    writer.putNumber(16, 0xFF);
    writer.putInt(-1);
    writer.putReal(2.0f);
    EXPECT_EQ(writer.text, "E0.FF-1+2");
}

TEST(LineBoundedWriter, KeepsWholeLinesUpToEitherBound) {
    struct Case {
        std::size_t maxLines;
        std::size_t maxBytes;
        std::string written;
        std::string kept;
        bool full;
    };
    const Case cases[] = {
        {3, 100, "a\nbb\nc", "a\nbb\nc", false}, {2, 100, "a\nbb\nccc\n", "a\nbb\n", true},
        {9, 6, "a\nbb\nccc\n", "a\nbb\n", true}, // the line that passes the byte bound is dropped whole
        {9, 5, "a\nbb\n", "a\nbb\n", false},     // exactly at the byte bound
        {9, 5, "a\nbb\nx", "a\nbb\n", true},
    };
    for (const Case& c : cases) {
        LineBoundedWriter writer(c.maxLines, c.maxBytes);
        writer.putString(c.written);
        EXPECT_EQ(writer.text(), c.kept) << c.written;
        EXPECT_EQ(writer.full(), c.full) << c.written;
    }
    EXPECT_FALSE(StringWriter().full());
}

} // namespace
