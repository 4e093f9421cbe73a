#include "cli/junit_report.h"

#include <array>
#include <charconv>

#include "cli/test_run.h"
#include "cli/xml_text.h"

namespace sps {

namespace {

// Seconds with three decimals, whatever the locale.
std::string secondsText(double seconds) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds < 0 ? 0.0 : seconds,
                                      std::chars_format::fixed, 3);
    return std::string(buffer.data(), result.ptr);
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\n");
    return text;
}

// ` name="value"`
std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + xmlAttribute(value) + "\"";
}

std::string countAttributes(std::size_t tests, std::size_t failures, std::size_t errors, double seconds) {
    return attribute("tests", std::to_string(tests)) + attribute("failures", std::to_string(failures)) +
           attribute("errors", std::to_string(errors)) + attribute("time", secondsText(seconds));
}

void appendOutput(std::string& xml, std::string_view indent, const std::string& output) {
    if (!output.empty()) xml.append(indent).append("<system-out>").append(xmlText(output)).append("</system-out>\n");
}

void appendCase(std::string& xml, const std::string& scriptName, const TestCase& testCase) {
    xml.append("    <testcase")
        .append(attribute("name", testCase.name))
        .append(attribute("classname", scriptName))
        .append(attribute("assertions", std::to_string(testCase.expects)))
        .append(attribute("time", secondsText(testCase.seconds)));
    if (testCase.passed() && testCase.output.empty()) {
        xml.append("/>\n");
        return;
    }
    xml.append(">\n");
    const std::string failures = joinedLines(testCase.failures);
    if (testCase.error) {
        // A case is an error or a failure, not both; expects that failed
        // before the script stopped are listed in the error's text.
        xml.append("      <error")
            .append(attribute("type", testCase.error->type))
            .append(attribute("message", testCase.error->message))
            .append(">")
            .append(xmlText(failures + testCase.error->report + "\n"))
            .append("</error>\n");
    } else if (!testCase.failures.empty()) {
        xml.append("      <failure")
            .append(attribute("type", "expect"))
            .append(attribute("message", failures.substr(0, failures.size() - 1)))
            .append(">")
            .append(xmlText(failures))
            .append("</failure>\n");
    }
    appendOutput(xml, "      ", testCase.output);
    xml.append("    </testcase>\n");
}

} // namespace

std::string junitReport(std::span<const ScriptResult> results) {
    const RunTotals totals = runTotals(results);
    double seconds = 0;
    for (const ScriptResult& result : results) seconds += result.seconds;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml.append("<testsuites")
        .append(attribute("name", "spsrun"))
        .append(countAttributes(totals.cases, totals.failed, totals.errors, seconds))
        .append(">\n");
    for (const ScriptResult& result : results) {
        xml.append("  <testsuite")
            .append(attribute("name", result.name))
            .append(countAttributes(result.cases.size(), result.failureCount(), result.errorCount(), result.seconds))
            .append(">\n");
        for (const TestCase& testCase : result.cases) appendCase(xml, result.name, testCase);
        appendOutput(xml, "    ", result.setupOutput);
        xml.append("  </testsuite>\n");
    }
    xml.append("</testsuites>\n");
    return xml;
}

} // namespace sps
