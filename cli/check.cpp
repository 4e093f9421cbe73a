#include "cli/check.h"

#include <string_view>
#include <vector>

#include "cli/script_result.h"
#include "cli/text_output.h"
#include "loader/program_check.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr std::string_view USAGE = "usage: spsrun check [--import] FILE...";

int refuse(Output& output, const std::string& problem) {
    output.error("spsrun check: " + problem + "\n" + std::string(USAGE));
    return SCRIPT_INVALID;
}

// One line: the text's own line breaks, and the blanks around them, become one blank.
std::string oneLine(std::string_view text) {
    std::string line;
    bool pendingBlank = false;
    for (const char c : text) {
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t') {
            pendingBlank = !line.empty();
            continue;
        }
        if (pendingBlank) line += ' ';
        pendingBlank = false;
        line += c;
    }
    return line;
}

} // namespace

std::string checkErrorLine(const std::string& path, const CPUException& error) {
    std::string line = path + ":";
    if (error.line() > 0) line += std::to_string(error.line()) + ":";
    return line + " Fehler: " + latin1ToUtf8(oneLine(error.messageText()));
}

int runCheck(std::span<const char* const> arguments, Output& output) {
    ProgramReading reading;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string_view argument : arguments) {
        if (!optionsEnded && argument == "--import")
            reading.import = true;
        else if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (!optionsEnded && argument.size() > 1 && argument.front() == '-')
            return refuse(output, "unknown option '" + std::string(argument) + "'");
        else
            files.emplace_back(argument);
    }
    if (files.empty()) return refuse(output, "FILE is missing");
    int status = SCRIPT_PASSED;
    for (const std::string& file : files) {
        if (const std::optional<CPUException> error = checkProgramFile(file, reading)) {
            output.line(checkErrorLine(file, *error));
            status = SCRIPT_EXPECT_FAILED; // 1, as a failed expect
        }
    }
    return status;
}

} // namespace sps
