// Scan speed of the execution engine, in instructions per second, beside a
// hand-written C++ function that computes the same logic as the bit-logic
// program: the ratio of the two is printed at the end of the run, in any of
// the library's output formats.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "base/sim_clock.h"
#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "cpu/force_table.h"
#include "loader/parser.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"
#include "support/silent_front_end.h"

using namespace sps;

namespace {

constexpr int NETWORKS = 1000;
constexpr int FLAG_BITS = 32 * 8;

// The operands of network i of the bit-logic program: four flag bits spread
// over the whole flag area.
struct BitLogicNetwork {
    int load, andBit, orBit, out;
};

BitLogicNetwork bitLogicNetwork(int i) {
    return {(i * 7) % FLAG_BITS, (i * 13 + 5) % FLAG_BITS, (i * 29 + 11) % FLAG_BITS, (i * 31 + 3) % FLAG_BITS};
}

void appendLine(std::string& text, const char* mnemonic, int bit) {
    text += mnemonic;
    text += " M";
    text += std::to_string(bit / 8);
    text += '.';
    text += std::to_string(bit % 8);
    text += '\n';
}

void appendNetworkLine(std::string& text, int number) {
    text += "NETWORK ";
    text += std::to_string(number);
    text += '\n';
}

std::string program(const std::string& networks) {
    std::string text = "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n";
    text += networks;
    text += "END_ORGANIZATION_BLOCK\n";
    return text;
}

// (a) 1000 networks of LD, U, O, = on flag bits.
std::string bitLogicProgram() {
    std::string text;
    for (int i = 0; i < NETWORKS; ++i) {
        const BitLogicNetwork n = bitLogicNetwork(i);
        appendNetworkLine(text, i + 1);
        appendLine(text, "LD", n.load);
        appendLine(text, "U", n.andBit);
        appendLine(text, "O", n.orBit);
        appendLine(text, "=", n.out);
    }
    return program(text);
}

// (b) program (a) behind one network that keeps the 1-ms timer T0 running.
std::string bitLogicWithTimerProgram() {
    std::string text = bitLogicProgram();
    const std::string timerNetwork = "NETWORK 0\nLD SM0.0\nTONR T0, 30000\n";
    text.insert(text.find("NETWORK 1\n"), timerNetwork);
    return text;
}

// (c) 1000 networks of word arithmetic and a word compare on V words.
std::string wordArithmeticProgram() {
    std::string text;
    for (int i = 0; i < NETWORKS; ++i) {
        const int a = (i * 2) % 2000;
        const int b = (i * 14 + 6) % 2000;
        appendNetworkLine(text, i + 1);
        text += "LD SM0.0\n+I VW" + std::to_string(a) + ", VW" + std::to_string(b) + "\n";
        text += "LDW>= VW" + std::to_string(b) + ", VW" + std::to_string(a) + "\n";
        appendLine(text, "=", (i * 31 + 3) % FLAG_BITS);
    }
    return program(text);
}

void load(CPU& cpu, const std::string& text) {
    try {
        StringRead reader(text);
        Parser().parseProgram(cpu, reader);
        resetCpu(cpu);
    } catch (const CPUException& error) {
        std::fprintf(stderr, "benchmark program does not load: %s\n", error.messageText().c_str());
        std::exit(1);
    }
}

void seedFlags(CPU& cpu) {
    for (int i = 0; i < 32; ++i) cpu.areaM.writeByte(i, (i * 37 + 11) & 0xFF);
}

void runScans(benchmark::State& state, CPU& cpu, long long instructionsPerScan) {
    for (auto _ : state) scanCycle(cpu);
    state.SetItemsProcessed(state.iterations() * instructionsPerScan);
}

void BM_EngineBitLogic(benchmark::State& state) {
    simClock().switchToManual();
    CPU cpu;
    load(cpu, bitLogicProgram());
    seedFlags(cpu);
    runScans(state, cpu, 4LL * NETWORKS);
    simClock().switchToAutomatic();
}
BENCHMARK(BM_EngineBitLogic);

// In automatic clock mode, so that the running timer reads the real clock
// before every instruction as it does in the desktop program.
void BM_EngineBitLogicWithTimer(benchmark::State& state) {
    CPU cpu;
    load(cpu, bitLogicWithTimerProgram());
    seedFlags(cpu);
    runScans(state, cpu, 4LL * NETWORKS + 2);
}
BENCHMARK(BM_EngineBitLogicWithTimer);

void BM_EngineWordArithmetic(benchmark::State& state) {
    simClock().switchToManual();
    CPU cpu;
    load(cpu, wordArithmeticProgram());
    for (int i = 0; i < 4000; i += 2) cpu.areaV.writeWord(i, i * 3);
    runScans(state, cpu, 4LL * NETWORKS);
    simClock().switchToAutomatic();
}
BENCHMARK(BM_EngineWordArithmetic);

// Program (a) while a ladder window shows the power flow: every instruction
// notes the top of the logic stack before and after it.
void BM_EngineBitLogicPowerFlow(benchmark::State& state) {
    simClock().switchToManual();
    CPU cpu;
    load(cpu, bitLogicProgram());
    seedFlags(cpu);
    cpu.recordPower = true;
    runScans(state, cpu, 4LL * NETWORKS);
    simClock().switchToAutomatic();
}
BENCHMARK(BM_EngineBitLogicPowerFlow);

// Program (a) with eight flag bits and a flag word forced: the scan writes
// them after its input image and again before its output image.
void BM_EngineBitLogicForced(benchmark::State& state) {
    simClock().switchToManual();
    CPU cpu;
    load(cpu, bitLogicProgram());
    seedFlags(cpu);
    for (int i = 0; i < 8; ++i) forceOperand(cpu, "M" + std::to_string(i * 4) + ".1", "1");
    forceOperand(cpu, "MW30", "1234");
    runScans(state, cpu, 4LL * NETWORKS);
    simClock().switchToAutomatic();
}
BENCHMARK(BM_EngineBitLogicForced);

// Whole simulation steps (scan and station) of program (a), with no
// breakpoint (argument 0) or with one that never becomes true (1).
void BM_SimulationSteps(benchmark::State& state) {
    simClock().switchToManual();
    SilentFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    load(simulator.cpu(), bitLogicProgram());
    seedFlags(simulator.cpu());
    if (state.range(0) != 0) simulator.breakpoints().add(Condition(simulator.cpu(), "VW0", "== 1"));
    for (auto _ : state) simulator.runSteps(1);
    state.SetItemsProcessed(state.iterations());
    simClock().switchToAutomatic();
}
BENCHMARK(BM_SimulationSteps)->Arg(0)->Arg(1);

// The same logic as program (a), written by hand on a byte array.
struct NativeFlags {
    unsigned char bytes[32];

    int get(int bit) const { return (bytes[bit / 8] >> (bit % 8)) & 1; }
    void set(int bit, int value) {
        const unsigned char mask = static_cast<unsigned char>(1u << (bit % 8));
        bytes[bit / 8] = static_cast<unsigned char>(value ? bytes[bit / 8] | mask : bytes[bit / 8] & ~mask);
    }
};

void nativeScan(NativeFlags& flags, const BitLogicNetwork* networks) {
    for (int i = 0; i < NETWORKS; ++i) {
        const BitLogicNetwork& n = networks[i];
        const int result = (flags.get(n.load) && flags.get(n.andBit)) || flags.get(n.orBit);
        flags.set(n.out, result);
    }
}

void BM_NativeBitLogic(benchmark::State& state) {
    BitLogicNetwork networks[NETWORKS];
    for (int i = 0; i < NETWORKS; ++i) networks[i] = bitLogicNetwork(i);
    NativeFlags flags{};
    for (int i = 0; i < 32; ++i) flags.bytes[i] = static_cast<unsigned char>((i * 37 + 11) & 0xFF);
    for (auto _ : state) {
        nativeScan(flags, networks);
        benchmark::DoNotOptimize(flags.bytes);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 4LL * NETWORKS);
}
BENCHMARK(BM_NativeBitLogic);

// Before measuring: both forms of program (a) must compute the same flags.
void checkNativeMatchesEngine() {
    simClock().switchToManual();
    CPU cpu;
    load(cpu, bitLogicProgram());
    seedFlags(cpu);
    BitLogicNetwork networks[NETWORKS];
    for (int i = 0; i < NETWORKS; ++i) networks[i] = bitLogicNetwork(i);
    NativeFlags flags{};
    for (int i = 0; i < 32; ++i) flags.bytes[i] = static_cast<unsigned char>((i * 37 + 11) & 0xFF);
    for (int scan = 0; scan < 3; ++scan) {
        scanCycle(cpu);
        nativeScan(flags, networks);
    }
    for (int i = 0; i < 32; ++i) {
        if (cpu.areaM.readByte(i) != flags.bytes[i]) {
            std::fprintf(stderr, "native baseline differs from the engine at MB%d\n", i);
            std::exit(1);
        }
    }
    simClock().switchToAutomatic();
}

// Hands every report to the display reporter that the library's flags chose
// (--benchmark_format and the others), and keeps the items per second of
// each run for the ratios.
class RateCollector final : public benchmark::BenchmarkReporter {
public:
    explicit RateCollector(benchmark::BenchmarkReporter& display) : display_(display) {}

    bool ReportContext(const Context& context) override { return display_.ReportContext(context); }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto items = run.counters.find("items_per_second");
            if (items != run.counters.end()) rates_[run.benchmark_name()] = items->second.value;
        }
        display_.ReportRuns(runs);
    }

    void Finalize() override { display_.Finalize(); }

    const std::map<std::string, double>& rates() const { return rates_; }

private:
    benchmark::BenchmarkReporter& display_;
    std::map<std::string, double> rates_;
};

// The ratios of the collected rates, where both runs of a ratio ran.
void printRatios(const std::map<std::string, double>& rates, std::FILE* out) {
    const auto ratio = [&](const std::string& numerator, const std::string& denominator) -> std::optional<double> {
        const auto top = rates.find(numerator);
        const auto bottom = rates.find(denominator);
        if (top == rates.end() || bottom == rates.end() || bottom->second <= 0 || top->second <= 0) return {};
        return top->second / bottom->second;
    };
    if (const auto engine = ratio("BM_EngineBitLogic", "BM_NativeBitLogic"))
        std::fprintf(out, "\nBit logic, engine/native instructions per second: %.4f (native is %.1f times faster)\n",
                     *engine, 1.0 / *engine);
    if (const auto power = ratio("BM_EngineBitLogic", "BM_EngineBitLogicPowerFlow"))
        std::fprintf(out, "Bit logic, scan time with/without the power flow recorded: %.4f\n", *power);
    if (const auto forced = ratio("BM_EngineBitLogicForced", "BM_EngineBitLogic"))
        std::fprintf(out, "Bit logic, forced/unforced scans per second: %.4f\n", *forced);
    if (const auto breakpoint = ratio("BM_SimulationSteps/1", "BM_SimulationSteps/0"))
        std::fprintf(out, "Simulation steps, with/without a breakpoint: %.4f\n", *breakpoint);
}

} // namespace

int main(int argc, char** argv) {
    checkNativeMatchesEngine();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The library's own display reporter (it owns it), whatever format the
    // flags ask for.
    benchmark::BenchmarkReporter* display = benchmark::CreateDefaultDisplayReporter();
    RateCollector collector(*display);
    benchmark::RunSpecifiedBenchmarks(&collector);
    // Below the table; beside JSON or CSV on standard output, on standard
    // error, so that the output stays what its format says.
    printRatios(collector.rates(), dynamic_cast<benchmark::ConsoleReporter*>(display) != nullptr ? stdout : stderr);
    benchmark::Shutdown();
    return 0;
}
