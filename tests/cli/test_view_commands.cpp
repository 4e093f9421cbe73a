#include <gtest/gtest.h>

#include <string>

#include "cli/command_table.h"
#include "shell/status_contents.h"

using namespace sps;

// The usage of show and draw names every status content of the core, in its order.
TEST(ViewCommands, UsageNamesEveryStatusContent) {
    std::string names;
    for (const std::string_view name : STATUS_CONTENT_NAMES) names += (names.empty() ? "" : "|") + std::string(name);
    ASSERT_NE(findCommand("show"), nullptr);
    ASSERT_NE(findCommand("draw"), nullptr);
    EXPECT_EQ(findCommand("show")->arguments, names);
    EXPECT_EQ(findCommand("draw")->arguments, names + " [U V]");
}
