// Ladder view speed: a program of 1,000 networks of mixed shapes (series and
// parallel contacts, OLD and ULD, LPS/LRD/LPP branches, boxes with a folded
// move, timers, counters) laid out and drawn onto a canvas that only counts
// what it is given, in networks per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "canvas/kop_draw.h"
#include "cpu/cpu.h"
#include "cpu/engine.h"
#include "ladder/kop_net.h"
#include "loader/parser.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"

using namespace sps;

namespace {

constexpr int NETWORKS = 1000;

// Lines and texts, counted; the units of a 15-pixel fixed-pitch font.
class CountingCanvas final : public KOPDraw {
public:
    int unitWidth() const override { return 9; }
    int unitHeight() const override { return 15; }
    void line(int, int, int, int) override { ++lines; }
    void text(int, int, const std::string& s) override {
        ++texts;
        characters += static_cast<long long>(s.size());
    }

    long long lines = 0;
    long long texts = 0;
    long long characters = 0;
};

// The shapes, one network each, in turn; `n` varies the operands.
std::string networkBody(int shape, int n) {
    const std::string b = std::to_string(n % 32);
    const std::string w = std::to_string((n * 4) % 4000);
    switch (shape) {
    case 0: // a row of contacts in series
        return "LD E0." + std::to_string(n % 8) + "\nU M" + b + ".1\nUN M" + b + ".2\nU V" + b + ".3\n= A0.0\n";
    case 1: // a parallel branch joined to the row
        return "LD E0.0\nU E0.1\nO M" + b + ".0\nON M" + b + ".1\nU M" + b + ".3\n= A0.1\n";
    case 2: // two parallel pairs in series, each built in its own level
        return "LD E0.0\nU E0.1\nLD E0.2\nU E0.3\nOLD\nLD M" + b + ".0\nO M" + b + ".1\nULD\n= A0.2\n";
    case 3: // three outputs below each other from one point
        return "LD E1.0\nLPS\nU E1.1\n= A1.0\nLRD\nU E1.2\n= A1.1\nLPP\nUN E1.3\n= A1.2\n";
    case 4: // a compare contact and boxes, one with a folded move
        return "LDW>= VW" + w + ", +100\nU M" + b + ".4\nMOVW VW" + w + ", VW100\n+I VW" + w + ", VW100\nINCW VW" + w +
               "\n";
    case 5: // a timer and its contact
        return "LD E2.0\nUN M" + b + ".5\nTON T" + std::to_string(37 + n % 27) + ", 500\n";
    case 6: // an up counter with its reset input
        return "LD E0.4\nLD E0.5\nZV Z" + std::to_string(n % 256) + ", +5\n";
    case 7: // an up/down counter whose count-up input is a parallel pair
        return "LD E0.6\nO M" + b + ".6\nLD E0.7\nLD M" + b + ".7\nZVR Z" + std::to_string(n % 256) + ", +10\n";
    default: // a two-input box with a folded move behind a contact
        return "LD SM0.0\nMOVD VD" + w + ", AC1\n*R VD200, AC1\n";
    }
}

constexpr int SHAPES = 9;

std::string programText() {
    std::string text = "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n";
    for (int n = 0; n < NETWORKS; ++n) text += "NETWORK " + std::to_string(n + 1) + "\n" + networkBody(n % SHAPES, n);
    text += "END_ORGANIZATION_BLOCK\n";
    return text;
}

void fail(const std::string& what) {
    std::fprintf(stderr, "bench_ladder: %s\n", what.c_str());
    std::exit(1);
}

// The program loaded and scanned once, so that the values drawn are live ones.
std::unique_ptr<CPU> loadedCpu() {
    auto cpu = std::make_unique<CPU>();
    try {
        StringRead reader(programText());
        Parser().parseProgram(*cpu, reader);
        resetCpu(*cpu);
        scanCycle(*cpu);
    } catch (const CPUException& error) {
        fail("the program does not load: " + error.messageText());
    }
    return cpu;
}

void layOut(KOPNet& net, const CPU& cpu) {
    try {
        net.setProgram(cpu.program);
    } catch (const CPUException& error) {
        fail("the program has no ladder view: " + error.messageText());
    }
}

void reportDrawing(benchmark::State& state, const CountingCanvas& canvas, long long drawings) {
    if (drawings == 0) return;
    state.counters["lines"] = static_cast<double>(canvas.lines) / static_cast<double>(drawings);
    state.counters["texts"] = static_cast<double>(canvas.texts) / static_cast<double>(drawings);
}

// What opening the ladder window costs: the layout of every network and the
// first drawing of all of them.
void BM_LayoutAndDraw(benchmark::State& state) {
    const auto cpu = loadedCpu();
    CountingCanvas canvas;
    for (auto _ : state) {
        KOPNet net;
        layOut(net, *cpu);
        net.drawContent(canvas);
    }
    state.SetItemsProcessed(state.iterations() * NETWORKS);
    reportDrawing(state, canvas, state.iterations());
}
BENCHMARK(BM_LayoutAndDraw)->Unit(benchmark::kMillisecond);

void BM_Layout(benchmark::State& state) {
    const auto cpu = loadedCpu();
    for (auto _ : state) {
        KOPNet net;
        layOut(net, *cpu);
        benchmark::DoNotOptimize(net.rungs().data());
    }
    state.SetItemsProcessed(state.iterations() * NETWORKS);
}
BENCHMARK(BM_Layout)->Unit(benchmark::kMillisecond);

// What every repaint of the open window costs (twice a second).
void BM_Draw(benchmark::State& state) {
    const auto cpu = loadedCpu();
    KOPNet net;
    layOut(net, *cpu);
    CountingCanvas canvas;
    for (auto _ : state) net.drawContent(canvas);
    state.SetItemsProcessed(state.iterations() * NETWORKS);
    reportDrawing(state, canvas, state.iterations());
}
BENCHMARK(BM_Draw)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
