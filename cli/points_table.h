#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/script_result.h"

namespace sps {

// A case of a test script as `spsrun grade` counts it: its name and what
// passing it is worth (`punkte N` after its `case` line, else 1).
struct GradedCase {
    std::string name;
    std::uint32_t points = 1;
    // A test without `case` lines is one case, "Test", passed when the
    // whole script is.
    bool wholeScript = false;
};

// The named cases of the test script `text`, in their order.
std::vector<GradedCase> casesOfTest(std::string_view text);

// One submission's points: per case what it got (empty for a case that did
// not run), the sum, and a note when the run did not get through (a file
// that does not load, a time-out, a crash, an invalid line of the test).
struct Grade {
    std::string submission;
    std::vector<std::optional<std::uint32_t>> points;
    std::uint32_t total = 0;
    std::string note;
};

std::uint32_t maximumPoints(const std::vector<GradedCase>& cases);
Grade gradeOf(const std::vector<GradedCase>& cases, const ScriptResult& result);

// The table on standard output: the cases numbered F1, F2 ... with their
// names and weights, then one row per submission, then a summary line.
std::string pointsTable(const std::vector<GradedCase>& cases, const std::vector<Grade>& grades);
// The grade sheet: "abgabe", one column per case (its name), "punkte",
// "maximum", "hinweis"; a row per submission.
std::string gradeSheet(const std::vector<GradedCase>& cases, const std::vector<Grade>& grades);

} // namespace sps
