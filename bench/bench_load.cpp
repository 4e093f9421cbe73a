// Loading speed: a program of 200,000 ordinary lines, built in memory, parsed
// into a CPU, in lines per second; read from memory and from a file (as the
// simulator and spsrun read it), and imported (the forgiving reading of
// programs from the controller's own software), from memory and from the
// same program written in the international set. Before measuring it checks that the program
// loads and that an error on its last instruction line names that line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpu/cpu.h"
#include "loader/importer.h"
#include "loader/parser.h"
#include "loader/program_text.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"

using namespace sps;

namespace {

constexpr int LINES = 200000;

// One network of ten lines: the network line and nine instructions of the
// kinds real programs are made of (contacts, compare contacts, coils, moves,
// arithmetic, a timer), with operands that change from network to network.
void appendNetwork(std::string& text, int n) {
    const std::string bit = std::to_string(n % 32) + "." + std::to_string(n % 8);
    const std::string word = std::to_string((n * 2) % 4000);
    text += "NETWORK " + std::to_string(n + 1) + "\n";
    text += "LD E" + std::to_string(n % 3) + "." + std::to_string(n % 8) + "\n";
    text += "U M" + bit + "\n";
    text += "ON V" + bit + "\n";
    text += "LDW>= VW" + word + ", +" + std::to_string(n % 1000) + "\n";
    text += "OLD\n";
    text += "= A" + std::to_string(n % 3) + "." + std::to_string((n + 3) % 8) + "\n";
    text += "MOVW VW" + word + ", AC" + std::to_string(n % 4) + "\n";
    text += "+I 16#" + std::to_string(10 + n % 90) + ", VW" + word + "\n";
    text += "TON T" + std::to_string(37 + n % 27) + ", " + std::to_string(10 + n % 500) + "\n";
}

// LINES lines: networks of ten, then one network of NOPs that fills up to
// the block's end line.
std::string programText() {
    std::string text = "ORGANIZATION_BLOCK OB1:MAIN\nTITLE= Load benchmark\n// ordinary lines\nBEGIN\n";
    int lines = 4;
    for (int n = 0; lines + 10 + 3 <= LINES; ++n, lines += 10) appendNetwork(text, n);
    text += "NETWORK 0\n";
    for (++lines; lines + 1 < LINES; ++lines) text += "NOP 0\n";
    text += "END_ORGANIZATION_BLOCK\n";
    return text;
}

int countLines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    return lines;
}

void fail(const std::string& what) {
    std::fprintf(stderr, "bench_load: %s\n", what.c_str());
    std::exit(1);
}

void parse(CPU& cpu, Reader& reader) {
    try {
        Parser().parseProgram(cpu, reader);
    } catch (const CPUException& error) {
        fail("the program does not load: " + error.messageText());
    }
}

void BM_LoadFromMemory(benchmark::State& state) {
    const std::string text = programText();
    CPU cpu;
    for (auto _ : state) {
        StringRead reader(text);
        parse(cpu, reader);
    }
    state.SetItemsProcessed(state.iterations() * countLines(text));
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
    const std::string text = programText();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "bench_load.awl";
    std::ofstream(path, std::ios::binary) << text;
    CPU cpu;
    for (auto _ : state) {
        FRead reader(path.string());
        parse(cpu, reader);
    }
    state.SetItemsProcessed(state.iterations() * countLines(text));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

void BM_ImportFromMemory(benchmark::State& state) {
    const std::string text = programText();
    CPU cpu;
    for (auto _ : state) benchmark::DoNotOptimize(importProgram(cpu, text, nullptr));
    state.SetItemsProcessed(state.iterations() * countLines(text));
}
BENCHMARK(BM_ImportFromMemory)->Unit(benchmark::kMillisecond);

void BM_ImportInternationalFromMemory(benchmark::State& state) {
    CPU cpu;
    const std::string text =
        sps::programText(importProgram(cpu, programText(), nullptr, MnemonicSet::International).program);
    for (auto _ : state) benchmark::DoNotOptimize(importProgram(cpu, text, nullptr));
    state.SetItemsProcessed(state.iterations() * countLines(text));
}
BENCHMARK(BM_ImportInternationalFromMemory)->Unit(benchmark::kMillisecond);

// The program has LINES lines, loads, and a mnemonic that does not exist on
// its last instruction line is reported with the number of the line after it.
void checkProgram() {
    std::string text = programText();
    if (countLines(text) != LINES) fail("the program has " + std::to_string(countLines(text)) + " lines");
    CPU cpu;
    StringRead reader(text);
    parse(cpu, reader);
    text.replace(text.rfind("NOP 0"), 5, "NOPE 0");
    try {
        StringRead broken(text);
        Parser().parseProgram(cpu, broken);
        fail("an unknown mnemonic loads");
    } catch (const CPUException& error) {
        const std::string expected = "Fehler beim einlesen nahe Zeile " + std::to_string(LINES) + ": ";
        if (error.messageText().rfind(expected, 0) != 0) fail("wrong error: " + error.messageText());
    }
}

} // namespace

int main(int argc, char** argv) {
    checkProgram();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
