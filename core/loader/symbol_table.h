#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace sps {

// The symbols of a program as the controller's programming software exports
// them: one symbol a line with its address and optionally a comment
// ("Symbol", "Adresse", "Kommentar"), the fields separated by a tab, a
// semicolon or a comma, optionally in double quotes; a header line, blank
// lines and "//" lines are allowed. Symbols and addresses are UTF-8.
class SymbolTable {
public:
    // Throws the German text of the first line that holds no symbol and
    // address, and of a symbol given two different addresses.
    static SymbolTable parse(std::string_view utf8);

    // The address text of a symbol (as written, case matters), or null.
    const std::string* addressOf(std::string_view symbol) const;
    std::size_t size() const { return addresses_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> addresses_;
};

} // namespace sps
