#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/junit_report.h"

using namespace sps;

namespace {

TestCase testCase(std::string name, std::size_t expects, std::vector<std::string> failures, std::string output) {
    TestCase c;
    c.name = std::move(name);
    c.expects = expects;
    c.failures = std::move(failures);
    c.output = std::move(output);
    c.seconds = 0.25;
    return c;
}

// The whole report of two scripts: a passed case without output closes at
// once; a failure lists the failed expects; an error carries the expects that
// failed before it; what prepared the cases is the suite's output.
TEST(JunitReport, SuitesCasesFailuresErrorsAndOutput) {
    ScriptResult grading;
    grading.name = "ampel.sps";
    grading.namedCases = true;
    grading.setupOutput = "Fehler: Datei fehlt\n";
    grading.seconds = 1.5;
    grading.cases.push_back(testCase("Grün", 1, {}, ""));
    grading.cases.push_back(
        testCase("Gelb & Rot", 2, {"expect failed (line 9): A0.1 is 0, expected 1", "zwei"}, "case Gelb & Rot\n"));
    TestCase stopped = testCase("Blinken", 1, {"expect failed (line 12): A0.2 is 1, expected 0"}, "");
    stopped.error = CaseError{"timeout", "timeout after 2 s", "spsrun: line 13: timeout after 2 s"};
    grading.cases.push_back(std::move(stopped));
    ScriptResult plain;
    plain.name = "<leer>.sps";
    plain.cases.push_back(testCase("<leer>.sps", 0, {}, ""));
    const std::vector<ScriptResult> results{grading, plain};

    EXPECT_EQ(junitReport(results),
              R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites name="spsrun" tests="4" failures="1" errors="1" time="1.500">
  <testsuite name="ampel.sps" tests="3" failures="1" errors="1" time="1.500">
    <testcase name="Grün" classname="ampel.sps" assertions="1" time="0.250"/>
    <testcase name="Gelb &amp; Rot" classname="ampel.sps" assertions="2" time="0.250">
      <failure type="expect" message="expect failed (line 9): A0.1 is 0, expected 1&#10;zwei">expect failed (line 9): A0.1 is 0, expected 1
zwei
</failure>
      <system-out>case Gelb &amp; Rot
</system-out>
    </testcase>
    <testcase name="Blinken" classname="ampel.sps" assertions="1" time="0.250">
      <error type="timeout" message="timeout after 2 s">expect failed (line 12): A0.2 is 1, expected 0
spsrun: line 13: timeout after 2 s
</error>
    </testcase>
    <system-out>Fehler: Datei fehlt
</system-out>
  </testsuite>
  <testsuite name="&lt;leer&gt;.sps" tests="1" failures="0" errors="0" time="0.000">
    <testcase name="&lt;leer&gt;.sps" classname="&lt;leer&gt;.sps" assertions="0" time="0.250"/>
  </testsuite>
</testsuites>
)");
}

} // namespace
