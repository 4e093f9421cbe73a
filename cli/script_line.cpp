#include "cli/script_line.h"

namespace sps {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

} // namespace

ScriptLine splitScriptLine(std::string_view line) {
    ScriptLine result;
    std::size_t restBegin = std::string_view::npos;
    std::size_t end = 0; // end of the last word
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        const std::size_t begin = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (result.words.size() == 1) restBegin = begin;
        result.words.emplace_back(line.substr(begin, i - begin));
        end = i;
    }
    if (restBegin != std::string_view::npos) result.rest = std::string(line.substr(restBegin, end - restBegin));
    return result;
}

} // namespace sps
