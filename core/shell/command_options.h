#pragma once

// The command-line options of a program as one list: each row names the
// option, its value, its help and what it does with the value, and both the
// parser and the option lines of --help are made from the list.

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sps {

template <class Line> struct OptionSpec {
    std::string_view name;  // "--seed"
    std::string_view value; // "N"; empty for an option without a value
    std::string help;       // its lines separated by '\n'
    // Takes the value (empty for an option without one) into the line;
    // false with `problem` saying what is wrong.
    bool (*take)(Line& line, std::string_view value, std::string& problem);
    // The complaint when the value is missing.
    std::string_view missing = {};
};

// Parses `arguments` by `options`; every other argument goes to
// `positional`, which may refuse it. Empty on a mistake, with `problem` set.
template <class Line>
std::optional<Line> parseOptions(std::span<const OptionSpec<Line>> options, std::span<const char* const> arguments,
                                 bool (*positional)(Line& line, std::string_view argument, std::string& problem),
                                 std::string& problem) {
    Line line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const auto option = std::ranges::find(options, argument, &OptionSpec<Line>::name);
        if (option == options.end()) {
            if (argument.size() > 1 && argument.front() == '-') {
                problem = "unknown option '" + std::string(argument) + "'";
                return std::nullopt;
            }
            if (!positional(line, argument, problem)) return std::nullopt;
            continue;
        }
        std::string_view value;
        if (!option->value.empty()) {
            if (i + 1 >= arguments.size()) {
                problem = option->missing;
                return std::nullopt;
            }
            value = arguments[++i];
        }
        if (!option->take(line, value, problem)) return std::nullopt;
    }
    return line;
}

// The option lines of --help: "  NAME VALUE" padded to `column`, then the
// help, its further lines indented to the column.
template <class Line> std::string optionLines(std::span<const OptionSpec<Line>> options, std::size_t column) {
    std::string text;
    for (const OptionSpec<Line>& option : options) {
        if (option.help.empty()) continue;
        std::string head = "  " + std::string(option.name);
        if (!option.value.empty()) head += " " + std::string(option.value);
        head.resize(std::max(column, head.size() + 1), ' ');
        std::string_view help = option.help;
        for (bool first = true;; first = false) {
            const std::size_t end = help.find('\n');
            text += (first ? head : std::string(column, ' ')) + std::string(help.substr(0, end)) + "\n";
            if (end == std::string_view::npos) break;
            help.remove_prefix(end + 1);
        }
    }
    return text;
}

} // namespace sps
