#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace sps {

// Reads a script line by line, a bounded block at a time, so that a script
// without line breaks (a file of zeros, a generator gone wrong) is refused
// instead of filling the memory.
class ScriptReader {
public:
    // Longer lines, not counting their line break (LF or CR LF), are refused,
    // as in program files.
    static constexpr std::size_t MAX_LINE_LENGTH = std::size_t{1} << 20;

    enum class Status {
        Line,       // a line was read
        End,        // the script has no more lines
        TooLong,    // the line is longer than MAX_LINE_LENGTH; it was not read to its end
        Unreadable, // reading failed
    };

    // `betweenBlocks` runs after each block of a line that needs more than
    // one; it may throw to give up the line (the time limit does).
    ScriptReader(std::istream& script, std::function<void()> betweenBlocks);

    // The next line without its LF. A UTF-8 byte-order mark at the start of
    // the script is no part of its first line.
    Status next(std::string& line);

private:
    static constexpr std::size_t BLOCK_SIZE = std::size_t{1} << 16;

    std::istream& script_;
    std::function<void()> betweenBlocks_;
    bool atStart_ = true;
    std::array<char, BLOCK_SIZE> block_{};
};

} // namespace sps
