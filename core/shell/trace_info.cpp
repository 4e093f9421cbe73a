#include "shell/trace_info.h"

#include <algorithm>
#include <climits>

#include "base/writer.h"
#include "canvas/kop_draw.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

constexpr int CONTENT_COLUMNS = 53;

// A looping program executes ten million instructions per scan; its trace
// keeps the first lines only, so that it costs a second, not gigabytes. The
// fuzz build, whose loop guard is lower, cuts early too.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr std::size_t TRACE_LINE_LIMIT = 2000;
constexpr std::size_t TRACE_TEXT_LIMIT = 64u << 10;
#else
constexpr std::size_t TRACE_LINE_LIMIT = 100000;
constexpr std::size_t TRACE_TEXT_LIMIT = 16u << 20;
#endif

// y of line `index`; a trace of millions of lines stays within int.
int lineY(std::size_t index, int lineHeight) {
    return static_cast<int>(std::min<long long>(static_cast<long long>(index) * lineHeight, INT_MAX));
}

// Keeps the text buffer as the CPU's trace sink for one scan and removes it
// however the scan ends, so that no later scan writes into a dead buffer.
class TraceSinkScope {
public:
    TraceSinkScope(CPU& cpu, Writer& sink, std::vector<TraceRow>* rows) : cpu_(cpu) {
        cpu_.traceSink = &sink;
        cpu_.traceRows = rows;
    }
    ~TraceSinkScope() {
        cpu_.traceSink = nullptr;
        cpu_.traceRows = nullptr;
        cpu_.traceBlock = nullptr;
        cpu_.traceNetwork = nullptr;
    }
    TraceSinkScope(const TraceSinkScope&) = delete;
    TraceSinkScope& operator=(const TraceSinkScope&) = delete;

private:
    CPU& cpu_;
};

// 1 + the number of line feeds lines, without their line feeds.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace

std::unique_ptr<LineBoundedWriter> newTraceSink() {
    return std::make_unique<LineBoundedWriter>(TRACE_LINE_LIMIT, TRACE_TEXT_LIMIT);
}

std::vector<std::string> traceLinesOf(const LineBoundedWriter& sink) {
    std::vector<std::string> lines = splitLines(sink.text());
    // A cut text ends with a line feed; the note takes the empty line after it.
    if (sink.full()) lines.back() = formatMessage("Trace cut off after %d lines", static_cast<int>(sink.lineCount()));
    return lines;
}

std::vector<std::string> traceScan(CPU& cpu) {
    std::vector<TraceRow> rows;
    return traceScan(cpu, rows);
}

std::vector<std::string> traceScan(CPU& cpu, std::vector<TraceRow>& rows) {
    const auto sink = newTraceSink();
    try {
        const TraceSinkScope scope(cpu, *sink, &rows);
        scanCycle(cpu);
    } catch (const CPUException& error) {
        // The failure replaces whatever the scan had traced until then.
        return {error.messageText()};
    }
    return traceLinesOf(*sink);
}

int TraceInfo::contentWidth(KOPDraw& canvas) { return CONTENT_COLUMNS * canvas.unitWidth(); }

int TraceInfo::contentHeight(KOPDraw& canvas) { return lineY(lines_.size(), canvas.unitHeight()); }

void TraceInfo::drawContent(KOPDraw& canvas) {
    const int lineHeight = canvas.unitHeight();
    for (std::size_t i = 0; i < lines_.size(); ++i) canvas.text(0, lineY(i, lineHeight), lines_[i]);
}

} // namespace sps
