#include "gui/program_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextBlock>
#include <QVBoxLayout>

#include "cpu/cpu.h"
#include "cpu/program.h"
#include "gui/code_editor.h"
#include "gui/core_text.h"
#include "gui/dialogs.h"
#include "gui/program_highlighter.h"
#include "loader/program_check.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"

namespace sps {

namespace {

// What "Datei/Neu" begins with: one organization block with one network.
constexpr char SKELETON[] = "ORGANIZATION_BLOCK main:OB1\n"
                            "TITLE=Neues Programm\n"
                            "BEGIN\n"
                            "NETWORK 1 // Schalter 0 schaltet LED 0\n"
                            "U E0.0\n"
                            "= A0.0\n"
                            "END_ORGANIZATION_BLOCK\n";

QString catalogText(const std::string& text) { return fromCore(text).trimmed(); }

std::string corePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

int networkCount(const Program& program) {
    int count = 0;
    for (const Block& block : program) count += static_cast<int>(block.networks.size());
    return count;
}

// Whether `line` (trimmed) starts a network or ends a block.
bool endsNetwork(const QString& line) {
    const QString word = line.trimmed().section(QLatin1Char(' '), 0, 0);
    return word.compare(QStringLiteral("NETWORK"), Qt::CaseInsensitive) == 0 || word.startsWith(QStringLiteral("END_"));
}

} // namespace

ProgramWindow::ProgramWindow(ProgramHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    editor_ = new CodeEditor(this);
    new ProgramHighlighter(editor_->document());
    buildBars();
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ProgramWindow::fileChangedOnDisk);
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            [this](bool modified) { setWindowModified(modified); });
    resize(640, 560);

    const Simulator::ProgramOrigin& origin = host_.simulator().programOrigin();
    if (origin.source == Simulator::Source::None)
        say(catalogText(MessageKey("No program loaded").text()), false);
    else
        openFile(QFile::decodeName(origin.path.c_str()), origin.source == Simulator::Source::Imported);
}

void ProgramWindow::buildBars() {
    auto* apply = new QPushButton(QStringLiteral("Übernehmen"), this);
    apply->setToolTip(QStringLiteral("Speichern und laden (Strg+S)"));
    connect(apply, &QPushButton::clicked, this, &ProgramWindow::apply);

    findBar_ = new QWidget(this);
    auto* findLayout = new QHBoxLayout(findBar_);
    findLayout->setContentsMargins(0, 0, 0, 0);
    findText_ = new QLineEdit(findBar_);
    findText_->setPlaceholderText(QStringLiteral("Suchen (Eingabe: weiter)"));
    connect(findText_, &QLineEdit::returnPressed, this, &ProgramWindow::findNext);
    lineNumber_ = new QLineEdit(findBar_);
    lineNumber_->setPlaceholderText(QStringLiteral("Zeile"));
    lineNumber_->setMaximumWidth(90);
    connect(lineNumber_, &QLineEdit::returnPressed, this, [this] {
        bool number = false;
        const int line = lineNumber_->text().toInt(&number);
        if (number) editor_->goToLine(line);
        editor_->setFocus();
    });
    findLayout->addWidget(findText_);
    findLayout->addWidget(lineNumber_);
    findBar_->hide();

    bar_ = new QLabel(this);
    bar_->setWordWrap(true);
    // Room for a message of two lines, so that the text above never jumps.
    bar_->setMinimumHeight(2 * bar_->fontMetrics().lineSpacing() + 4);
    bar_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reload_ = new QPushButton(QStringLiteral("Neu laden"), this);
    keep_ = new QPushButton(QStringLiteral("Behalten"), this);
    connect(reload_, &QPushButton::clicked, this, &ProgramWindow::reloadOffered);
    connect(keep_, &QPushButton::clicked, this, [this] {
        reload_->hide();
        keep_->hide();
        bar_->clear();
    });
    reload_->hide();
    keep_->hide();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bar_, 1);
    bottom->addWidget(reload_);
    bottom->addWidget(keep_);
    bottom->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(findBar_);
    layout->addWidget(editor_, 1);
    layout->addLayout(bottom);

    // The window's own keys, which take precedence over the main window's.
    const auto key = [this](QKeySequence sequence, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_S), &ProgramWindow::apply);
    key(QKeySequence(Qt::CTRL | Qt::Key_F), &ProgramWindow::toggleFind);
    key(QKeySequence(Qt::CTRL | Qt::Key_G), &ProgramWindow::toggleGoTo);
    key(QKeySequence(Qt::Key_F3), &ProgramWindow::findNext);
    key(QKeySequence(Qt::Key_Escape), [this] {
        findBar_->hide();
        editor_->setFocus();
    });
}

QString ProgramWindow::barText() const { return bar_->text(); }
bool ProgramWindow::offersReload() const { return !reload_->isHidden(); }
bool ProgramWindow::hasUnsavedEdits() const { return editor_->document()->isModified(); }
bool ProgramWindow::readOnly() const { return editor_->isReadOnly(); }

void ProgramWindow::say(const QString& text, bool error) {
    bar_->setText(text);
    bar_->setStyleSheet(error ? QStringLiteral("color: #b00000; font-weight: bold") : QString());
}

void ProgramWindow::readFile(const QString& path) {
    if (!path_.isEmpty()) watcher_.removePath(path_);
    path_ = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        written_.clear();
        source_ = {};
        editor_->setPlainText({});
        editor_->setReadOnly(true);
        say(catalogText(formatMessage("File %s not found\n", corePath(path).c_str())), true);
        return;
    }
    written_ = file.readAll();
    source_ = decodeProgram(written_);
    editor_->setPlainText(source_.text);
    editor_->setReadOnly(!source_.isText);
    editor_->markError(0);
    editor_->markNetwork(0, 0);
    watcher_.addPath(path);
    setWindowFilePath(path);
    if (!source_.isText)
        say(catalogText(formatMessage("Program %s is no text", corePath(QFileInfo(path).fileName()).c_str())), true);
    else
        say({}, false);
}

void ProgramWindow::openFile(const QString& path, bool import) {
    import_ = import;
    readFile(path);
}

void ProgramWindow::openSkeleton() {
    if (!path_.isEmpty()) watcher_.removePath(path_);
    path_.clear();
    import_ = false;
    written_.clear();
    source_ = {};
    editor_->setReadOnly(false);
    editor_->setPlainText(QString::fromLatin1(SKELETON));
    editor_->markError(0);
    editor_->markNetwork(0, 0);
    // Unsaved until the first Übernehmen.
    editor_->document()->setModified(true);
    say({}, false);
}

bool ProgramWindow::save() {
    if (path_.isEmpty()) {
        const QString chosen =
            host_.dialogs().chooseSaveFile(this, QStringLiteral("Programm speichern"),
                                           QStringLiteral("Awlfile (*.awl)"), QStringLiteral("programm.awl"));
        if (chosen.isEmpty()) return false;
        path_ = chosen;
        setWindowFilePath(path_);
    }
    const std::optional<QByteArray> bytes = encodeProgram(editor_->toPlainText(), source_);
    if (!bytes) {
        say(catalogText(MessageKey("Character beyond ISO-8859-1").text()), true);
        return false;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        say(catalogText(formatMessage("File %s cannot be written", corePath(path_).c_str())), true);
        return false;
    }
    written_ = *bytes;
    editor_->document()->setModified(false);
    // The saved file is a new one on disk: watch it again.
    watcher_.removePath(path_);
    watcher_.addPath(path_);
    return true;
}

void ProgramWindow::apply() {
    if (readOnly() || !save()) return;
    const std::optional<CPUException> error = checkProgramFile(corePath(path_), {.import = import_, .symbolsPath = {}});
    if (error) {
        editor_->markError(error->line());
        if (error->line() > 0) editor_->goToLine(error->line());
        say(catalogText(error->messageText()), true);
        return;
    }
    if (import_)
        host_.importProgram(path_);
    else
        host_.loadProgram(path_);
}

void ProgramWindow::programLoaded(const QString& path, bool import) {
    if (path != path_ && hasUnsavedEdits()) {
        offerReload(path, import);
        return;
    }
    QFile file(path);
    const bool changed = path != path_ || !file.open(QIODevice::ReadOnly) || file.readAll() != written_;
    if (changed) openFile(path, import);
    import_ = import;
    reload_->hide();
    keep_->hide();
    editor_->markError(0);
    const auto program = host_.simulator().cpu().program;
    const int networks = program ? networkCount(*program) : 0;
    say(catalogText(formatMessage("Loaded: %s (%d networks)", corePath(QFileInfo(path).fileName()).c_str(), networks)),
        false);
}

void ProgramWindow::fileChangedOnDisk() {
    QFile file(path_);
    // Editors save by replacing the file: it may be back under the same name.
    if (QFileInfo::exists(path_)) watcher_.addPath(path_);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() == written_) return;
    if (hasUnsavedEdits()) {
        offerReload(path_, import_);
        return;
    }
    readFile(path_);
    if (import_)
        host_.importProgram(path_);
    else
        host_.loadProgram(path_);
}

void ProgramWindow::offerReload(const QString& path, bool import) {
    offeredPath_ = path;
    offeredImport_ = import;
    say(catalogText(formatMessage("Program %s changed on disk", corePath(QFileInfo(path).fileName()).c_str())), true);
    reload_->show();
    keep_->show();
}

void ProgramWindow::reloadOffered() {
    reload_->hide();
    keep_->hide();
    editor_->document()->setModified(false);
    const bool loaded = host_.simulator().programOrigin().path == corePath(offeredPath_);
    openFile(offeredPath_, offeredImport_);
    // A change on disk is loaded as well; a program the host loaded already runs.
    if (!loaded || offeredPath_ == path_) {
        if (offeredImport_)
            host_.importProgram(offeredPath_);
        else
            host_.loadProgram(offeredPath_);
    }
}

void ProgramWindow::showNetwork(const Network* network) {
    if (network == nullptr || network->line <= 0) {
        editor_->markNetwork(0, 0);
        return;
    }
    int last = network->line;
    for (QTextBlock block = editor_->document()->findBlockByNumber(network->line); block.isValid();
         block = block.next()) {
        if (endsNetwork(block.text())) break;
        last = block.blockNumber() + 1;
    }
    editor_->markNetwork(network->line, last);
}

void ProgramWindow::goToNetwork(const Network* network) {
    if (network == nullptr || network->line <= 0) return;
    showNetwork(network);
    editor_->goToLine(network->line);
    raise();
    activateWindow();
}

void ProgramWindow::toggleFind() {
    findBar_->show();
    findText_->setFocus();
    findText_->selectAll();
}

void ProgramWindow::toggleGoTo() {
    findBar_->show();
    lineNumber_->setText(QString::number(editor_->currentLine()));
    lineNumber_->setFocus();
    lineNumber_->selectAll();
}

void ProgramWindow::findNext() {
    const QString text = findText_->text();
    if (text.isEmpty()) return;
    if (!editor_->find(text)) {
        // From the top again.
        editor_->moveCursor(QTextCursor::Start);
        editor_->find(text);
    }
}

bool ProgramWindow::mayClose() {
    if (!hasUnsavedEdits()) return true;
    switch (host_.dialogs().askSaveChanges(this, catalogText(MessageKey("Save changes?").text()))) {
    case Dialogs::SaveAnswer::Save: return save();
    case Dialogs::SaveAnswer::Discard: editor_->document()->setModified(false); return true;
    case Dialogs::SaveAnswer::Cancel: return false;
    }
    return false;
}

} // namespace sps
