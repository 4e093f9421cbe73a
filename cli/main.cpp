// spsrun: the simulator without a window, driven by scripts.

#include <iostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/check.h"
#include "cli/command_line.h"
#include "cli/convert.h"
#include "cli/grade_command.h"
#include "cli/junit_report.h"
#include "cli/standard_streams.h"
#include "cli/test_run.h"
#include "cli/text_output.h"

namespace {

// Results that never arrived fail the run, whatever they were: a CI job must
// not pass on output it could not write.
int deliveredStatus(sps::Output& output, int status) {
    if (output.delivered()) return status;
    output.error("spsrun: cannot write to standard output");
    return sps::SCRIPT_INVALID;
}

} // namespace

int main(int argc, char** argv) {
    using namespace sps;
    // With standard output closed every write to it fails, as on a full disk.
    if (fillClosedStandardDescriptors()) std::cout.setstate(std::ios::badbit);
    Output output(std::cout, std::cerr);
    std::string problem;
    // A program may be started with no arguments at all, not even its name.
    const auto arguments = argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                                    : std::span<const char* const>();
    if (!arguments.empty() && std::string_view(arguments[0]) == "convert")
        return deliveredStatus(output, runConvert(arguments.subspan(1), output));
    if (!arguments.empty() && std::string_view(arguments[0]) == "grade")
        return deliveredStatus(output, runGrade(arguments.subspan(1), output));
    if (!arguments.empty() &&
        (std::string_view(arguments[0]) == "check" || std::string_view(arguments[0]) == "--check"))
        return deliveredStatus(output, runCheck(arguments.subspan(1), output));
    const auto commandLine = parseCommandLine(arguments, problem);
    if (!commandLine) {
        output.error("spsrun: " + problem + "\n" + usageLine() + " (see spsrun --help)");
        return SCRIPT_INVALID;
    }
    if (commandLine->help || commandLine->version) {
        output.text(commandLine->help ? helpText() : versionText());
        return deliveredStatus(output, SCRIPT_PASSED);
    }
    const std::vector<ScriptResult> results = runScripts(*commandLine, std::cin, output);
    int status = deliveredStatus(output, runStatus(results));
    if (!commandLine->junitPath.empty() && !writeTextFile(commandLine->junitPath, junitReport(results))) {
        output.error("spsrun: cannot write the report '" + commandLine->junitPath + "'");
        status = SCRIPT_INVALID;
    }
    return status;
}
