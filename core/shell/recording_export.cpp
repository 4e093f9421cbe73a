#include "shell/recording_export.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <fstream>
#include <ostream>
#include <vector>

#include "base/csv_field.h"
#include "messages/cpu_exception.h"
#include "shell/recorder.h"

namespace sps {

namespace {

// --- Value change dump --------------------------------------------------------

// Identifier codes are words of printable ASCII; '#' and '$' are left out so
// that no code can be read as a time or a keyword.
std::string identifierCode(std::size_t index) {
    static constexpr std::string_view symbols = "!\"%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
    std::string code;
    do {
        code.push_back(symbols[index % symbols.size()]);
        index /= symbols.size();
    } while (index-- > 0);
    return code;
}

bool isSimpleIdentifier(const std::string& name) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !letter(name.front())) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c) || c == '$'; });
}

// An operand's name as a reference: as it is when it is an identifier of the
// hardware language, otherwise as an escaped identifier ("\E0.0", "\*VD20"),
// which may hold any printable character and ends at the next blank.
std::string reference(const std::string& name) {
    if (isSimpleIdentifier(name)) return name;
    std::string escaped = "\\";
    for (const char c : name) escaped.push_back(c > ' ' && c <= '~' ? c : '_');
    if (escaped.size() == 1) escaped.push_back('_');
    return escaped;
}

std::string binary(std::uint32_t value) {
    if (value == 0) return "0";
    std::string digits;
    for (; value != 0; value >>= 1) digits.push_back((value & 1u) != 0 ? '1' : '0');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// The shortest text that reads back as the same single.
std::string realText(std::uint32_t bits) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::bit_cast<float>(bits));
    return std::string(buffer, result.ptr);
}

// One value change line; empty for a real without a value, which the format
// cannot show (the real keeps its last value).
std::string vcdValue(SignalType type, const SignalChange& change, const std::string& code) {
    if (type == SignalType::Bit) return (change.known ? (change.value != 0 ? "1" : "0") : "x") + code;
    if (type == SignalType::Real) return change.known ? "r" + realText(change.value) + " " + code : std::string();
    return "b" + (change.known ? binary(change.value) : std::string("x")) + " " + code;
}

bool sameValue(const SignalChange& a, const SignalChange& b) { return a.known == b.known && a.value == b.value; }

void writeVcdHeader(std::ostream& out, const Recorder& recorder, const std::vector<std::string>& codes) {
    out << "$comment\n  SPS-Simulator, Aufzeichnung von " << recorder.size() << " Operanden: ";
    if (const auto from = recorder.heldFrom())
        out << "Daten ab " << from->ms << " ms (Zyklus " << from->cycle << ")";
    else
        out << "keine Daten";
    out << "\n$end\n$timescale 1 ms $end\n$scope module sps $end\n";
    for (std::size_t i = 0; i < recorder.size(); ++i) {
        const RecordedSignal& signal = recorder.signal(i);
        const SignalType type = signal.type();
        if (type == SignalType::Real)
            out << "$var real 64 ";
        else
            out << "$var wire " << signalBits(type) << ' ';
        out << codes[i] << ' ' << reference(signal.name()) << " $end\n";
    }
    out << "$upscope $end\n$enddefinitions $end\n";
}

} // namespace

void writeVcd(std::ostream& out, const Recorder& recorder) {
    const std::size_t count = recorder.size();
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < count; ++i) codes.push_back(identifierCode(i));
    writeVcdHeader(out, recorder, codes);
    const auto from = recorder.heldFrom();
    if (!from) return;

    // The values at the end of the first millisecond, then each signal's
    // changes after it, the last of every millisecond.
    std::vector<SignalChange> shown(count);
    std::vector<std::size_t> next(count);
    out << '#' << from->ms << "\n$dumpvars\n";
    for (std::size_t i = 0; i < count; ++i) {
        const RecordedSignal& signal = recorder.signal(i);
        const auto index = signal.indexAt(from->ms);
        next[i] = index ? *index + 1 : 0;
        shown[i] = index ? signal.changes()[*index] : SignalChange{};
        const std::string line = vcdValue(signal.type(), shown[i], codes[i]);
        if (!line.empty()) out << line << '\n';
    }
    out << "$end\n";
    for (;;) {
        bool any = false;
        std::uint64_t ms = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const ChangeRing& changes = recorder.signal(i).changes();
            if (next[i] < changes.size() && (!any || changes[next[i]].at.ms < ms)) {
                ms = changes[next[i]].at.ms;
                any = true;
            }
        }
        if (!any) break;
        std::string section;
        for (std::size_t i = 0; i < count; ++i) {
            const RecordedSignal& signal = recorder.signal(i);
            const ChangeRing& changes = signal.changes();
            const std::size_t first = next[i];
            while (next[i] < changes.size() && changes[next[i]].at.ms == ms) ++next[i];
            if (next[i] == first) continue;
            const SignalChange& last = changes[next[i] - 1];
            const std::string line = vcdValue(signal.type(), last, codes[i]);
            if (line.empty() || sameValue(last, shown[i])) continue;
            shown[i] = last;
            section += line;
            section += '\n';
        }
        if (!section.empty()) out << '#' << ms << '\n' << section;
    }
}

void writeCsv(std::ostream& out, const Recorder& recorder) {
    const std::size_t count = recorder.size();
    out << "zeit_ms,zyklus";
    for (std::size_t i = 0; i < count; ++i) out << ',' << csvField(recorder.signal(i).name());
    out << '\n';
    const auto from = recorder.heldFrom();
    if (!from) return;

    std::vector<SignalChange> current(count);
    std::vector<std::size_t> next(count);
    for (std::size_t i = 0; i < count; ++i) {
        const RecordedSignal& signal = recorder.signal(i);
        const auto index = signal.indexAtCycle(from->cycle);
        next[i] = index ? *index + 1 : 0;
        if (index) current[i] = signal.changes()[*index];
    }
    RecordTime row = *from;
    for (;;) {
        out << row.ms << ',' << row.cycle;
        for (std::size_t i = 0; i < count; ++i)
            out << ',' << csvField(signalValueText(recorder.signal(i).type(), current[i]));
        out << '\n';
        // The next step in which any signal changed; all changes of one step
        // carry its time.
        bool any = false;
        for (std::size_t i = 0; i < count; ++i) {
            const ChangeRing& changes = recorder.signal(i).changes();
            if (next[i] < changes.size() && (!any || changes[next[i]].at.cycle < row.cycle)) {
                row = changes[next[i]].at;
                any = true;
            }
        }
        if (!any) break;
        for (std::size_t i = 0; i < count; ++i) {
            const ChangeRing& changes = recorder.signal(i).changes();
            if (next[i] < changes.size() && changes[next[i]].at.cycle == row.cycle) current[i] = changes[next[i]++];
        }
    }
}

void exportRecording(const Recorder& recorder, ExportFormat format, const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        if (format == ExportFormat::Vcd)
            writeVcd(file, recorder);
        else
            writeCsv(file, recorder);
        file.close();
    }
    if (!file) throw CPUException(formatMessage("File %s cannot be written", path.c_str()));
}

} // namespace sps
