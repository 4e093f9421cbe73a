#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace sps {

// The core's texts are ISO-8859-1 bytes; spsrun prints UTF-8. This is the one
// place where the conversion happens.
std::string latin1ToUtf8(std::string_view latin1);
// The other way, for words of a script that the core reads ("fällt"); a
// character beyond ISO-8859-1, or a byte that is not UTF-8, becomes "?".
std::string utf8ToLatin1(std::string_view utf8);

// Writes `text` to the file at `path`, replacing it; whether all of it arrived.
bool writeTextFile(const std::string& path, std::string_view text);

// Where spsrun writes: results on standard output, complaints about the script
// on standard error.
class Output {
public:
    Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // A line of spsrun's own or of the script's text (already UTF-8).
    void line(std::string_view utf8);
    // A line of core text, converted.
    void coreLine(std::string_view latin1);
    // Core text that carries its own line feeds, converted.
    void coreText(std::string_view latin1);
    // Text of spsrun's own that carries its own line feeds.
    void text(std::string_view utf8) { write(utf8); }
    // A line on standard error; standard output is flushed first so that a
    // terminal shows both in order.
    void error(std::string_view utf8);
    // Text for standard error that carries its own line feeds (what a script
    // run in another process wrote there).
    void errorText(std::string_view utf8);

    // While on, everything written to standard output is also kept, until
    // taken (for the output of each test case in a report).
    void keepCopy(bool on) { keepCopy_ = on; }
    std::string takeCopy() { return std::exchange(copy_, {}); }

    // Flushes standard output: whether everything written to it arrived. A
    // full disk, a closed descriptor or a vanished reader make it false.
    bool delivered();

private:
    void write(std::string_view utf8);

    std::ostream& out_;
    std::ostream& err_;
    bool wrote_ = false;
    bool keepCopy_ = false;
    std::string copy_;
};

} // namespace sps
