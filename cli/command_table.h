#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sps {

struct ScriptSession;
struct CommandCall;

using CommandHandler = void (*)(ScriptSession&, const CommandCall&);

// One command of the script language.
struct CommandSpec {
    std::string_view name;
    std::string_view arguments; // as shown in the usage, "" for none
    int minArguments;
    int maxArguments; // ANY_COUNT: no limit
    CommandHandler handler;
    std::string_view summary;

    static constexpr int ANY_COUNT = -1;
};

// A command as it stands on its line: the words after the command's name and
// the text after it (for `echo`).
struct CommandCall {
    const CommandSpec& spec;
    std::vector<std::string> arguments;
    std::string rest;

    // Throws the ScriptError "NAME: DETAIL (usage: NAME ARGUMENTS)".
    [[noreturn]] void reject(std::string_view detail) const;

    // The argument at `index` as a decimal count from `min` to `max`;
    // `what` names it in the complaint.
    std::uint32_t count(std::size_t index, std::uint32_t min, std::uint32_t max, std::string_view what) const;
    // The argument at `index` as a signed decimal number.
    std::int32_t signedNumber(std::size_t index, std::string_view what) const;
    // The argument at `index`, which must be one of `choices`; returns its position.
    std::size_t choice(std::size_t index, std::span<const std::string_view> choices) const;
};

// The command of that name, or null.
const CommandSpec* findCommand(std::string_view name);

// "  NAME ARGUMENTS   SUMMARY" for every command, one per line.
std::string commandListing();

} // namespace sps
