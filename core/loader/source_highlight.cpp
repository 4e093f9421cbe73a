#include "loader/source_highlight.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "cpu/source_words.h"
#include "ops/instruction_table.h"

namespace sps {

namespace {

struct Mnemonics {
    std::vector<std::string_view> sorted;
    std::unordered_set<std::string_view> lookup;
};

const Mnemonics& mnemonics() {
    static const Mnemonics words = [] {
        Mnemonics made;
        for (const TableEntry& entry : instructionTable()) {
            made.lookup.insert(entry.row->mnemonic);
            if (entry.row->international != nullptr) made.lookup.insert(entry.row->international);
        }
        made.sorted.assign(made.lookup.begin(), made.lookup.end());
        std::ranges::sort(made.sorted);
        return made;
    }();
    return words;
}

bool blank(char c) { return c == ' ' || c == '\t'; }
bool separator(char c) { return blank(c) || c == ','; }
bool digit(char c) { return c >= '0' && c <= '9'; }

bool blockKeyword(std::string_view word) {
    return std::ranges::any_of(BLOCK_KEYWORDS,
                               [word](const BlockKeyword& row) { return word == row.start || word == row.end; });
}

// NETWORK in any case, as the import takes it.
bool networkKeyword(std::string_view word) {
    constexpr std::string_view NETWORK = STRUCTURE_KEYWORDS[1];
    return std::ranges::equal(word, NETWORK, [](char a, char b) { return (a >= 'a' && a <= 'z' ? a - 32 : a) == b; });
}

bool structureKeyword(std::string_view word) {
    return networkKeyword(word) || std::ranges::find(STRUCTURE_KEYWORDS, word) != STRUCTURE_KEYWORDS.end();
}

// A number as the operand parser reads one: decimal, signed, real, or with a
// base ("16#FF", "2#1010").
bool constant(std::string_view word) {
    if (word.empty()) return false;
    std::size_t i = word[0] == '+' || word[0] == '-' ? 1 : 0;
    return i < word.size() && digit(word[i]);
}

// An address: pointers ("*"), "&" before it, the letters, then a digit or a
// width letter and a digit ("VB10", "MW4", "AEW0", "E0.0", "T37").
bool operand(std::string_view word) {
    word.remove_prefix(std::min(word.find_first_not_of("*&"), word.size()));
    const OperandLetters* letters = leadingOperandLetters(word);
    if (letters == nullptr) return false;
    word.remove_prefix(letters->letters.size());
    if (!word.empty() && (word[0] == 'B' || word[0] == 'W' || word[0] == 'D')) word.remove_prefix(1);
    return !word.empty() && digit(word[0]);
}

} // namespace

bool isMnemonic(std::string_view word) { return mnemonics().lookup.contains(word); }

std::span<const std::string_view> allMnemonics() { return mnemonics().sorted; }

void highlightLine(std::string_view line, std::vector<SourceSpan>& spans) {
    spans.clear();
    std::size_t at = 0;
    const auto restOfLine = [&](SourceCategory category) { spans.push_back({at, line.size() - at, category}); };
    while (at < line.size() && blank(line[at])) ++at;
    if (line.substr(at).starts_with(TITLE_PREFIX)) return restOfLine(SourceCategory::Title);

    // What the first word makes of the words after it.
    enum class Line { First, Instruction, Network, Other } kind = Line::First;
    while (at < line.size()) {
        if (separator(line[at])) {
            ++at;
            continue;
        }
        if (line.substr(at).starts_with(COMMENT_PREFIX)) return restOfLine(SourceCategory::Comment);
        std::size_t end = at;
        while (end < line.size() && !separator(line[end]) && !line.substr(end).starts_with(COMMENT_PREFIX)) ++end;
        const std::string_view word = line.substr(at, end - at);
        std::optional<SourceCategory> category;
        if (kind == Line::First) {
            if (blockKeyword(word) || structureKeyword(word)) {
                category = SourceCategory::Keyword;
                kind = networkKeyword(word) ? Line::Network : Line::Other;
            } else if (isMnemonic(word)) {
                category = SourceCategory::Mnemonic;
                kind = Line::Instruction;
            } else {
                kind = Line::Other;
            }
        } else if (kind == Line::Network && constant(word)) {
            category = SourceCategory::Constant;
        } else if (kind == Line::Instruction) {
            if (constant(word))
                category = SourceCategory::Constant;
            else if (operand(word))
                category = SourceCategory::Operand;
        }
        if (category) spans.push_back({at, end - at, *category});
        at = end;
    }
}

} // namespace sps
