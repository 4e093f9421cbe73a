// Grading a class: runs in processes of their own, what they hand back, and
// the points table and grade sheet made of their results.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/child_runs.h"
#include "cli/points_table.h"
#include "cli/result_transfer.h"
#include "cli/text_output.h"

using namespace sps;

namespace {

TestCase passedCase(std::string name) {
    TestCase testCase;
    testCase.name = std::move(name);
    testCase.expects = 2;
    return testCase;
}

TestCase failedCase(std::string name) {
    TestCase testCase = passedCase(std::move(name));
    static const std::string failure = "expect failed (line 7): A0.0 is 0, expected 1";
    testCase.failures.push_back(failure);
    return testCase;
}

TestCase stoppedCase(std::string name, std::string type, std::string message) {
    TestCase testCase = passedCase(std::move(name));
    testCase.error = CaseError{std::move(type), std::move(message), "spsrun: x"};
    return testCase;
}

ScriptResult resultOf(std::string name, std::vector<TestCase> cases) {
    ScriptResult result;
    result.name = std::move(name);
    result.namedCases = true;
    result.cases = std::move(cases);
    return result;
}

TEST(ResultTransfer, EveryFieldComesBackAndACutShortRunIsRefused) {
    TransferredRun run;
    run.result = resultOf("anna.awl", {failedCase("LED \"0\""), stoppedCase("Zähler", "timeout", "timeout after 1 s")});
    run.result.cases[0].output = "Bei Schalter 0 an muss LED 0 leuchten.\n";
    run.result.cases[0].points = 3;
    run.result.cases[1].seconds = 1.25;
    run.result.setupOutput = "Fehler: x\n";
    run.out = "case LED\n";
    run.err = "spsrun: anna.awl: line 3: timeout after 1 s\n";
    const std::string bytes = packRun(run);

    TransferredRun back;
    ASSERT_TRUE(unpackRun(bytes, back));
    EXPECT_EQ(back.out, run.out);
    EXPECT_EQ(back.err, run.err);
    EXPECT_EQ(back.result.name, "anna.awl");
    EXPECT_TRUE(back.result.namedCases);
    EXPECT_EQ(back.result.setupOutput, run.result.setupOutput);
    ASSERT_EQ(back.result.cases.size(), 2u);
    EXPECT_EQ(back.result.cases[0].failures, run.result.cases[0].failures);
    EXPECT_EQ(back.result.cases[0].output, run.result.cases[0].output);
    EXPECT_EQ(back.result.cases[0].points, 3u);
    EXPECT_EQ(back.result.cases[0].expects, 2u);
    ASSERT_TRUE(back.result.cases[1].error);
    EXPECT_EQ(back.result.cases[1].error->type, "timeout");
    EXPECT_EQ(back.result.cases[1].error->report, "spsrun: x");
    EXPECT_EQ(back.result.cases[1].seconds, 1.25);

    for (const std::size_t cut : {std::size_t{0}, std::size_t{5}, bytes.size() / 2, bytes.size() - 1}) {
        TransferredRun partial;
        EXPECT_FALSE(unpackRun(std::string_view(bytes).substr(0, cut), partial)) << cut;
    }
    TransferredRun longer;
    EXPECT_FALSE(unpackRun(bytes + "x", longer));
}

// Three at a time, handed over in their order whatever order they end in;
// a run that aborts or exits ends only its own process.
TEST(ChildRuns, OutcomesComeInTheirOrderAndACrashEndsOnlyItsOwnRun) {
    std::vector<std::size_t> order;
    std::vector<ChildRun> outcomes;
    runInChildren(
        6, 3,
        [](std::size_t index, Output& output) {
            if (index == 2) std::abort();
            if (index == 4) std::_Exit(7);
            output.line("run " + std::to_string(index));
            return resultOf("run" + std::to_string(index), {passedCase("a")});
        },
        [&](std::size_t index, ChildRun ended) {
            order.push_back(index);
            outcomes.push_back(std::move(ended));
        });
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    for (const std::size_t i : {0u, 1u, 3u, 5u}) {
        ASSERT_TRUE(outcomes[i].run) << i;
        EXPECT_EQ(outcomes[i].run->out, "run " + std::to_string(i) + "\n");
        EXPECT_EQ(outcomes[i].run->result.name, "run" + std::to_string(i));
    }
    EXPECT_FALSE(outcomes[2].run);
    EXPECT_NE(outcomes[2].failure.find("signal " + std::to_string(SIGABRT)), std::string::npos) << outcomes[2].failure;
    EXPECT_FALSE(outcomes[4].run);
    EXPECT_NE(outcomes[4].failure.find("exit status 7"), std::string::npos) << outcomes[4].failure;
}

const char* const TEST_SCRIPT = "stop\n"
                                "case LED 0 folgt Schalter 0\n"
                                "punkte 2\n"
                                "expect A0.0 1\n"
                                "case Zähler, mit Komma # a comment\n"
                                "punkte zwei\n"
                                "case Warten\n"
                                "punkte 0\n";

TEST(PointsTable, CasesAndWeightsComeFromTheTestScript) {
    const std::vector<GradedCase> cases = casesOfTest(TEST_SCRIPT);
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(cases[0].name, "LED 0 folgt Schalter 0");
    EXPECT_EQ(cases[0].points, 2u);
    EXPECT_EQ(cases[1].name, "Zähler, mit Komma");
    EXPECT_EQ(cases[1].points, 1u) << "a weight that is no number leaves the default";
    EXPECT_EQ(cases[2].points, 0u);
    EXPECT_EQ(maximumPoints(cases), 3u);
}

// A test without cases is one case: all of it passes, or no point.
TEST(PointsTable, ATestWithoutCasesIsOneCase) {
    const std::vector<GradedCase> cases = casesOfTest("stop\nswitch 0 1\nstep\nexpect A0.0 1\n");
    ASSERT_EQ(cases.size(), 1u);
    EXPECT_EQ(cases[0].name, "Test");
    ScriptResult passed = resultOf("anna.awl", {passedCase("anna.awl")});
    passed.namedCases = false;
    EXPECT_EQ(gradeOf(cases, passed).total, 1u);
    ScriptResult failed = resultOf("bert.awl", {failedCase("bert.awl")});
    failed.namedCases = false;
    EXPECT_EQ(gradeOf(cases, failed).points, (std::vector<std::optional<std::uint32_t>>{0}));
    const Grade unloaded = gradeOf(cases, resultOf("carl.awl", {stoppedCase("carl.awl", "load failed", "leer")}));
    EXPECT_EQ(unloaded.points, (std::vector<std::optional<std::uint32_t>>{std::nullopt}));
    EXPECT_EQ(unloaded.note, "lädt nicht: leer");
}

TEST(PointsTable, EachSubmissionGetsThePointsOfTheCasesItPassed) {
    const std::vector<GradedCase> cases = casesOfTest(TEST_SCRIPT);
    struct Row {
        ScriptResult result;
        std::vector<std::optional<std::uint32_t>> points;
        std::uint32_t total;
        std::string note;
    };
    const Row rows[] = {
        {resultOf("anna.awl",
                  {passedCase("LED 0 folgt Schalter 0"), passedCase("Zähler, mit Komma"), passedCase("Warten")}),
         {2, 1, 0},
         3,
         ""},
        {resultOf("bert.awl", {failedCase("LED 0 folgt Schalter 0"), passedCase("Zähler, mit Komma"),
                               stoppedCase("Warten", "timeout", "timeout after 1 s")}),
         {0, 1, 0},
         1,
         "Zeit überschritten"},
        // The test stopped in its second case: the third did not run.
        {resultOf("carl.awl", {passedCase("LED 0 folgt Schalter 0"),
                               stoppedCase("Zähler, mit Komma", "invalid line", "line 9: step: too many arguments")}),
         {2, 0, std::nullopt},
         2,
         "Test abgebrochen: line 9: step: too many arguments"},
        // It did not load: none ran.
        {resultOf("dora.awl", {stoppedCase("dora.awl", "load failed", "Die Datei ist leer")}),
         {std::nullopt, std::nullopt, std::nullopt},
         0,
         "lädt nicht: Die Datei ist leer"},
        {resultOf("emil.awl", {stoppedCase("emil.awl", "crash", "the run ended with signal 11")}),
         {std::nullopt, std::nullopt, std::nullopt},
         0,
         "abgebrochen (the run ended with signal 11)"},
    };
    std::vector<Grade> grades;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result.name);
        const Grade grade = gradeOf(cases, row.result);
        EXPECT_EQ(grade.points, row.points);
        EXPECT_EQ(grade.total, row.total);
        EXPECT_EQ(grade.note, row.note);
        grades.push_back(grade);
    }
    EXPECT_EQ(pointsTable(cases, {grades[0], grades[1], grades[3]}),
              "Fälle:\n"
              "  F1  LED 0 folgt Schalter 0 (2 Punkte)\n"
              "  F2  Zähler, mit Komma (1 Punkt)\n"
              "  F3  Warten (0 Punkte)\n"
              "\n"
              "Abgabe    F1  F2  F3  Punkte\n"
              "anna.awl   2   1   0     3/3\n"
              "bert.awl   0   1   0     1/3  Zeit überschritten\n"
              "dora.awl   -   -   -     0/3  lädt nicht: Die Datei ist leer\n"
              "\n"
              "3 Abgaben, 1 mit allen Punkten\n");
    EXPECT_EQ(gradeSheet(cases, {grades[0], grades[3]}),
              "abgabe,LED 0 folgt Schalter 0,\"Zähler, mit Komma\",Warten,punkte,maximum,hinweis\n"
              "anna.awl,2,1,0,3,3,\n"
              "dora.awl,,,,0,3,lädt nicht: Die Datei ist leer\n");
}

} // namespace
