#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sps {

// What a stretch of a program line is, for highlighting it. Text that is
// none of these (names, labels, unknown mnemonics, symbols) is left plain.
enum class SourceCategory : std::uint8_t {
    Keyword,  // block keywords, BEGIN, NETWORK, END_...
    Mnemonic, // an instruction of either mnemonic set
    Operand,  // an address with the operand letters of either set
    Constant, // a number, a network's number
    Comment,  // from "//" to the end of the line
    Title,    // a block's "TITLE=" line
};

struct SourceSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    SourceCategory category = SourceCategory::Keyword;
};

// The highlighted stretches of one line (without its line break), in line
// order, into `spans`, which is cleared first and reused, so that highlighting
// line after line allocates nothing once it has grown. The words come from
// the instruction table and the operand letters and block keywords of the
// CPU; a line is classified by itself alone.
void highlightLine(std::string_view line, std::vector<SourceSpan>& spans);

// Whether `word` is a mnemonic of either set.
bool isMnemonic(std::string_view word);

// Every mnemonic of either set, each once, sorted: for the editor syntax files.
std::span<const std::string_view> allMnemonics();

} // namespace sps
