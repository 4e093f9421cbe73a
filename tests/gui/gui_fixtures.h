#pragma once

// What the GUI tests put in place of the modal dialogs and the status
// windows, and the programs they load.

#include <memory>
#include <set>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/station_widget.h"
#include "gui/status_windows.h"
#include "shell/trace_info.h"

namespace sps::guitest {

// Records the error boxes and answers the file dialogs with `nextChoice`
// (a program) and `nextSaveChoice` (where to save).
class RecordingDialogs final : public Dialogs {
public:
    QStringList errors;
    QStringList foldersAsked;
    QStringList saveTitles;
    QString nextChoice;
    QString nextSaveChoice;
    QString nextImportChoice;
    QStringList offers;
    QStringList notices;
    bool acceptOffer = false;
    std::optional<std::uint64_t> nextCycle;
    QStringList cyclesAsked; // "current oldest newest"

    void showError(QWidget*, const QString& text) override { errors << text; }
    QString chooseProgram(QWidget*, const QString& folder) override {
        foldersAsked << folder;
        return nextChoice;
    }
    QString chooseImport(QWidget*, const QString& folder) override {
        foldersAsked << folder;
        return nextImportChoice;
    }
    bool offerImport(QWidget*, const QString& text) override {
        offers << text;
        return acceptOffer;
    }
    void showNotice(QWidget*, const QString& text) override { notices << text; }
    QString chooseSaveFile(QWidget*, const QString& title, const QString&, const QString&) override {
        saveTitles << title;
        return nextSaveChoice;
    }
    std::optional<std::uint64_t> chooseCycle(QWidget*, std::uint64_t current, std::uint64_t oldest,
                                             std::uint64_t newest) override {
        cyclesAsked << QStringLiteral("%1 %2 %3").arg(current).arg(oldest).arg(newest);
        return nextCycle;
    }
    QStringList saveQuestions;
    SaveAnswer nextSaveAnswer = SaveAnswer::Cancel;
    SaveAnswer askSaveChanges(QWidget*, const QString& text) override {
        saveQuestions << text;
        return nextSaveAnswer;
    }
};

// Status windows that only remember what is open.
class FakeStatusWindows final : public StatusWindows {
public:
    std::set<StatusWindow> open_;
    int closeAllCalls = 0;
    int traces = 0;

    bool isOpen(StatusWindow window) const override { return open_.count(window) != 0; }
    QWidget* openWindow(StatusWindow) const override { return nullptr; }
    void open(StatusWindow window) override { open_.insert(window); }
    void openTrace(std::unique_ptr<TraceInfo>) override {
        open_.insert(StatusWindow::Trace);
        ++traces;
    }
    void closeAll() override {
        open_.clear();
        ++closeAllCalls;
    }
};

// Counts its scans in MW2; with switch 0 on, the scan that counts 2 jumps to
// a label that does not exist.
inline const char* const COUNTING_PROGRAM = "ORGANIZATION_BLOCK main:OB1\n"
                                            "BEGIN\n"
                                            "NETWORK 1\n"
                                            "LD SM0.0\n"
                                            "INCW MW2\n"
                                            "NETWORK 2\n"
                                            "LD E0.0\n"
                                            "UW= MW2, 2\n"
                                            "JMP 3\n"
                                            "END_ORGANIZATION_BLOCK\n";

// Program files in a folder of their own that lives as long as the object.
class ProgramFiles {
public:
    QString write(const QString& name, const char* text) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(text);
        return path;
    }
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A main window whose dialogs `dialogs` records (the window owns them).
inline std::unique_ptr<MainWindow> makeMainWindow(RecordingDialogs*& dialogs) {
    auto recording = std::make_unique<RecordingDialogs>();
    dialogs = recording.get();
    return std::make_unique<MainWindow>(std::move(recording));
}

// Shows `window` as the active window with the station focused, as a user
// finds it; false when the platform does not activate it.
inline bool showActive(MainWindow& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) return false;
    window.station().setFocus();
    return true;
}

} // namespace sps::guitest
