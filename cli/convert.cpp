#include "cli/convert.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/script_result.h"
#include "cli/text_output.h"
#include "cpu/cpu.h"
#include "loader/importer.h"
#include "loader/program_text.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr std::string_view USAGE = "usage: spsrun convert FILE [--to deutsch|international] [-o OUT]";

int refuse(Output& output, const std::string& problem) {
    output.error("spsrun convert: " + problem + "\n" + std::string(USAGE));
    return SCRIPT_INVALID;
}

// The program text goes out as the bytes of the simulator's own files.
bool writeBytes(const std::string& path, const std::string& bytes) {
    if (path.empty() || path == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int runConvert(std::span<const char* const> arguments, Output& output) {
    std::string input;
    std::string outputPath;
    MnemonicSet set = MnemonicSet::German;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool haveValue = i + 1 < arguments.size();
        if (argument == "--to") {
            const std::string_view value = haveValue ? arguments[++i] : "";
            if (value == "deutsch")
                set = MnemonicSet::German;
            else if (value == "international")
                set = MnemonicSet::International;
            else
                return refuse(output, "--to needs deutsch or international");
        } else if (argument == "-o") {
            if (!haveValue) return refuse(output, "-o needs the name of the output file");
            outputPath = arguments[++i];
        } else if (argument.size() > 1 && argument.front() == '-') {
            return refuse(output, "unknown option '" + std::string(argument) + "'");
        } else if (input.empty()) {
            input = argument;
        } else {
            return refuse(output, "one FILE only");
        }
    }
    if (input.empty()) return refuse(output, "FILE is missing");
    std::string text;
    try {
        CPU cpu;
        text = programText(importFile(cpu, input, {}, set).program);
    } catch (const CPUException& error) {
        output.error("spsrun convert: " + input + ": " + latin1ToUtf8(error.messageText()));
        return SCRIPT_INVALID;
    }
    if (!writeBytes(outputPath, text)) {
        output.error("spsrun convert: cannot write '" + (outputPath.empty() ? std::string("-") : outputPath) + "'");
        return SCRIPT_INVALID;
    }
    return SCRIPT_PASSED;
}

} // namespace sps
