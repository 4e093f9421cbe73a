#include "cli/grade_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/child_runs.h"
#include "cli/command_line.h"
#include "cli/junit_report.h"
#include "cli/points_table.h"
#include "cli/script_runner.h"
#include "cli/test_run.h"
#include "cli/text_output.h"
#include "loader/reader.h"

namespace sps {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view USAGE = "usage: spsrun grade FOLDER --test SCRIPT [--junit FILE] [--csv FILE] [--jobs N] "
                                   "[--seed N] [--timeout SECONDS]";
// A submission that runs longer is stopped: one endless loop must not hold
// up the class.
constexpr std::uint32_t DEFAULT_TIMEOUT_SECONDS = 60;

struct GradeLine {
    std::string folder;
    std::string test;
    std::string junitPath;
    std::string csvPath;
    unsigned jobs = 1;
    ScriptOptions options;
};

int refuse(Output& output, const std::string& problem) {
    output.error("spsrun grade: " + problem + "\n" + std::string(USAGE));
    return SCRIPT_INVALID;
}

// Empty `problem` when the arguments are understood.
GradeLine parse(std::span<const char* const> arguments, std::string& problem) {
    GradeLine line;
    line.options.timeoutSeconds = DEFAULT_TIMEOUT_SECONDS;
    line.options.nameInComplaints = true;
    for (std::size_t i = 0; i < arguments.size() && problem.empty(); ++i) {
        const std::string_view argument = arguments[i];
        const bool named = argument.size() > 1 && argument.front() == '-';
        if (!named) {
            if (!line.folder.empty()) problem = "only one FOLDER can be graded";
            line.folder = argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            problem = std::string(argument) + " needs a value";
            break;
        }
        const std::string_view value = arguments[++i];
        std::uint32_t jobs = 0;
        if (argument == "--test") {
            line.test = value;
        } else if (argument == "--junit") {
            line.junitPath = value;
        } else if (argument == "--csv") {
            line.csvPath = value;
        } else if (argument == "--jobs") {
            if (parseNumber(value, 1, MAX_JOBS, jobs))
                line.jobs = jobs;
            else
                problem = "--jobs needs a number of processes from 1 to " + std::to_string(MAX_JOBS);
        } else if (argument == "--seed") {
            if (!parseNumber(value, 0, UINT32_MAX, line.options.seed))
                problem = "--seed needs a number from 0 to 4294967295";
        } else if (argument == "--timeout") {
            if (!parseNumber(value, 1, MAX_TIMEOUT_SECONDS, line.options.timeoutSeconds))
                problem = "--timeout needs a number of seconds from 1 to " + std::to_string(MAX_TIMEOUT_SECONDS);
        } else {
            problem = "unknown option '" + std::string(argument) + "'";
        }
    }
    if (problem.empty() && line.folder.empty()) problem = "the FOLDER of the submissions is missing";
    if (problem.empty() && line.test.empty()) problem = "--test SCRIPT is missing";
    return line;
}

bool isProgramFile(const fs::directory_entry& entry) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::error_code error;
    return extension == ".awl" && entry.is_regular_file(error);
}

std::vector<fs::path> submissionsIn(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (isProgramFile(entry)) files.push_back(entry.path());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return files;
}

} // namespace

int runGrade(std::span<const char* const> arguments, Output& output) {
    std::string problem;
    const GradeLine line = parse(arguments, problem);
    if (!problem.empty()) return refuse(output, problem);
    if (pathKind(line.folder) != PathKind::Folder) return refuse(output, "'" + line.folder + "' is not a folder");
    if (pathKind(line.test) != PathKind::RegularFile)
        return refuse(output, "cannot open the test script '" + line.test + "'");
    std::ifstream testFile(line.test, std::ios::binary);
    std::ostringstream testText;
    testText << testFile.rdbuf();
    if (!testFile) return refuse(output, "cannot read the test script '" + line.test + "'");
    const std::string script = testText.str();
    const std::vector<fs::path> submissions = submissionsIn(line.folder);
    if (submissions.empty()) return refuse(output, "'" + line.folder + "' holds no *.awl file");

    const std::vector<GradedCase> cases = casesOfTest(script);
    std::vector<ScriptResult> results;
    std::vector<Grade> grades;
    runInChildren(
        submissions.size(), line.jobs,
        [&](std::size_t index, Output& childOutput) {
            childOutput.keepCopy(!line.junitPath.empty());
            ScriptOptions options = line.options;
            options.programPath = submissions[index].string();
            std::istringstream test(script);
            return runScript(test, submissions[index].filename().string(), options, childOutput);
        },
        [&](std::size_t index, ChildRun ended) {
            std::ostringstream unused;
            Output quiet(unused, unused);
            ScriptResult result = ended.run
                                      ? std::move(ended.run->result)
                                      : failedRun(submissions[index].filename().string(), ended, line.options, quiet);
            grades.push_back(gradeOf(cases, result));
            results.push_back(std::move(result));
        });
    output.text(pointsTable(cases, grades));

    int status = std::all_of(grades.begin(), grades.end(),
                             [&](const Grade& g) { return g.total == maximumPoints(cases) && g.note.empty(); })
                     ? SCRIPT_PASSED
                     : SCRIPT_EXPECT_FAILED;
    if (!line.junitPath.empty() && !writeTextFile(line.junitPath, junitReport(results))) {
        output.error("spsrun grade: cannot write the report '" + line.junitPath + "'");
        status = SCRIPT_INVALID;
    }
    if (!line.csvPath.empty() && !writeTextFile(line.csvPath, gradeSheet(cases, grades))) {
        output.error("spsrun grade: cannot write the grade sheet '" + line.csvPath + "'");
        status = SCRIPT_INVALID;
    }
    return status;
}

} // namespace sps
