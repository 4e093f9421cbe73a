#include "cli/result_transfer.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace sps {

namespace {

// The bytes end with this mark, so that a run cut short is told apart.
constexpr std::string_view END_MARK = "spsrun-run-end";

class Packer {
public:
    template <class Number> void number(Number value) {
        static_assert(std::is_arithmetic_v<Number>);
        char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        bytes_.append(bytes, sizeof value);
    }
    void text(std::string_view value) {
        number(static_cast<std::uint64_t>(value.size()));
        bytes_.append(value);
    }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

class Unpacker {
public:
    explicit Unpacker(std::string_view bytes) : bytes_(bytes) {}

    template <class Number> bool number(Number& value) {
        if (bytes_.size() - at_ < sizeof value) return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool text(std::string& value) {
        std::uint64_t size = 0;
        if (!number(size) || bytes_.size() - at_ < size) return false;
        value.assign(bytes_.substr(at_, static_cast<std::size_t>(size)));
        at_ += static_cast<std::size_t>(size);
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

void packCase(Packer& out, const TestCase& testCase) {
    out.text(testCase.name);
    out.number(static_cast<std::uint64_t>(testCase.expects));
    out.number(static_cast<std::uint64_t>(testCase.failures.size()));
    for (const std::string& failure : testCase.failures) out.text(failure);
    out.number(static_cast<std::uint8_t>(testCase.error.has_value()));
    if (testCase.error) {
        out.text(testCase.error->type);
        out.text(testCase.error->message);
        out.text(testCase.error->report);
    }
    out.text(testCase.output);
    out.number(testCase.seconds);
    out.number(testCase.points);
}

bool unpackCase(Unpacker& in, TestCase& testCase) {
    std::uint64_t expects = 0;
    std::uint64_t failures = 0;
    if (!in.text(testCase.name) || !in.number(expects) || !in.number(failures)) return false;
    testCase.expects = static_cast<std::size_t>(expects);
    for (std::uint64_t i = 0; i < failures; ++i) {
        std::string failure;
        if (!in.text(failure)) return false;
        testCase.failures.push_back(std::move(failure));
    }
    std::uint8_t hasError = 0;
    if (!in.number(hasError)) return false;
    if (hasError != 0) {
        CaseError error;
        if (!in.text(error.type) || !in.text(error.message) || !in.text(error.report)) return false;
        testCase.error = std::move(error);
    }
    return in.text(testCase.output) && in.number(testCase.seconds) && in.number(testCase.points);
}

} // namespace

std::string packRun(const TransferredRun& run) {
    Packer out;
    const ScriptResult& result = run.result;
    out.text(result.name);
    out.number(static_cast<std::uint8_t>(result.namedCases));
    out.text(result.setupOutput);
    out.number(result.seconds);
    out.number(static_cast<std::uint64_t>(result.cases.size()));
    for (const TestCase& testCase : result.cases) packCase(out, testCase);
    out.text(run.out);
    out.text(run.err);
    out.text(END_MARK);
    return out.take();
}

bool unpackRun(std::string_view bytes, TransferredRun& run) {
    Unpacker in(bytes);
    ScriptResult& result = run.result;
    std::uint8_t named = 0;
    std::uint64_t cases = 0;
    if (!in.text(result.name) || !in.number(named) || !in.text(result.setupOutput) || !in.number(result.seconds) ||
        !in.number(cases))
        return false;
    result.namedCases = named != 0;
    for (std::uint64_t i = 0; i < cases; ++i) {
        TestCase testCase;
        if (!unpackCase(in, testCase)) return false;
        result.cases.push_back(std::move(testCase));
    }
    std::string mark;
    return in.text(run.out) && in.text(run.err) && in.text(mark) && mark == END_MARK && in.atEnd();
}

} // namespace sps
