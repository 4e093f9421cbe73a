#include <gtest/gtest.h>

#include <string>

#include "cli/xml_text.h"

using namespace sps;

namespace {

constexpr std::string_view R = "\xEF\xBF\xBD"; // U+FFFD, what replaces anything XML cannot hold

std::string replaced(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.append(R);
    return text;
}

struct XmlCase {
    std::string input;
    std::string text;      // as character data
    std::string attribute; // as an attribute value
};

TEST(XmlText, EscapesMarkupAndReplacesWhatXmlCannotHold) {
    using namespace std::string_literals;
    const XmlCase cases[] = {
        {"a<b>&c", "a&lt;b&gt;&amp;c", "a&lt;b&gt;&amp;c"},
        {"]]>", "]]&gt;", "]]&gt;"},
        {"\"it's\"", "\"it's\"", "&quot;it's&quot;"},
        // Line breaks and tabs survive a parser: kept between tags, as
        // references in attributes; a carriage return always as a reference.
        {"x\ty\nz\r", "x\ty\nz&#13;", "x&#9;y&#10;z&#13;"},
        {"Grüße, Öl, 20 °C", "Grüße, Öl, 20 °C", "Grüße, Öl, 20 °C"},
        {"\xF0\x9F\x98\x80 \xEF\xBF\xBD \x7F", "\xF0\x9F\x98\x80 \xEF\xBF\xBD \x7F",
         "\xF0\x9F\x98\x80 \xEF\xBF\xBD \x7F"},
        // Control characters, NUL included.
        {"a\x01"
         "b\0c"s,
         "a" + replaced(1) + "b" + replaced(1) + "c", "a" + replaced(1) + "b" + replaced(1) + "c"},
        // Bytes that are not UTF-8 cost one replacement each, and what follows survives.
        {"Gr\xFCn", "Gr" + replaced(1) + "n", "Gr" + replaced(1) + "n"},
        {"\xC3(", replaced(1) + "(", replaced(1) + "("},
        {"end\xC3", "end" + replaced(1), "end" + replaced(1)},
        {"\x80\xBF", replaced(2), replaced(2)},
        // Overlong forms, surrogates, U+FFFE and U+FFFF, beyond U+10FFFF.
        {"\xC0\x80<", replaced(2) + "&lt;", replaced(2) + "&lt;"},
        {"\xE0\x80\x80", replaced(3), replaced(3)},
        {"\xED\xA0\x80", replaced(3), replaced(3)},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", replaced(6), replaced(6)},
        {"\xF4\x90\x80\x80", replaced(4), replaced(4)},
        {"\xF5\x80\x80\x80", replaced(4), replaced(4)},
    };
    for (const XmlCase& c : cases) {
        EXPECT_EQ(xmlText(c.input), c.text) << c.input;
        EXPECT_EQ(xmlAttribute(c.input), c.attribute) << c.input;
    }
}

} // namespace
