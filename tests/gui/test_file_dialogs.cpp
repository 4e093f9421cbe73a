#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include "gui/file_dialogs.h"

using namespace sps;

// The file dialogs of "Datei/Laden" and of the export of "Verlauf", made as
// the desktop program makes them, shown without waiting on them.
class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void typeColumnComesFromTheNamesAlone_data();
    void typeColumnComesFromTheNamesAlone();
};

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
