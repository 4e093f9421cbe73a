// spsrun: the simulator without a window, driven by a script.

#include <fstream>
#include <iostream>
#include <span>
#include <string>

#include "cli/command_line.h"
#include "cli/script_runner.h"
#include "cli/text_output.h"

int main(int argc, char** argv) {
    using namespace sps;
    Output output(std::cout, std::cerr);
    std::string problem;
    // A program may be started with no arguments at all, not even its name.
    const auto arguments = argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                                    : std::span<const char* const>();
    const auto commandLine = parseCommandLine(arguments, problem);
    if (!commandLine) {
        output.error("spsrun: " + problem + "\n" + "usage: spsrun [--seed N] [SCRIPT] (see spsrun --help)");
        return SCRIPT_INVALID;
    }
    if (commandLine->help) {
        std::cout << helpText();
        return SCRIPT_PASSED;
    }
    if (commandLine->scriptPath.empty() || commandLine->scriptPath == "-")
        return runScript(std::cin, commandLine->seed, output);
    std::ifstream script(commandLine->scriptPath);
    if (!script) {
        output.error("spsrun: cannot open the script '" + commandLine->scriptPath + "'");
        return SCRIPT_INVALID;
    }
    return runScript(script, commandLine->seed, output);
}
