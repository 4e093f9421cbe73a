#pragma once

#include <iosfwd>
#include <string>

namespace sps {

class Recorder;

// Writes the recording as a value change dump (IEEE 1364) for waveform
// viewers: a time unit of 1 ms, one variable per operand named after it
// (`wire 1` for bits, `wire 8/16/32` for numbers, `real 64` for reals), the
// values at the start of the held data in `$dumpvars`, then one `#time`
// section per millisecond in which a value changed, with the last value of
// that millisecond. A comment says from when the data is held.
void writeVcd(std::ostream& out, const Recorder& recorder);

// Writes the recording as comma-separated values: the header
// `zeit_ms,zyklus,OPERAND...`, a row for the start of the held data, then a
// row for every step in which a value changed. Values stand as `print` shows
// them in the operand's format; a value that is not known is left empty.
void writeCsv(std::ostream& out, const Recorder& recorder);

enum class ExportFormat { Vcd, Csv };

// Writes the recording into the file at `path`, replacing it. Throws
// CPUException when the file cannot be written.
void exportRecording(const Recorder& recorder, ExportFormat format, const std::string& path);

} // namespace sps
