#include <vector>

#include <QObject>
#include <QTest>

#include "gui/command_line.h"
#include "gui/status_window_kinds.h"

using namespace sps;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void rejects_data();
    void rejects();
    void statusScreenshotsLieBesideTheScreenshot();
};

namespace {

std::optional<GuiCommandLine> parse(const QStringList& words, std::string& problem) {
    std::vector<QByteArray> bytes;
    for (const QString& word : words) bytes.push_back(word.toUtf8());
    std::vector<const char*> arguments;
    for (const QByteArray& b : bytes) arguments.push_back(b.constData());
    return parseGuiCommandLine(arguments, problem);
}

} // namespace

void CommandLineTest::parses_data() {
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<qlonglong>("steps");
    QTest::addColumn<QString>("screenshot");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("open");   // the windows by name, comma-separated
    QTest::addColumn<QString>("record"); // the operands, each with its format
    QTest::addColumn<uint>("run");
    QTest::newRow("nothing") << QStringList{} << false << 0LL << ""
                             << ""
                             << ""
                             << "" << 0u;
    QTest::newRow("everything")
        << QStringList{"--manual-clock", "--steps", "300",      "--open", "kop,asi,cpu,trace,trend",
                       "--screenshot",   "a.png",   "--record", "E0.0",   "--run",
                       "4294967295",     "p.awl"}
        << true << 300LL << "a.png"
        << "p.awl"
        << "kop,asi,cpu,trace,trend"
        << "E0.0" << 4294967295u;
    QTest::newRow("program first") << QStringList{"p.awl", "--steps", "0"} << false << 0LL << ""
                                   << "p.awl"
                                   << ""
                                   << "" << 0u;
    QTest::newRow("lone dash is a file") << QStringList{"-"} << false << 0LL << ""
                                         << "-"
                                         << ""
                                         << "" << 0u;
    QTest::newRow("windows in the order given, each once")
        << QStringList{"--open", "trace,watch,cpu,trace", "--open", "kop"} << false << 0LL << ""
        << ""
        << "trace,watch,cpu,kop"
        << "" << 0u;
    QTest::newRow("operands with formats, in the order given")
        << QStringList{"--record", "VD8/R,*VD4,T37/I", "--record", "MB0/W"} << false << 0LL << ""
        << ""
        << ""
        << "VD8/R *VD4 T37/I MB0/W" << 0u;
}

void CommandLineTest::parses() {
    QFETCH(QStringList, words);
    std::string problem;
    const auto line = parse(words, problem);
    QVERIFY2(line.has_value(), problem.c_str());
    QTEST(line->manualClock, "manual");
    QTEST(static_cast<qlonglong>(line->steps), "steps");
    QTEST(QString::fromStdString(line->screenshot), "screenshot");
    QTEST(QString::fromStdString(line->program), "program");
    QStringList open;
    for (const StatusWindow window : line->open) open << statusWindowKind(window).name;
    QTEST(open.join(','), "open");
    QStringList record;
    for (const RecordedOperandText& operand : line->record)
        record << QString::fromStdString(operand.operand) +
                      (operand.type ? QStringLiteral("/") + QStringLiteral("IBWDR")[int(*operand.type)] : QString());
    QTEST(record.join(' '), "record");
    QTEST(uint(line->runMs), "run");
}

void CommandLineTest::rejects_data() {
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("problem");
    QTest::newRow("unknown option") << QStringList{"--fast"} << "unknown option '--fast'";
    QTest::newRow("steps without count") << QStringList{"--steps"} << "--steps needs";
    QTest::newRow("negative steps") << QStringList{"--steps", "-1"} << "--steps needs";
    QTest::newRow("steps with text") << QStringList{"--steps", "12x"} << "--steps needs";
    QTest::newRow("steps beyond range") << QStringList{"--steps", "99999999999999999999"} << "--steps needs";
    QTest::newRow("screenshot without file") << QStringList{"--screenshot"} << "--screenshot needs";
    QTest::newRow("two programs") << QStringList{"a.awl", "b.awl"} << "only one program";
    QTest::newRow("open without windows")
        << QStringList{"--open"}
        << "--open needs status windows separated by commas (kop, asi, cpu, trace, watch, trend, faults, program)";
    QTest::newRow("open an unknown window") << QStringList{"--open", "cpu,memory"} << "--open needs status windows";
    QTest::newRow("open with an empty name") << QStringList{"--open", "cpu,,kop"} << "--open needs status windows";
    QTest::newRow("open with spaces") << QStringList{"--open", "cpu, kop"} << "--open needs status windows";
    QTest::newRow("record without operands") << QStringList{"--record"} << "--record needs operands";
    QTest::newRow("record with an empty operand") << QStringList{"--record", "E0.0,,MW2"} << "--record needs";
    QTest::newRow("record with an unknown format") << QStringList{"--record", "MW2/X"} << "--record needs";
    QTest::newRow("record with a format alone") << QStringList{"--record", "/R"} << "--record needs";
    QTest::newRow("run beyond the clock") << QStringList{"--run", "4294967296"} << "--run needs";
    QTest::newRow("run negative") << QStringList{"--run", "-10"} << "--run needs";
    QTest::newRow("network steps beyond range")
        << QStringList{"--network-steps", "2147483648"} << "--network-steps needs";
    QTest::newRow("network steps without count") << QStringList{"--network-steps"} << "--network-steps needs";
    QTest::newRow("back with text") << QStringList{"--back", "three"} << "--back needs";
}

void CommandLineTest::rejects() {
    QFETCH(QStringList, words);
    QFETCH(QString, problem);
    std::string said;
    QVERIFY(!parse(words, said).has_value());
    QVERIFY2(QString::fromStdString(said).startsWith(problem), said.c_str());
    QVERIFY(said.find('\n') == std::string::npos);
}

void CommandLineTest::statusScreenshotsLieBesideTheScreenshot() {
    QCOMPARE(statusScreenshotPath("shots/main.png", StatusWindow::Ladder), "shots/main-kop.png");
    QCOMPARE(statusScreenshotPath("MAIN.PNG", StatusWindow::Trace), "MAIN-trace.png");
    QCOMPARE(statusScreenshotPath("main", StatusWindow::Cpu), "main-cpu.png");
    QCOMPARE(statusScreenshotPath(".png", StatusWindow::Asi), ".png-asi.png");
}

int runCommandLineTests(int argc, char** argv) {
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_command_line.moc"
