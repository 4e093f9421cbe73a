// spsrun: the simulator without a window, driven by scripts.

#include <fstream>
#include <iostream>
#include <span>
#include <string>

#include "cli/command_line.h"
#include "cli/junit_report.h"
#include "cli/test_run.h"
#include "cli/text_output.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    using namespace sps;
    Output output(std::cout, std::cerr);
    std::string problem;
    // A program may be started with no arguments at all, not even its name.
    const auto arguments = argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                                    : std::span<const char* const>();
    const auto commandLine = parseCommandLine(arguments, problem);
    if (!commandLine) {
        output.error("spsrun: " + problem + "\n" + usageLine() + " (see spsrun --help)");
        return SCRIPT_INVALID;
    }
    if (commandLine->help) {
        std::cout << helpText();
        return SCRIPT_PASSED;
    }
    if (commandLine->version) {
        std::cout << versionText();
        return SCRIPT_PASSED;
    }
    const std::vector<ScriptResult> results = runScripts(*commandLine, std::cin, output);
    ScriptStatus status = runStatus(results);
    if (!commandLine->junitPath.empty() && !writeFile(commandLine->junitPath, junitReport(results))) {
        output.error("spsrun: cannot write the report '" + commandLine->junitPath + "'");
        status = SCRIPT_INVALID;
    }
    return status;
}
