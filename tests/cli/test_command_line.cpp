#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

using namespace sps;

namespace {

struct UnderstoodLine {
    std::vector<const char*> arguments;
    std::uint32_t seed;
    std::uint32_t timeout;
    std::string junit;
    std::vector<std::string> scripts;
};

TEST(CommandLine, OptionsAndScriptsInAnyOrder) {
    const UnderstoodLine lines[] = {
        {{"a.sps", "-", "b.sps"}, 1, 0, "", {"a.sps", "-", "b.sps"}},
        {{"--seed", "4294967295", "--timeout", "30", "--junit", "r.xml", "a.sps"}, 4294967295, 30, "r.xml", {"a.sps"}},
        {{"a.sps", "--timeout", "1000000", "b.sps"}, 1, 1000000, "", {"a.sps", "b.sps"}},
    };
    for (const UnderstoodLine& l : lines) {
        std::string problem;
        const auto line = parseCommandLine(l.arguments, problem);
        ASSERT_TRUE(line) << problem;
        EXPECT_EQ(line->options.seed, l.seed);
        EXPECT_EQ(line->options.timeoutSeconds, l.timeout);
        EXPECT_EQ(line->junitPath, l.junit);
        EXPECT_EQ(line->scriptPaths, l.scripts);
    }
}

struct RefusedLine {
    std::vector<const char*> arguments;
    std::string problem;
};

TEST(CommandLine, RefusesOptionsWithoutTheirValue) {
    const std::string timeout = "--timeout needs a number of seconds from 1 to 1000000";
    const std::string seed = "--seed needs a number from 0 to 4294967295";
    const std::string junit = "--junit needs the name of the report file";
    const RefusedLine lines[] = {
        {{"--timeout", "0", "a.sps"}, timeout}, {{"--timeout", "2.5"}, timeout},
        {{"a.sps", "--timeout"}, timeout},      {{"--seed", "4294967296"}, seed},
        {{"--junit", "", "a.sps"}, junit},      {{"--junit=r.xml"}, "unknown option '--junit=r.xml'"},
    };
    for (const RefusedLine& l : lines) {
        std::string problem;
        EXPECT_FALSE(parseCommandLine(l.arguments, problem));
        EXPECT_EQ(problem, l.problem);
    }
}

} // namespace
