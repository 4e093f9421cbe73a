#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/script_runner.h"
#include "cli/text_output.h"
#include "support/clock_guard.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

struct Printed {
    std::string out;
    std::string err;
};

Printed runText(const std::string& text) {
    std::istringstream script(text);
    std::ostringstream out;
    std::ostringstream err;
    Output output(out, err);
    runScript(script, "s.sps", {}, output);
    return {out.str(), err.str()};
}

class RecordCommands : public ClockTest {};

TEST_F(RecordCommands, MalformedLinesAreInvalid) {
    const std::string recordUsage = " (usage: record OPERAND [/F]...|stop|clear)\n";
    struct Row {
        const char* line;
        std::string complaint;
    };
    const Row rows[] = {
        {"record MW4 /X", "record: unknown format '/X'" + recordUsage},
        {"record MW4 /RR", "record: unknown format '/RR'" + recordUsage},
        {"record VD0 /R /D", "record: a format follows the operand it is for, as in 'VD100 /R'" + recordUsage},
        {"record stop MW4", "record: nothing may follow 'stop'" + recordUsage},
        {"record clear all", "record: nothing may follow 'clear'" + recordUsage},
        {"record MW4 VD0 /Q", "record: unknown format '/Q'" + recordUsage},
        {"export pdf out.pdf", "export: unknown argument 'pdf' (usage: export vcd|csv FILE)\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(runText(std::string(row.line) + "\necho after\n").err, "spsrun: line 1: " + row.complaint);
    }
}

// A file gets exactly what standard output would show.
TEST_F(RecordCommands, ExportWritesWhatStandardOutputShows) {
    const auto path = testTempPath("record_commands_test", ".vcd");
    const std::string recording = "record M0.0 AC0 /W\nstep\nset AC0 7\nstep\n";
    const Printed run = runText(recording + "export vcd " + path.string() + "\nexport vcd -\n");
    EXPECT_EQ(run.err, "");
    std::ifstream file(path);
    std::stringstream written;
    written << file.rdbuf();
    EXPECT_EQ(written.str(), run.out);
    EXPECT_NE(run.out.find("$var wire 16 \" AC0 $end"), std::string::npos) << "AC0 as a word";
    std::filesystem::remove(path);
}

} // namespace
