#pragma once

#include <span>
#include <string>

#include "cli/script_result.h"

namespace sps {

// The JUnit XML report of a run, in the form that CI servers read:
// <testsuites> holds a <testsuite> per script (name, tests, failures, errors,
// time), which holds a <testcase> per case (name, classname = the script's
// name, time) with a <failure> listing its failed expects, an <error> when
// the script stopped in it, and its output as <system-out>. The output of
// lines before the first case that only prepare the cases is the suite's
// <system-out>. UTF-8, well-formed whatever the texts hold.
std::string junitReport(std::span<const ScriptResult> results);

} // namespace sps
