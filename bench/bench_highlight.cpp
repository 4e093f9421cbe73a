// The program window with a program of 20,000 lines, on Qt's offscreen
// platform: highlighting the whole document (as opening the file does), an
// edit in its middle (a line typed and re-highlighted), and the core's line
// classifier alone over every line.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "gui/program_highlighter.h"
#include "loader/source_highlight.h"

namespace {

constexpr int LINES = 20000;

// Blocks of eight-line networks with comments, both mnemonic sets' operands
// and constants, as learners write them.
QString bigProgram() {
    QString text = QStringLiteral("ORGANIZATION_BLOCK main:OB1\nTITLE=Grosses Programm\nBEGIN\n");
    for (int network = 1; text.count(QLatin1Char('\n')) < LINES - 1; ++network)
        text += QStringLiteral("NETWORK %1 // Netzwerk %1\n"
                               "// Schalter und Merker\n"
                               "U E0.%2\n"
                               "UN M%3.1\n"
                               "O T37\n"
                               "= A0.%2\n"
                               "MOVW 16#%4, VW%5\n")
                    .arg(network)
                    .arg(network % 8)
                    .arg(network % 100)
                    .arg(network % 256, 2, 16, QLatin1Char('0'))
                    .arg(2 * (network % 500));
    return text + QStringLiteral("END_ORGANIZATION_BLOCK\n");
}

void BM_HighlightWholeDocument(benchmark::State& state) {
    const QString text = bigProgram();
    QTextDocument document;
    document.setPlainText(text);
    sps::ProgramHighlighter highlighter(&document);
    for (auto _ : state) {
        highlighter.rehighlight(); // every block, as when the file opens
        benchmark::DoNotOptimize(document.lastBlock().layout());
    }
    state.counters["lines"] = LINES;
}
BENCHMARK(BM_HighlightWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

void BM_EditInTheMiddle(benchmark::State& state) {
    QPlainTextEdit editor;
    editor.setPlainText(bigProgram());
    sps::ProgramHighlighter highlighter(editor.document());
    QTextCursor cursor(editor.document()->findBlockByNumber(LINES / 2));
    for (auto _ : state) {
        cursor.insertText(QStringLiteral("U E1.0 // neu\n"));
        benchmark::DoNotOptimize(cursor.block().layout());
    }
}
BENCHMARK(BM_EditInTheMiddle)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_ClassifyLines(benchmark::State& state) {
    const std::string text = bigProgram().toStdString();
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.emplace_back(text.data() + at, end - at);
        at = end + 1;
    }
    std::vector<sps::SourceSpan> spans;
    for (auto _ : state)
        for (const std::string_view line : lines) {
            sps::highlightLine(line, spans);
            benchmark::DoNotOptimize(spans.data());
        }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ClassifyLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
