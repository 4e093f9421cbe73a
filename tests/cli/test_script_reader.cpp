#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/script_reader.h"

using namespace sps;

namespace {

using Status = ScriptReader::Status;
constexpr std::size_t MAX = ScriptReader::MAX_LINE_LENGTH;

struct Read {
    std::vector<std::string> lines;
    Status last = Status::End;
    int blocks = 0; // calls between blocks
};

Read readAll(std::istream& script) {
    Read read;
    ScriptReader reader(script, [&read] { ++read.blocks; });
    std::string line;
    while ((read.last = reader.next(line)) == Status::Line) read.lines.push_back(line);
    return read;
}

Read readAll(const std::string& text) {
    std::istringstream script(text);
    return readAll(script);
}

TEST(ScriptReader, SplitsLinesAndDropsAByteOrderMarkAtTheStartOnly) {
    const std::string mark = "\xEF\xBB\xBF";
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"a\nb\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"\n\n", {"", ""}},
        {"a\r\n", {"a\r"}},
        {mark + "load x\n", {"load x"}},
        {mark, {""}},
        {mark + "\n" + mark + "b\n", {"", mark + "b"}},
        {"\n" + mark + "b\n", {"", mark + "b"}},
        {"a " + mark + "\n", {"a " + mark}},
        {"\xEF\xBB"
         "a\n",
         {"\xEF\xBB"
          "a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const Read read = readAll(row.text);
        EXPECT_EQ(read.lines, row.lines);
        EXPECT_EQ(read.last, Status::End);
    }
}

TEST(ScriptReader, ALineMayHoldAMebibyteBesidesItsLineBreak) {
    const std::string longest(MAX, 'x');
    for (const std::string& text : {longest + "\nb", longest + "\r\nb", "\xEF\xBB\xBF" + longest}) {
        const Read read = readAll(text);
        EXPECT_EQ(read.last, Status::End);
        ASSERT_EQ(read.lines.size(), text.back() == 'b' ? 2u : 1u);
        EXPECT_EQ(read.lines[0].substr(0, MAX), longest) << "the mark is not counted";
        EXPECT_GE(read.blocks, 15) << "the line came in blocks";
    }
    for (const std::string& text : {longest + "x", longest + "x\n", longest + "\r\r\n"}) {
        EXPECT_EQ(readAll(text).last, Status::TooLong);
    }
}

// A script without any line break (a file of zeros, an endless generator)
// is given up after its first mebibyte, not read into memory whole.
TEST(ScriptReader, AnOverlongLineIsGivenUpWithoutReadingItToItsEnd) {
    std::istringstream script(std::string(8 * MAX, '\0') + "\necho never\n");
    const Read read = readAll(script);
    EXPECT_EQ(read.last, Status::TooLong);
    EXPECT_TRUE(read.lines.empty());
    EXPECT_LT(static_cast<std::size_t>(script.tellg()), 2 * MAX);
}

// The time limit is checked between the blocks of a line: a line that comes
// slowly from a pipe does not hold the script past its time.
TEST(ScriptReader, WhatRunsBetweenBlocksMayGiveUpTheLine) {
    std::istringstream script(std::string(MAX / 2, 'x') + "\nnext\n");
    ScriptReader reader(script, [] { throw 42; });
    std::string line;
    EXPECT_THROW(reader.next(line), int);
}

} // namespace
