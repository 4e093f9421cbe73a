#include "cli/script_result.h"

#include <algorithm>

namespace sps {

std::size_t ScriptResult::failureCount() const {
    return static_cast<std::size_t>(
        std::count_if(cases.begin(), cases.end(), [](const TestCase& c) { return !c.error && !c.failures.empty(); }));
}

std::size_t ScriptResult::errorCount() const {
    return static_cast<std::size_t>(
        std::count_if(cases.begin(), cases.end(), [](const TestCase& c) { return c.error.has_value(); }));
}

ScriptStatus ScriptResult::status() const {
    if (errorCount() > 0) return SCRIPT_INVALID;
    return failureCount() > 0 ? SCRIPT_EXPECT_FAILED : SCRIPT_PASSED;
}

} // namespace sps
