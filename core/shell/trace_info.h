#pragma once

#include <memory>
#include <string>
#include <vector>

#include "canvas/info_draw.h"
#include "cpu/trace_row.h"

namespace sps {

class CPU;
class LineBoundedWriter;

// Runs one scan of `cpu` with a trace sink attached and returns what the
// engine traced, split at line feeds (1 + their number lines). A
// CPUException of the scan ends there: its text becomes the only line.
std::vector<std::string> traceScan(CPU& cpu);
// The same, with the rows of the trace window's table in `rows`.
std::vector<std::string> traceScan(CPU& cpu, std::vector<TraceRow>& rows);

// The sink that a traced scan writes to, with the trace window's limits, and
// its lines as the trace window shows them (the note of a cut-off last).
std::unique_ptr<LineBoundedWriter> newTraceSink();
std::vector<std::string> traceLinesOf(const LineBoundedWriter& sink);

// The trace window's content: the lines of one traced scan, one per row.
class TraceInfo final : public InfoDraw {
public:
    explicit TraceInfo(std::vector<std::string> lines, std::vector<TraceRow> rows = {})
        : lines_(std::move(lines)), rows_(std::move(rows)) {}

    const std::vector<std::string>& lines() const { return lines_; }
    // One row per executed instruction, for the window's table.
    const std::vector<TraceRow>& rows() const { return rows_; }

    int contentWidth(KOPDraw& canvas) override;
    int contentHeight(KOPDraw& canvas) override;
    void drawContent(KOPDraw& canvas) override;

private:
    std::vector<std::string> lines_;
    std::vector<TraceRow> rows_;
};

} // namespace sps
