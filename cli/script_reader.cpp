#include "cli/script_reader.h"

#include <istream>
#include <string_view>
#include <utility>

namespace sps {

namespace {

// Editors on some systems begin a UTF-8 text with it.
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

std::size_t lengthWithoutCarriageReturn(const std::string& line) {
    return !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
}

} // namespace

ScriptReader::ScriptReader(std::istream& script, std::function<void()> betweenBlocks)
    : script_(script), betweenBlocks_(std::move(betweenBlocks)) {}

ScriptReader::Status ScriptReader::next(std::string& line) {
    line.clear();
    bool readAny = false;
    for (;;) {
        // Up to a block, stopping before the LF; it waits for no more than
        // one line even on a terminal or a pipe.
        script_.get(block_.data(), static_cast<std::streamsize>(block_.size()), '\n');
        const auto count = static_cast<std::size_t>(script_.gcount());
        if (script_.bad()) return Status::Unreadable;
        readAny = readAny || count > 0;
        line.append(block_.data(), count);
        if (atStart_) {
            // The first block holds the mark whole if there is one.
            if (line.starts_with(BYTE_ORDER_MARK)) line.erase(0, BYTE_ORDER_MARK.size());
            atStart_ = false;
        }
        if (lengthWithoutCarriageReturn(line) > MAX_LINE_LENGTH) return Status::TooLong;
        if (script_.eof()) return readAny ? Status::Line : Status::End;
        // Nothing stored sets failbit: the LF comes next, or the block was full.
        script_.clear();
        if (script_.peek() == '\n') {
            script_.ignore();
            return Status::Line;
        }
        if (script_.bad()) return Status::Unreadable;
        if (!script_.eof()) betweenBlocks_();
    }
}

} // namespace sps
