#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sps {

// One script line split into words. Words are separated by blanks or tabs; a
// word that begins with "#" starts a comment that runs to the end of the line
// (a "#" inside a word belongs to it, as in 16#FF).
struct ScriptLine {
    std::vector<std::string> words;
    // The text after the first word up to the comment, without the blanks
    // around it (what `echo` prints).
    std::string rest;
};

ScriptLine splitScriptLine(std::string_view line);

} // namespace sps
