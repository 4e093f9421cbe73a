#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "loader/reader.h"
#include "messages/cpu_exception.h"

using namespace sps;

namespace {

namespace fs = std::filesystem;

// A file in a fresh temporary directory, removed with the fixture.
class FReadTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        directory_ = fs::temp_directory_path() / (std::string("sps_reader_") + info->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string write(const std::string& bytes) {
        const fs::path path = directory_ / "program.awl";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path directory_;
};

std::string readAll(Reader& reader) {
    std::string text;
    for (int c = reader.nextChar(); c >= 0; c = reader.nextChar()) text.push_back(static_cast<char>(c));
    return text;
}

std::string notFound(const std::string& path) {
    return "Die angegebene Datei '" + path + "' konnte nicht gefunden werden\n";
}

std::string openError(const std::string& path) {
    try {
        FRead reader(path);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

TEST_F(FReadTest, JoinsCarriageReturnLineFeedAndKeepsLoneCarriageReturns) {
    struct Case {
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},
        {"LD E0.0\r\n= A0.0\r\n", "LD E0.0\n= A0.0\n"},
        {"a\rb", "a\rb"},
        {"a\r\r\nb", "a\r\nb"},
        {"a\r", "a\r"},
        {"\r\n\r\n", "\n\n"},
        {"\n\r", "\n\r"},
        {std::string("\xE4\xFF\0z", 4), std::string("\xE4\xFF\0z", 4)},
        // The file is read in blocks of 64 KiB: a pair split between two of them.
        {std::string(65535, 'a') + "\r\nb", std::string(65535, 'a') + "\nb"},
    };
    for (const Case& c : cases) {
        FRead reader(write(c.bytes));
        EXPECT_EQ(readAll(reader), c.expected);
        EXPECT_EQ(reader.nextChar(), -1) << "the end repeats";
        // The scanner takes the same bytes in blocks of its own size.
        FRead blocks(write(c.bytes));
        std::string text;
        char block[7];
        for (int n = 0; (n = blocks.read(block, 7)) > 0;) text.append(block, static_cast<std::size_t>(n));
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(FReadTest, MissingFileNamesTheWholePath) {
    const std::string missing = (directory_ / "missing.awl").string();
    EXPECT_EQ(openError(missing), notFound(missing));

    const std::string longPath = (directory_ / std::string(3000, 'n')).string();
    EXPECT_EQ(openError(longPath), notFound(longPath));
}

TEST_F(FReadTest, AFolderIsNamedAsOne) {
    EXPECT_EQ(openError(directory_.string()),
              "Der angegebene Pfad '" + directory_.string() + "' ist ein Ordner und keine Datei");
}

// A pipe without a writer, or a device, would keep the open or the reads
// waiting for ever (or, for some devices, act on them): they are refused
// before they are opened.
TEST_F(FReadTest, AnythingButARegularFileIsRefusedWithoutOpeningIt) {
    const fs::path pipe = directory_ / "pipe.awl";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path link = directory_ / "link.awl";
    fs::create_symlink(pipe, link);
    for (const std::string& path : {pipe.string(), link.string(), std::string("/dev/null"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(pathKind(path), PathKind::Other);
        EXPECT_EQ(openError(path), "Die angegebene Datei '" + path +
                                       "' ist keine gew\xF6hnliche Datei (sondern zum Beispiel ein Ger\xE4t oder eine "
                                       "Pipe) und wird nicht gelesen");
    }
}

TEST_F(FReadTest, ALinkCountsAsWhatItPointsTo) {
    const fs::path link = directory_ / "link.awl";
    fs::create_symlink(write("x"), link);
    EXPECT_EQ(pathKind(link.string()), PathKind::RegularFile);
    FRead reader(link.string());
    EXPECT_EQ(readAll(reader), "x");
    EXPECT_EQ(pathKind((directory_ / "missing").string()), PathKind::Missing);
}

TEST(StringRead, GivesBytesAsUnsignedValues) {
    StringRead reader(std::string("a\xE4\r\n", 4));
    EXPECT_EQ(reader.nextChar(), 'a');
    EXPECT_EQ(reader.nextChar(), 0xE4);
    EXPECT_EQ(reader.nextChar(), '\r');
    EXPECT_EQ(reader.nextChar(), '\n');
    EXPECT_EQ(reader.nextChar(), -1);
    EXPECT_EQ(reader.nextChar(), -1);
}

} // namespace
