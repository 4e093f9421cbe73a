#include "loader/symbol_table.h"

#include <vector>

#include "loader/text_decoding.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The fields of a line: split at tabs when it has one, else at semicolons
// when it has one, else at commas; each trimmed and freed of its quotes.
std::vector<std::string_view> fieldsOf(std::string_view line) {
    const char separator = line.find('\t') != std::string_view::npos  ? '\t'
                           : line.find(';') != std::string_view::npos ? ';'
                                                                      : ',';
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t end = line.find(separator);
        std::string_view field = trimmed(line.substr(0, end));
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
        fields.push_back(field);
        if (end == std::string_view::npos) return fields;
        line.remove_prefix(end + 1);
    }
}

// An address begins with a capital letter and holds a digit ("I0.0",
// "VW100", "T37"); a header's "Adresse" does not.
bool looksLikeAddress(std::string_view text) {
    return !text.empty() && text.front() >= 'A' && text.front() <= 'Z' &&
           text.find_first_of("0123456789") != std::string_view::npos;
}

std::string shown(std::string_view utf8) {
    std::size_t replaced = 0;
    return latin1Of(utf8, replaced);
}

} // namespace

SymbolTable SymbolTable::parse(std::string_view utf8) {
    SymbolTable table;
    int number = 0;
    bool first = true;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find_first_of("\r\n");
        const std::string_view line = trimmed(utf8.substr(0, end));
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end);
        if (utf8.starts_with("\r\n"))
            utf8.remove_prefix(2);
        else if (!utf8.empty())
            utf8.remove_prefix(1);
        ++number;
        if (line.empty() || line.starts_with("//")) continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        const bool header = first && (fields.size() < 2 || !looksLikeAddress(fields[1]));
        first = false;
        if (header) continue;
        if (fields.size() < 2 || fields[0].empty() || !looksLikeAddress(fields[1]))
            throw CPUException(formatMessage("Symbol table line %d needs symbol and address", number));
        const auto [at, added] = table.addresses_.emplace(std::string(fields[0]), std::string(fields[1]));
        if (!added && at->second != fields[1])
            throw CPUException(
                formatMessage("Symbol %s given two addresses in line %d", shown(fields[0]).c_str(), number));
    }
    return table;
}

const std::string* SymbolTable::addressOf(std::string_view symbol) const {
    const auto found = addresses_.find(symbol);
    return found != addresses_.end() ? &found->second : nullptr;
}

} // namespace sps
