#include "cli/points_table.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <sstream>

#include "base/csv_field.h"
#include "cli/script_line.h"

namespace sps {

namespace {

std::string pointsWord(std::uint32_t points) { return std::to_string(points) + (points == 1 ? " Punkt" : " Punkte"); }

// What the run's case error means for a beginner's teacher.
std::string noteOf(const CaseError& error) {
    if (error.type == "load failed") return "lädt nicht: " + error.message;
    if (error.type == "timeout") return "Zeit überschritten";
    if (error.type == "crash") return "abgebrochen (" + error.message + ")";
    return "Test abgebrochen: " + error.message;
}

std::string padLeft(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

// Columns count characters, not bytes: names may hold umlauts.
std::size_t shownWidth(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string padRightShown(const std::string& text, std::size_t width) {
    const std::size_t shown = shownWidth(text);
    return text + std::string(width > shown ? width - shown : 0, ' ');
}

} // namespace

std::vector<GradedCase> casesOfTest(std::string_view text) {
    std::vector<GradedCase> cases;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        const ScriptLine words = splitScriptLine(line);
        if (words.words.empty()) continue;
        if (words.words[0] == "case" && words.words.size() > 1) {
            std::string name = words.words[1];
            for (std::size_t i = 2; i < words.words.size(); ++i) name.append(" ").append(words.words[i]);
            cases.push_back({std::move(name), 1});
        } else if (words.words[0] == "punkte" && words.words.size() == 2 && !cases.empty()) {
            const std::string& word = words.words[1];
            std::uint32_t points = 0;
            const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), points);
            if (error == std::errc() && end == word.data() + word.size()) cases.back().points = points;
        }
    }
    if (cases.empty()) cases.push_back({"Test", 1, true});
    return cases;
}

std::uint32_t maximumPoints(const std::vector<GradedCase>& cases) {
    return std::accumulate(cases.begin(), cases.end(), std::uint32_t{0},
                           [](std::uint32_t sum, const GradedCase& c) { return sum + c.points; });
}

Grade gradeOf(const std::vector<GradedCase>& cases, const ScriptResult& result) {
    Grade grade;
    grade.submission = result.name;
    grade.points.resize(cases.size());
    if (cases.size() == 1 && cases.front().wholeScript) {
        const bool passed =
            std::all_of(result.cases.begin(), result.cases.end(), [](const TestCase& c) { return c.passed(); });
        const bool loaded =
            result.cases.empty() || !result.cases.front().error || result.cases.front().error->type != "load failed";
        for (const TestCase& ran : result.cases)
            if (ran.error && grade.note.empty()) grade.note = noteOf(*ran.error);
        if (loaded) grade.points[0] = passed ? cases.front().points : 0;
        grade.total = grade.points[0].value_or(0);
        return grade;
    }
    // The cases that ran, matched to the test's by their order and name.
    std::size_t next = 0;
    for (const TestCase& ran : result.cases) {
        if (ran.error && grade.note.empty()) grade.note = noteOf(*ran.error);
        const auto found = std::find_if(cases.begin() + static_cast<std::ptrdiff_t>(std::min(next, cases.size())),
                                        cases.end(), [&ran](const GradedCase& c) { return c.name == ran.name; });
        if (found == cases.end()) continue;
        const auto index = static_cast<std::size_t>(found - cases.begin());
        grade.points[index] = ran.passed() ? found->points : 0;
        next = index + 1;
    }
    for (const auto& points : grade.points) grade.total += points.value_or(0);
    return grade;
}

std::string pointsTable(const std::vector<GradedCase>& cases, const std::vector<Grade>& grades) {
    const std::uint32_t maximum = maximumPoints(cases);
    std::string table = "Fälle:\n";
    for (std::size_t i = 0; i < cases.size(); ++i)
        table += "  F" + std::to_string(i + 1) + "  " + cases[i].name + " (" + pointsWord(cases[i].points) + ")\n";
    table += "\n";

    std::size_t nameWidth = shownWidth("Abgabe");
    for (const Grade& grade : grades) nameWidth = std::max(nameWidth, shownWidth(grade.submission));
    std::vector<std::size_t> widths;
    for (std::size_t i = 0; i < cases.size(); ++i)
        widths.push_back(std::max(("F" + std::to_string(i + 1)).size(), std::to_string(cases[i].points).size()));
    const std::string totalHead = "Punkte";
    const std::size_t totalWidth = std::max(totalHead.size(), 2 * std::to_string(maximum).size() + 1);

    std::string head = padRightShown("Abgabe", nameWidth);
    for (std::size_t i = 0; i < cases.size(); ++i) head += "  " + padLeft("F" + std::to_string(i + 1), widths[i]);
    table += head + "  " + padLeft(totalHead, totalWidth) + "\n";
    std::size_t full = 0;
    for (const Grade& grade : grades) {
        std::string row = padRightShown(grade.submission, nameWidth);
        for (std::size_t i = 0; i < cases.size(); ++i)
            row += "  " + padLeft(grade.points[i] ? std::to_string(*grade.points[i]) : "-", widths[i]);
        row += "  " + padLeft(std::to_string(grade.total) + "/" + std::to_string(maximum), totalWidth);
        if (!grade.note.empty()) row += "  " + grade.note;
        table += row + "\n";
        if (grade.total == maximum && grade.note.empty()) ++full;
    }
    table += "\n" + std::to_string(grades.size()) + (grades.size() == 1 ? " Abgabe, " : " Abgaben, ") +
             std::to_string(full) + " mit allen Punkten\n";
    return table;
}

std::string gradeSheet(const std::vector<GradedCase>& cases, const std::vector<Grade>& grades) {
    std::string sheet = "abgabe";
    for (const GradedCase& c : cases) sheet += "," + csvField(c.name);
    sheet += ",punkte,maximum,hinweis\n";
    const std::string maximum = std::to_string(maximumPoints(cases));
    for (const Grade& grade : grades) {
        sheet += csvField(grade.submission);
        for (const auto& points : grade.points) sheet += "," + (points ? std::to_string(*points) : std::string());
        sheet += "," + std::to_string(grade.total) + "," + maximum + "," + csvField(grade.note) + "\n";
    }
    return sheet;
}

} // namespace sps
