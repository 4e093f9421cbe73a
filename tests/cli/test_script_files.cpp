#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cli/command_line.h"
#include "cli/test_run.h"
#include "cli/text_output.h"
#include "support/clock_guard.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

namespace fs = std::filesystem;

// A named pipe without a writer would keep the open waiting for ever, before
// any time limit could stop it: it is refused unopened, and the next script
// runs.
TEST(ScriptFiles, ANamedPipeIsRefusedWithoutOpeningIt) {
    ClockGuard clock;
    const fs::path folder = testTempPath("sps_script_files");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string pipe = (folder / "pipe.sps").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    CommandLine line;
    line.scriptPaths = {pipe, "-"};
    std::istringstream standardInput("echo danach\n");
    std::ostringstream out;
    std::ostringstream err;
    Output output(out, err);
    const auto results = runScripts(line, standardInput, output);
    fs::remove_all(folder);

    const std::string refusal =
        "cannot open the script '" + pipe + "': it is not a regular file (feed a pipe to standard input instead)";
    ASSERT_EQ(results.size(), 2u);
    ASSERT_TRUE(results[0].cases.at(0).error);
    EXPECT_EQ(results[0].cases[0].error->type, "unreadable script");
    EXPECT_EQ(results[0].cases[0].error->message, refusal);
    EXPECT_EQ(err.str(), "spsrun: " + refusal + "\n");
    EXPECT_TRUE(results[1].cases.at(0).passed());
    EXPECT_NE(out.str().find("== -\ndanach\n"), std::string::npos);
}

} // namespace
