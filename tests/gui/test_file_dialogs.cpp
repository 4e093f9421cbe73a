#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include "gui/file_dialogs.h"

using namespace sps;

// The file dialogs of "Datei/Laden" and of the export of "Verlauf", made as
// the desktop program makes them, shown without waiting on them.
class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void qtTextsAreGerman();
    void typeColumnComesFromTheNamesAlone_data();
    void typeColumnComesFromTheNamesAlone();
};

namespace {

// In alphabetical order.
QStringList buttonTexts(const QFileDialog& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) texts << button->text();
    texts.sort();
    return texts;
}

QString labelText(const QFileDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("(no label %1)").arg(QString::fromLatin1(name));
}

} // namespace

void FileDialogsTest::qtTextsAreGerman() {
    // The start-up installed Qt's German catalogue.
    const QList<QTranslator*> translators = qApp->findChildren<QTranslator*>();
    QVERIFY(std::any_of(translators.begin(), translators.end(),
                        [](const QTranslator* translator) { return translator->language().startsWith("de"); }));

    const auto open = programDialog(nullptr, QDir::tempPath());
    QCOMPARE(buttonTexts(*open), (QStringList{"&Öffnen", "Abbrechen"}));
    QCOMPARE(labelText(*open, "lookInLabel"), "Suchen in:");
    QCOMPARE(labelText(*open, "fileNameLabel"), "Datei&name:");
    QCOMPARE(labelText(*open, "fileTypeLabel"), "Dateien des Typs:");
    const auto save = saveDialog(nullptr, "Aufzeichnung als CSV exportieren", "CSV-Datei (*.csv)",
                                 QDir::temp().filePath("aufzeichnung.csv"));
    QCOMPARE(buttonTexts(*save), (QStringList{"Abbrechen", "S&peichern"}));

    // The line edits' menus too.
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QCOMPARE(menu->actions().front()->text().section('\t', 0, 0), "&Rückgängig");
}

void FileDialogsTest::typeColumnComesFromTheNamesAlone_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("Programm laden") << false << "awl";
    QTest::newRow("Aufzeichnung exportieren") << true << "vcd";
}

// A folder with a FIFO that no one writes (the dialog lists no such
// entries) and a file whose name says nothing of what its contents would
// tell (a PDF): the dialog shows the file's type by its name, and reads
// neither.
void FileDialogsTest::typeColumnComesFromTheNamesAlone() {
    QFETCH(bool, save);
    QFETCH(QString, suffix);
    QTemporaryDir folder;
    const QString fifo = folder.filePath("kmsg." + suffix);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString pdf = folder.filePath("notes." + suffix);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
    file.close();

    const auto dialog = save ? saveDialog(nullptr, "Aufzeichnung als VCD exportieren", "Value Change Dump (*.vcd)",
                                          folder.filePath("aufzeichnung.vcd"))
                             : programDialog(nullptr, folder.path());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* model = dialog->findChild<QFileSystemModel*>();
    QVERIFY(model);
    QTRY_VERIFY(model->index(pdf, 2).isValid());
    const QModelIndex type = model->index(pdf, 2);
    QTRY_VERIFY(!type.data().toString().isEmpty());
    const QMimeDatabase types;
    QCOMPARE(type.data().toString(),
             types.mimeTypeForFile(QFileInfo(pdf).fileName(), QMimeDatabase::MatchExtension).comment());
    QVERIFY(type.data().toString() != types.mimeTypeForName("application/pdf").comment());
    dialog->reject();
}

int runFileDialogsTests(int argc, char** argv) {
    FileDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_file_dialogs.moc"
