#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QString>
#include <QWidget>

#include "gui/program_source.h"
#include "gui/status_windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sps {

class CodeEditor;
class Dialogs;
class Simulator;
struct Block;
struct Network;

// What the program window loads through: the main window, which loads and
// imports as "Datei/Laden" and "Datei/Importieren" do.
class ProgramHost {
public:
    virtual Simulator& simulator() = 0;
    virtual Dialogs& dialogs() = 0;
    virtual void loadProgram(const QString& path) = 0;
    virtual void importProgram(const QString& path) = 0;

protected:
    ~ProgramHost() = default;
};

// The status window "Programm": the source of the loaded program to edit,
// check and load again. "Übernehmen" (Strg+S) saves the file as it was
// written (encoding, line ends) and loads it the way it was opened; an error
// is marked at its line and named in the bar below the text while the
// running program goes on. The file is watched: a change on disk loads it
// again unless the window has unsaved edits, which the bar then asks about.
class ProgramWindow final : public QWidget, public ClosingAsks {
    Q_OBJECT
public:
    explicit ProgramWindow(ProgramHost& host, QWidget* parent = nullptr);

    CodeEditor& editor() { return *editor_; }
    QString path() const { return path_; }
    QString barText() const;
    // Whether the bar offers "Neu laden" and "Behalten".
    bool offersReload() const;
    bool hasUnsavedEdits() const;
    bool readOnly() const;

    // Shows the program file at `path`, read as load (or import) reads it.
    void openFile(const QString& path, bool import);
    // A new program in the window: one organization block, one network;
    // the first Übernehmen asks where to save it.
    void openSkeleton();
    // "Übernehmen": save, check, load.
    void apply();
    // The host loaded `path`: the window shows it (unless it holds unsaved
    // edits of another file, which the bar asks about), and says so.
    void programLoaded(const QString& path, bool import);
    // The network where the run stopped or the mouse points; null: none.
    void showNetwork(const Network* network);
    // Puts the cursor on the network's line.
    void goToNetwork(const Network* network);

    // The bar's "Neu laden": the offered file from disk, loaded.
    void reloadOffered();

    // Asks "Änderungen speichern?" when there are unsaved edits: whether the
    // window may go (saved, or the edits discarded).
    bool mayClose() override;

private:
    void buildBars();
    void readFile(const QString& path);
    void fileChangedOnDisk();
    void offerReload(const QString& path, bool import);
    void say(const QString& text, bool error);
    void toggleFind();
    void findNext();
    void toggleGoTo();
    bool save();

    ProgramHost& host_;
    CodeEditor* editor_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QLineEdit* lineNumber_ = nullptr;
    QLabel* bar_ = nullptr;
    QPushButton* reload_ = nullptr;
    QPushButton* keep_ = nullptr;
    QFileSystemWatcher watcher_;
    QString path_;
    bool import_ = false;
    ProgramSource source_;
    QByteArray written_; // the file's bytes as the window last read or wrote them
    // What "Neu laden" loads.
    QString offeredPath_;
    bool offeredImport_ = false;
};

} // namespace sps
