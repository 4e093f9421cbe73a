#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/script_runner.h"
#include "cli/text_output.h"
#include "support/clock_guard.h"

using namespace sps;

namespace {

struct ScriptRun {
    ScriptResult result;
    std::string out;
    std::string err;
};

ScriptRun runText(const std::string& text, ScriptOptions options = {}) {
    std::istringstream script(text);
    std::ostringstream out;
    std::ostringstream err;
    Output output(out, err);
    output.keepCopy(true);
    ScriptRun run{runScript(script, "s.sps", options, output), {}, {}};
    run.out = out.str();
    run.err = err.str();
    return run;
}

class ScriptRunner : public ClockTest {};

// A script runs as in a process of its own, whatever ran before it: the
// clock's mode, time and divisor, the random source, the program, the memory
// and the station all start afresh. The fuzzer and spsrun's runs of several
// scripts depend on it.
TEST_F(ScriptRunner, EveryScriptStartsAsALoneRunDoes) {
    const std::string probe = "time\nprint AEW0\nprint MW0\nstation joystickRight\nclock auto\nfaster\n";
    const ScriptRun first = runText(probe);
    runText("set MW0 5\nseed 9\nprint AEW0\njoystick 30 30\nclock auto\nslower\nslower\n");
    const ScriptRun again = runText(probe);
    EXPECT_EQ(again.out, first.out);
    EXPECT_EQ(first.out, "0\nAEW0 [::62501:]\nMW0 [::0:]\njoystickRight=0.000\nfaster: not available\n");
    EXPECT_EQ(runText("print AEW0\n", {.seed = 7, .timeoutSeconds = 0, .nameInComplaints = false, .programPath = {}}).out, "AEW0 [::61615:]\n");
}

struct CaseRow {
    const char* name;
    std::size_t expects;
    std::size_t failures;
    const char* errorType; // "" for none
};

struct ScriptCases {
    const char* what;
    std::string script;
    std::vector<CaseRow> cases;
};

TEST_F(ScriptRunner, CasesOfAScript) {
    const ScriptCases scripts[] = {
        {"no case: one case named after the script", "expect MW0 1\nexpect MW0 0\n", {{"s.sps", 2, 1, ""}}},
        {"an empty script passes", "", {{"s.sps", 0, 0, ""}}},
        {"lines before the first case that check nothing prepare it",
         "set MW0 3\ncase eins\nexpect MW0 3\n",
         {{"eins", 1, 0, ""}}},
        {"an expect before the first case makes them a case",
         "expect MW0 0\ncase eins\ncase zwei\nexpect MW0 1\n",
         {{"s.sps", 1, 0, ""}, {"eins", 0, 0, ""}, {"zwei", 1, 1, ""}}},
        {"the words of a name are joined by one blank",
         "case \t Grün   und\tGelb  # kein Teil des Namens\n",
         {{"Grün und Gelb", 0, 0, ""}}},
        {"an unreadable operand fails its case", "case eins\nexpect VW5000 0\nexpect MW0 0\n", {{"eins", 2, 1, ""}}},
        {"an invalid line ends the script in its case",
         "case eins\ncase zwei\nexpect MW0 1\nbogus\ncase drei\n",
         {{"eins", 0, 0, ""}, {"zwei", 1, 1, "invalid line"}}},
        {"an invalid line before the first case", "print\ncase eins\n", {{"s.sps", 0, 0, "invalid line"}}},
        {"a case without a name is an invalid line", "case eins\ncase\n", {{"eins", 0, 0, "invalid line"}}},
        {"quit ends the open case and the script", "case eins\nquit\ncase zwei\n", {{"eins", 0, 0, ""}}},
    };
    for (const ScriptCases& s : scripts) {
        const ScriptResult result = runText(s.script).result;
        ASSERT_EQ(result.cases.size(), s.cases.size()) << s.what;
        for (std::size_t i = 0; i < s.cases.size(); ++i) {
            const TestCase& actual = result.cases[i];
            const CaseRow& expected = s.cases[i];
            EXPECT_EQ(actual.name, expected.name) << s.what;
            EXPECT_EQ(actual.expects, expected.expects) << s.what << ": " << actual.name;
            EXPECT_EQ(actual.failures.size(), expected.failures) << s.what << ": " << actual.name;
            EXPECT_EQ(actual.error ? actual.error->type : "", expected.errorType) << s.what << ": " << actual.name;
        }
    }
}

TEST_F(ScriptRunner, EachCaseKeepsItsOwnOutputAndFailures) {
    const ScriptRun run = runText("echo vorher\ncase eins\necho drin\nexpect MW0 2\ncase zwei\nswitch 8\n");
    const ScriptResult& result = run.result;
    EXPECT_EQ(result.setupOutput, "vorher\n");
    ASSERT_EQ(result.cases.size(), 2u);
    EXPECT_EQ(result.cases[0].output, "drin\nexpect failed (line 4): MW0 is 0, expected 2\n");
    EXPECT_EQ(result.cases[0].failures, std::vector<std::string>{"expect failed (line 4): MW0 is 0, expected 2"});
    EXPECT_EQ(result.cases[1].output, "");
    const std::string complaint = "line 6: switch: K must be a number from 0 to 7, not '8' (usage: switch K [0|1])";
    ASSERT_TRUE(result.cases[1].error);
    EXPECT_EQ(result.cases[1].error->message, complaint);
    EXPECT_EQ(result.cases[1].error->report, "spsrun: " + complaint);
    EXPECT_EQ(run.err, "spsrun: " + complaint + "\n");
    EXPECT_EQ(run.out, "vorher\ncase eins\n" + result.cases[0].output + "case zwei\n");
    EXPECT_EQ(result.status(), SCRIPT_INVALID);
}

TEST_F(ScriptRunner, ALineLongerThanAMebibyteStopsTheScriptNamingIt) {
    const ScriptRun run = runText("echo vorher\necho " + std::string(2 << 20, 'x') + "\necho nie\n");
    const std::string complaint =
        "line 2: Die Zeile 2 der Eingabedatei ist l\u00e4nger als 1048576 Zeichen und wird nicht eingelesen";
    EXPECT_EQ(run.out, "vorher\n");
    EXPECT_EQ(run.err, "spsrun: " + complaint + "\n");
    ASSERT_EQ(run.result.cases.size(), 1u);
    ASSERT_TRUE(run.result.cases[0].error);
    EXPECT_EQ(run.result.cases[0].error->type, "invalid line");
    EXPECT_EQ(run.result.cases[0].error->message, complaint);
    EXPECT_EQ(run.result.status(), SCRIPT_INVALID);
}

} // namespace
