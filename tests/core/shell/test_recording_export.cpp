#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "shell/recorder.h"
#include "shell/recording_export.h"
#include "support/clock_guard.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

// --- A small reader of value change dumps ---------------------------------------

struct VcdVariable {
    std::string type;
    int width = 0;
    std::string code;
    std::string name; // the reference, an escaped identifier without its backslash
};

struct VcdFile {
    std::string comment;
    std::string timescale;
    std::vector<VcdVariable> variables;
    std::vector<std::uint64_t> times;
    // Per code: (time, value as `print` shows it; "x" for no value).
    std::map<std::string, std::vector<std::pair<std::uint64_t, std::string>>> changes;

    // The value of the variable named `name` at `time`; "" before its first.
    std::string valueAt(const std::string& name, std::uint64_t time) const {
        std::string value;
        for (const VcdVariable& variable : variables) {
            if (variable.name != name) continue;
            const auto found = changes.find(variable.code);
            if (found == changes.end()) return value;
            for (const auto& [at, text] : found->second)
                if (at <= time) value = text;
        }
        return value;
    }
};

std::string printedReal(double value) {
    StringWriter writer;
    writer.putReal(static_cast<float>(value));
    return writer.takeText();
}

// The words between a keyword and its $end.
std::string section(std::istream& in) {
    std::string text;
    for (std::string word; in >> word && word != "$end";) text += (text.empty() ? "" : " ") + word;
    return text;
}

VcdFile parseVcd(const std::string& text) {
    VcdFile file;
    std::istringstream in(text);
    std::uint64_t time = 0;
    bool timeSeen = false;
    const auto change = [&](const std::string& code, std::string value) {
        EXPECT_TRUE(timeSeen) << "a value before the first time";
        file.changes[code].emplace_back(time, std::move(value));
    };
    for (std::string word; in >> word;) {
        if (word == "$comment" || word == "$date" || word == "$version") {
            const std::string body = section(in);
            if (word == "$comment") file.comment = body;
        } else if (word == "$timescale") {
            file.timescale = section(in);
        } else if (word == "$var") {
            VcdVariable variable;
            in >> variable.type >> variable.width >> variable.code >> variable.name;
            if (!variable.name.empty() && variable.name.front() == '\\') variable.name.erase(0, 1);
            EXPECT_EQ(section(in), "") << variable.name;
            file.variables.push_back(variable);
        } else if (word == "$scope" || word == "$upscope" || word == "$enddefinitions") {
            section(in);
        } else if (word == "$dumpvars" || word == "$end") {
        } else if (word.front() == '#') {
            const std::uint64_t next = std::stoull(word.substr(1));
            EXPECT_TRUE(!timeSeen || next > time) << "times must increase: " << word;
            time = next;
            timeSeen = true;
            file.times.push_back(time);
        } else if (word.front() == 'b' || word.front() == 'B') {
            std::string code;
            in >> code;
            const std::string bits = word.substr(1);
            change(code,
                   bits.find_first_of("xX") != std::string::npos ? "x" : std::to_string(std::stoull(bits, nullptr, 2)));
        } else if (word.front() == 'r' || word.front() == 'R') {
            std::string code;
            in >> code;
            change(code, printedReal(std::strtod(word.c_str() + 1, nullptr)));
        } else {
            change(word.substr(1), word.substr(0, 1) == "X" ? "x" : word.substr(0, 1));
        }
    }
    return file;
}

// --- A small reader of comma-separated values ----------------------------------

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back().push_back(line[++i]);
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    return fields;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) rows.push_back(csvFields(line));
    return rows;
}

// --- The recording --------------------------------------------------------------

class RecordingExportTest : public ClockTest {
protected:
    RecordingExportTest() { ClockGuard::manualAt(0); }

    void step(std::uint32_t ms, const std::function<void()>& change = {}) {
        if (change) change();
        simClock().advance(ms);
        recorder.sample(++cycle);
    }

    // Operands of every type, with names that hold '.', '*', '#' and '&'.
    void recordTheSample() {
        for (const char* operand : {"E0.0", "MB1", "MW4", "AC0", "*VD20", "*16#8000014", "*&VB100", "T37"})
            recorder.record(operand);
        recorder.record("VD8", SignalType::Real);
        step(0);
        step(0, [&] { cpu.areaE.writeBit(0, 0, 1); });
        step(0, [&] { cpu.areaE.writeBit(0, 0, 0); }); // a flicker within 0 ms
        step(10, [&] {
            cpu.areaM.writeByte(1, 200);
            cpu.areaV.writeDword(8, std::bit_cast<std::uint32_t>(-2.5f));
        });
        step(0, [&] {
            cpu.areaV.writeDword(20, POINTER_BASE_V + 100); // the pointers now point at VB100
            cpu.areaV.writeByte(100, 7);
        });
        step(5, [&] {
            cpu.areaM.writeWord(4, 0xFFFF);
            cpu.accumulators[0] = 0x80000001u;
            cpu.areaE.writeBit(0, 0, 1);
        });
        step(5, [&] { cpu.areaE.writeBit(0, 0, 0); });
        step(30, [&] { cpu.areaV.writeDword(8, std::bit_cast<std::uint32_t>(1e30f)); });
    }

    std::string vcd() const {
        std::ostringstream out;
        writeVcd(out, recorder);
        return out.str();
    }

    std::string csv() const {
        std::ostringstream out;
        writeCsv(out, recorder);
        return out.str();
    }

    // What the file must show for signal `i` at `ms`: "x" for no value.
    std::string expectedAt(std::size_t i, std::uint64_t ms) const {
        const RecordedSignal& signal = recorder.signal(i);
        const SignalChange change = signal.valueAt(ms);
        if (!change.known) return signal.type() == SignalType::Real ? "" : "x";
        return signalValueText(signal.type(), change);
    }

    // Every signal's value in the file at every millisecond of the recording.
    void expectSameValues(const VcdFile& file) const {
        for (std::uint64_t ms = 0; ms <= recorder.latest()->ms + 1; ++ms)
            for (std::size_t i = 0; i < recorder.size(); ++i)
                EXPECT_EQ(file.valueAt(recorder.signal(i).name(), ms), expectedAt(i, ms))
                    << recorder.signal(i).name() << " at " << ms << " ms";
    }

    CPU cpu;
    Recorder recorder{cpu};
    std::uint64_t cycle = 0;
};

TEST_F(RecordingExportTest, VcdDeclaresEveryOperandUnderItsName) {
    recordTheSample();
    const VcdFile file = parseVcd(vcd());
    EXPECT_EQ(file.timescale, "1 ms");
    EXPECT_EQ(file.comment, "SPS-Simulator, Aufzeichnung von 9 Operanden: Daten ab 0 ms (Zyklus 1)");
    struct Declared {
        const char* type;
        int width;
        const char* name;
    };
    const Declared declared[] = {{"wire", 1, "E0.0"},     {"wire", 8, "MB1"},    {"wire", 16, "MW4"},
                                 {"wire", 32, "AC0"},     {"wire", 32, "*VD20"}, {"wire", 32, "*16#8000014"},
                                 {"wire", 32, "*&VB100"}, {"wire", 16, "T37"},   {"real", 64, "VD8"}};
    ASSERT_EQ(file.variables.size(), std::size(declared));
    std::set<std::string> codes;
    for (std::size_t i = 0; i < std::size(declared); ++i) {
        EXPECT_EQ(file.variables[i].type, declared[i].type);
        EXPECT_EQ(file.variables[i].width, declared[i].width);
        EXPECT_EQ(file.variables[i].name, declared[i].name);
        EXPECT_TRUE(codes.insert(file.variables[i].code).second) << "codes must differ";
        EXPECT_EQ(file.variables[i].code.find_first_of("#$"), std::string::npos);
    }
    // Names that are no identifiers of the hardware language are escaped.
    const std::string text = vcd();
    EXPECT_NE(text.find(" \\E0.0 $end"), std::string::npos);
    EXPECT_NE(text.find(" MW4 $end"), std::string::npos);
}

// Several steps in one millisecond keep only the last value of it: the
// flicker of E0.0 at 0 ms does not show, its one-step pulse at 15 ms does.
TEST_F(RecordingExportTest, VcdShowsTheLastValueOfEveryMillisecond) {
    recordTheSample();
    const VcdFile file = parseVcd(vcd());
    expectSameValues(file);
    EXPECT_EQ(file.times, (std::vector<std::uint64_t>{0, 10, 15, 20, 50}));
    const auto& bit = file.changes.at(file.variables[0].code);
    EXPECT_EQ(bit, (std::vector<std::pair<std::uint64_t, std::string>>{{0, "0"}, {15, "1"}, {20, "0"}}));
    EXPECT_EQ(file.valueAt("*VD20", 0), "x") << "no value before the pointer pointed somewhere";
}

TEST_F(RecordingExportTest, CsvHasARowForEveryStepInWhichAValueChanged) {
    recordTheSample();
    const auto rows = parseCsv(csv());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (std::vector<std::string>{"zeit_ms", "zyklus", "E0.0", "MB1", "MW4", "AC0", "*VD20",
                                                 "*16#8000014", "*&VB100", "T37", "VD8"}));
    // *16#8000014 reads VD20 itself; *VD20 and *&VB100 read VD100 once VD20 points there.
    const std::vector<std::vector<std::string>> expected = {
        {"0", "1", "0", "0", "0", "0", "", "0", "0", "0", "+0"},
        {"0", "2", "1", "0", "0", "0", "", "0", "0", "0", "+0"},
        {"0", "3", "0", "0", "0", "0", "", "0", "0", "0", "+0"},
        {"10", "4", "0", "200", "0", "0", "", "0", "0", "0", "-2.5"},
        {"10", "5", "0", "200", "0", "0", "117440512", "134217828", "117440512", "0", "-2.5"},
        {"15", "6", "1", "200", "65535", "2147483649", "117440512", "134217828", "117440512", "0", "-2.5"},
        {"20", "7", "0", "200", "65535", "2147483649", "117440512", "134217828", "117440512", "0", "-2.5"},
        {"50", "8", "0", "200", "65535", "2147483649", "117440512", "134217828", "117440512", "0", "+1E+30"},
    };
    EXPECT_EQ(std::vector(rows.begin() + 1, rows.end()), expected);
}

TEST_F(RecordingExportTest, WithoutStepsBothFilesHoldOnlyTheirHeaders) {
    recorder.record("M0.0");
    EXPECT_EQ(csv(), "zeit_ms,zyklus,M0.0\n");
    const VcdFile file = parseVcd(vcd());
    EXPECT_EQ(file.variables.size(), 1u);
    EXPECT_TRUE(file.times.empty());
    EXPECT_EQ(file.comment, "SPS-Simulator, Aufzeichnung von 1 Operanden: keine Daten");
}

// When a ring has dropped its oldest changes, both files start where every
// signal's data is held, and the dump says so.
TEST_F(RecordingExportTest, AfterTheRingDroppedChangesTheFilesStartWhereAllDataIsHeld) {
    Recorder small(cpu, 4);
    small.record("M0.0");
    small.record("MB7");
    for (std::uint64_t step = 1; step <= 10; ++step) {
        cpu.areaM.writeBit(0, 0, static_cast<int>((step - 1) % 2));
        simClock().advance(10);
        small.sample(step);
    }
    // Changes 6 to 9 of M0.0 are held: from step 7 at 70 ms.
    std::ostringstream vcdText;
    writeVcd(vcdText, small);
    const VcdFile file = parseVcd(vcdText.str());
    EXPECT_EQ(file.comment, "SPS-Simulator, Aufzeichnung von 2 Operanden: Daten ab 70 ms (Zyklus 7)");
    EXPECT_EQ(file.times, (std::vector<std::uint64_t>{70, 80, 90, 100}));
    EXPECT_EQ(file.valueAt("MB7", 70), "0");
    std::ostringstream csvText;
    writeCsv(csvText, small);
    const auto rows = parseCsv(csvText.str());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"70", "7", "0", "0"}));
}

// The waveform viewer's own converter reads the dump and writes it again;
// the values read back are the same at every millisecond.
TEST_F(RecordingExportTest, TheViewersConverterReadsTheSameValues) {
    if (std::system("command -v vcd2fst >/dev/null 2>&1 && command -v fst2vcd >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "vcd2fst and fst2vcd (package gtkwave) are not installed";
    recordTheSample();
    const auto folder = testTempPath("recording_export_test");
    std::filesystem::create_directories(folder);
    const auto vcdPath = folder / "in.vcd";
    const auto fstPath = folder / "in.fst";
    const auto backPath = folder / "back.vcd";
    exportRecording(recorder, ExportFormat::Vcd, vcdPath.string());
    const std::string command = "vcd2fst '" + vcdPath.string() + "' '" + fstPath.string() +
                                "' >/dev/null 2>&1 && fst2vcd '" + fstPath.string() + "' > '" + backPath.string() +
                                "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream back(backPath);
    std::stringstream text;
    text << back.rdbuf();
    const VcdFile file = parseVcd(text.str());
    ASSERT_EQ(file.variables.size(), recorder.size());
    expectSameValues(file);
    std::filesystem::remove_all(folder);
}

} // namespace
