#include "cli/case_log.h"

#include <utility>

#include "cli/text_output.h"

namespace sps {

namespace {

double secondsSince(CaseLog::Clock::time_point start) {
    return std::chrono::duration<double>(CaseLog::Clock::now() - start).count();
}

} // namespace

CaseLog::CaseLog(std::string scriptName, Output& output)
    : output_(output), scriptStart_(Clock::now()), caseStart_(scriptStart_) {
    result_.name = std::move(scriptName);
    open_.name = result_.name;
}

void CaseLog::begin(std::string name) {
    close(true);
    // The heading opens the case on standard output; in a report the case's
    // name says it.
    output_.line("case " + name);
    output_.takeCopy();
    open_ = TestCase{};
    open_.name = std::move(name);
    openIsNamed_ = true;
    result_.namedCases = true;
    caseStart_ = Clock::now();
}

void CaseLog::expectFailed(std::string line) { open_.failures.push_back(std::move(line)); }

void CaseLog::stop(CaseError error) { open_.error = std::move(error); }

ScriptResult CaseLog::finish() {
    close(false);
    result_.seconds = secondsSince(scriptStart_);
    return std::move(result_);
}

void CaseLog::close(bool namedCaseFollows) {
    open_.output = output_.takeCopy();
    open_.seconds = secondsSince(caseStart_);
    // Lines before the first `case` that check nothing just prepare the cases.
    if (!openIsNamed_ && namedCaseFollows && open_.expects == 0) {
        result_.setupOutput = std::move(open_.output);
        return;
    }
    result_.cases.push_back(std::move(open_));
}

} // namespace sps
