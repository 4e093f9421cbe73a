// The program window: highlighting, Übernehmen with a good and a broken
// program, reload on a change on disk, recent files, unsaved-edit prompts,
// and the file kinds it keeps.
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "cpu/cpu.h"
#include "gui/code_editor.h"
#include "gui/program_highlighter.h"
#include "gui/program_source.h"
#include "gui/program_window.h"
#include "gui/status_window_set.h"
#include "gui_fixtures.h"
#include "shell/simulator.h"

using namespace sps;
using namespace sps::guitest;

class ProgramWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void highlightsEachCategoryOfASampleText();
    void applyLoadsAGoodProgram();
    void applyMarksTheErrorOfABrokenProgramAndKeepsTheRunningOne();
    void aChangeOnDiskLoadsAgainOrAsksWithUnsavedEdits();
    void recentFilesListTheLastEight();
    void unsavedEditsAreNeverLostSilently();
    void aNewProgramIsSavedWithADialogOnTheFirstApply();
    void aLoadKeepsTheWindowOpen();
    void filesKeepTheirEncodingAndLineEnds();
    void aFileThatIsNoTextOpensReadOnly();
};

namespace {

const char* const GOOD = "ORGANIZATION_BLOCK main:OB1\n"
                         "TITLE=Probe\n"
                         "BEGIN\n"
                         "NETWORK 1 // Schalter\n"
                         "LD E0.0\n"
                         "= A0.0\n"
                         "NETWORK 2\n"
                         "LD SM0.0\n"
                         "INCW MW2\n"
                         "END_ORGANIZATION_BLOCK\n";

QString formatAt(const QTextBlock& block, int position) {
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (position >= range.start && position < range.start + range.length) {
            for (int c = 0; c < 6; ++c) {
                const auto category = static_cast<SourceCategory>(c);
                if (range.format == ProgramHighlighter::format(category)) return QString::number(c);
            }
            return QStringLiteral("?");
        }
    return QStringLiteral("-");
}

QString categoryName(SourceCategory category) { return QString::number(static_cast<int>(category)); }

} // namespace

struct Fixture {
    ProgramFiles files;
    RecordingDialogs* dialogs = nullptr;
    std::unique_ptr<MainWindow> main;
    QString path;

    explicit Fixture(const char* text = GOOD) {
        main = makeMainWindow(dialogs);
        main->setStatusWindows(std::make_unique<StatusWindowSet>(*main, StatusWindowSet::Visibility::OffScreen));
        path = files.write(QStringLiteral("probe.awl"), text);
        main->loadProgram(path);
        main->runCommand(Command::Editor);
    }
    ProgramWindow& window() { return *main->programWindow(); }
    CodeEditor& editor() { return window().editor(); }
    void replaceLine(int line, const QString& text) {
        QTextCursor cursor(editor().document()->findBlockByNumber(line - 1));
        cursor.select(QTextCursor::LineUnderCursor);
        cursor.insertText(text);
    }
};

void ProgramWindowTest::init() { QSettings().remove(QStringLiteral("load")); }
void ProgramWindowTest::cleanup() { QSettings().remove(QStringLiteral("load")); }

void ProgramWindowTest::highlightsEachCategoryOfASampleText() {
    Fixture f;
    QVERIFY(f.main->programWindow() != nullptr);
    QTextDocument* document = f.editor().document();
    struct Expected {
        int line;
        int column;
        SourceCategory category;
    };
    const Expected expected[] = {
        {1, 0, SourceCategory::Keyword},  {2, 3, SourceCategory::Title},    {4, 0, SourceCategory::Keyword},
        {4, 8, SourceCategory::Constant}, {4, 12, SourceCategory::Comment}, {5, 0, SourceCategory::Mnemonic},
        {5, 3, SourceCategory::Operand},  {9, 5, SourceCategory::Operand},
    };
    for (const Expected& e : expected)
        QCOMPARE(formatAt(document->findBlockByNumber(e.line - 1), e.column), categoryName(e.category));
    // An unknown mnemonic is not highlighted, and neither is its operand.
    f.replaceLine(5, QStringLiteral("XYZ E0.0"));
    QCOMPARE(formatAt(document->findBlockByNumber(4), 0), QStringLiteral("-"));
    QCOMPARE(formatAt(document->findBlockByNumber(4), 4), QStringLiteral("-"));
}

void ProgramWindowTest::applyLoadsAGoodProgram() {
    Fixture f;
    f.replaceLine(6, QStringLiteral("= A0.1"));
    QVERIFY(f.window().hasUnsavedEdits());
    f.window().apply();
    QVERIFY(!f.window().hasUnsavedEdits());
    QCOMPARE(f.window().barText(), QStringLiteral("Geladen: probe.awl (2 Netzwerke)"));
    QCOMPARE(f.editor().errorLine(), 0);
    QVERIFY(f.dialogs->errors.isEmpty());
    QFile file(f.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("= A0.1\n"));
    QVERIFY(f.main->simulator().running());
}

void ProgramWindowTest::applyMarksTheErrorOfABrokenProgramAndKeepsTheRunningOne() {
    Fixture f;
    const auto running = f.main->simulator().cpu().program;
    f.main->runSteps(3);
    const auto cycle = f.main->simulator().cycle();
    f.replaceLine(8, QStringLiteral("XYZ SM0.0"));
    f.editor().goToLine(1);
    f.window().apply();
    QCOMPARE(f.editor().errorLine(), 8);
    QCOMPARE(f.editor().currentLine(), 8);
    QVERIFY(f.window().barText().contains(QStringLiteral("Fehler beim einlesen")));
    QVERIFY(f.dialogs->errors.isEmpty());
    // The underline is one of the marks.
    bool underlined = false;
    for (const QTextEdit::ExtraSelection& mark : f.editor().extraSelections())
        underlined |= mark.format.underlineStyle() == QTextCharFormat::WaveUnderline && mark.cursor.blockNumber() == 7;
    QVERIFY(underlined);
    // The old program runs on, where it was.
    QCOMPARE(f.main->simulator().cpu().program, running);
    QVERIFY(f.main->simulator().running());
    QCOMPARE(f.main->simulator().cycle(), cycle);
    // Fixed, it loads and the mark goes.
    f.replaceLine(8, QStringLiteral("LD SM0.0"));
    f.window().apply();
    QCOMPARE(f.editor().errorLine(), 0);
    QVERIFY(f.main->simulator().cpu().program != running);
    QVERIFY(f.window().barText().startsWith(QStringLiteral("Geladen: ")));

    // The picture of the docs: the window with a marked error.
    f.replaceLine(8, QStringLiteral("XYZ SM0.0"));
    f.window().apply();
    const QImage picture = f.window().grab().toImage();
    QVERIFY(!picture.isNull());
    if (const QByteArray where = qgetenv("SPS_PROGRAM_WINDOW_PICTURE"); !where.isEmpty())
        QVERIFY(picture.save(QString::fromLocal8Bit(where)));
}

void ProgramWindowTest::aChangeOnDiskLoadsAgainOrAsksWithUnsavedEdits() {
    Fixture f;
    const auto before = f.main->simulator().cpu().program;
    QFile file(f.path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(GOOD).replace("= A0.0", "= A0.2"));
    file.close();
    QTRY_VERIFY(f.main->simulator().cpu().program != before);
    QVERIFY(f.editor().toPlainText().contains(QStringLiteral("= A0.2")));

    // With unsaved edits the bar asks, and "Behalten" keeps them.
    f.replaceLine(1, QStringLiteral("ORGANIZATION_BLOCK main:OB1 // bearbeitet"));
    const auto second = f.main->simulator().cpu().program;
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(GOOD);
    file.close();
    QTRY_VERIFY(f.window().offersReload());
    QCOMPARE(f.main->simulator().cpu().program, second);
    QVERIFY(f.editor().toPlainText().contains(QStringLiteral("bearbeitet")));
    // "Neu laden" takes the file from disk and loads it.
    f.window().reloadOffered();
    QVERIFY(!f.window().offersReload());
    QVERIFY(!f.editor().toPlainText().contains(QStringLiteral("bearbeitet")));
    QVERIFY(f.main->simulator().cpu().program != second);
}

void ProgramWindowTest::recentFilesListTheLastEight() {
    ProgramFiles files;
    RecordingDialogs* dialogs = nullptr;
    auto main = makeMainWindow(dialogs);
    main->setStatusWindows(std::make_unique<FakeStatusWindows>());
    QStringList paths;
    for (int i = 0; i < 10; ++i) {
        paths << files.write(QStringLiteral("p%1.awl").arg(i), GOOD);
        main->loadProgram(paths.back());
    }
    main->loadProgram(paths[3]); // once more: to the top, not twice
    main->recentMenu()->aboutToShow();
    const QList<QAction*> items = main->recentMenu()->actions();
    QCOMPARE(items.size(), MainWindow::RECENT_FILES);
    QCOMPARE(items[0]->data().toString(), QFileInfo(paths[3]).absoluteFilePath());
    QCOMPARE(items[1]->data().toString(), QFileInfo(paths[9]).absoluteFilePath());
    QCOMPARE(items.back()->data().toString(), QFileInfo(paths[2]).absoluteFilePath());
    // Choosing one loads it; "Neu laden" loads the running file again.
    items[1]->trigger();
    QCOMPARE(main->simulator().programOrigin().path, QFile::encodeName(paths[9]).toStdString());
    const auto before = main->simulator().cpu().program;
    main->runCommand(Command::Reload);
    QVERIFY(main->simulator().cpu().program != before);
    QCOMPARE(main->simulator().programOrigin().path, QFile::encodeName(paths[9]).toStdString());
    QVERIFY(dialogs->errors.isEmpty());
}

void ProgramWindowTest::unsavedEditsAreNeverLostSilently() {
    Fixture f;
    f.replaceLine(6, QStringLiteral("= A0.3"));
    // Cancel: neither the window nor the program closes.
    f.dialogs->nextSaveAnswer = Dialogs::SaveAnswer::Cancel;
    QVERIFY(!f.window().close());
    QVERIFY(f.main->programWindow() != nullptr);
    QVERIFY(!f.main->close());
    QCOMPARE(f.dialogs->saveQuestions.size(), 2);
    QCOMPARE(f.dialogs->saveQuestions.front(), QStringLiteral("Änderungen speichern?"));
    // Save: the file holds the edit, then the window closes.
    f.dialogs->nextSaveAnswer = Dialogs::SaveAnswer::Save;
    QVERIFY(f.window().close());
    QFile file(f.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("= A0.3"));
    QTRY_VERIFY(f.main->programWindow() == nullptr);
}

void ProgramWindowTest::aNewProgramIsSavedWithADialogOnTheFirstApply() {
    Fixture f;
    f.main->runCommand(Command::New);
    QVERIFY(f.window().path().isEmpty());
    QVERIFY(f.window().hasUnsavedEdits());
    QVERIFY(f.editor().toPlainText().startsWith(QStringLiteral("ORGANIZATION_BLOCK")));
    // Cancelling the dialog saves nothing.
    f.window().apply();
    QCOMPARE(f.dialogs->saveTitles, QStringList{QStringLiteral("Programm speichern")});
    QVERIFY(f.window().hasUnsavedEdits());
    f.dialogs->nextSaveChoice = f.files.folder() + QStringLiteral("/neu.awl");
    f.window().apply();
    QCOMPARE(f.main->simulator().programOrigin().path, QFile::encodeName(f.dialogs->nextSaveChoice).toStdString());
    QCOMPARE(f.window().barText(), QStringLiteral("Geladen: neu.awl (1 Netzwerke)"));
    // The second Übernehmen asks no more.
    f.window().apply();
    QCOMPARE(f.dialogs->saveTitles.size(), 2);
}

void ProgramWindowTest::aLoadKeepsTheWindowOpen() {
    Fixture f;
    const QString other = f.files.write(QStringLiteral("other.awl"), GOOD);
    f.main->loadProgram(other);
    QVERIFY(f.main->programWindow() != nullptr);
    QCOMPARE(f.window().path(), other);
    // With unsaved edits of the shown file another load only asks.
    f.replaceLine(6, QStringLiteral("= A0.5"));
    f.main->loadProgram(f.path);
    QCOMPARE(f.window().path(), other);
    QVERIFY(f.window().offersReload());
}

void ProgramWindowTest::filesKeepTheirEncodingAndLineEnds() {
    struct Case {
        QByteArray bytes;
        ProgramSource::Encoding encoding;
        QByteArray lineEnd;
    };
    const Case cases[] = {
        {"U E0.0\n// Schalter \xE4\n", ProgramSource::Encoding::Latin1, "\n"},
        {"U E0.0\r\n// Schalter \xC3\xA4\r\n", ProgramSource::Encoding::Utf8, "\r\n"},
        {"\xEF\xBB\xBFU E0.0\n", ProgramSource::Encoding::Utf8WithMark, "\n"},
        {"U E0.0\r\n", ProgramSource::Encoding::Latin1, "\r\n"},
    };
    for (const Case& c : cases) {
        const ProgramSource source = decodeProgram(c.bytes);
        QCOMPARE(source.encoding, c.encoding);
        QCOMPARE(source.lineEnd, c.lineEnd);
        QVERIFY(!source.text.contains(QLatin1Char('\r')));
        QCOMPARE(encodeProgram(source.text, source).value_or("none"), c.bytes);
    }
    // A character beyond ISO-8859-1 cannot go into a Latin-1 file.
    QVERIFY(!encodeProgram(QStringLiteral("U E0.0 // \u20AC\n"), decodeProgram("U E0.0\n")));
}

void ProgramWindowTest::aFileThatIsNoTextOpensReadOnly() {
    Fixture f;
    QFile file(f.path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray("U E0.0\n\0\x01\x02", 10));
    file.close();
    f.window().openFile(f.path, false);
    QVERIFY(f.window().readOnly());
    QVERIFY(f.window().barText().contains(QStringLiteral("keine Textdatei")));
    f.window().apply(); // nothing is written
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().size(), 10);
}

int runProgramWindowTests(int argc, char** argv) {
    ProgramWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_program_window.moc"
