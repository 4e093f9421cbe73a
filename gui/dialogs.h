#pragma once

#include <cstdint>
#include <optional>

#include <QString>

class QWidget;

namespace sps {

// The modal dialogs of the main window, behind one seam: the desktop program
// uses the platform's boxes, a screenshot run writes errors to standard
// error, and tests record what would have been shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The error box: caption "Fehler", the text, an error icon, one OK button.
    virtual void showError(QWidget* owner, const QString& text) = 0;
    // Asks for a program file ("Programm laden", "*.awl", existing files only),
    // starting in `folder`. Empty when the user cancels.
    virtual QString chooseProgram(QWidget* owner, const QString& folder) = 0;
    // The same for "Programm importieren", any file offered beside *.awl.
    virtual QString chooseImport(QWidget* owner, const QString& folder) = 0;
    // The error box of a load that failed on a file the import reads: the
    // text, below it the offer, and the buttons "Importieren" and OK.
    // Whether the user chose to import.
    virtual bool offerImport(QWidget* owner, const QString& text) = 0;
    // A note: caption "Hinweis", the text, one OK button.
    virtual void showNotice(QWidget* owner, const QString& text) = 0;
    // Asks where to save a file: `title`, a `filter` such as "CSV-Datei
    // (*.csv)" whose first pattern's suffix is added to a name without one,
    // starting at `suggested`; asks before replacing a file. Empty when the
    // user cancels.
    virtual QString chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                   const QString& suggested) = 0;
    // "Zurück zu …": asks for a cycle from `oldest` to `newest`, offering
    // `current`. Empty when the user cancels.
    virtual std::optional<std::uint64_t> chooseCycle(QWidget* owner, std::uint64_t current, std::uint64_t oldest,
                                                     std::uint64_t newest) = 0;
    // Unsaved edits about to go: the question `text` with the buttons
    // "Speichern", "Verwerfen" and "Abbrechen".
    enum class SaveAnswer { Save, Discard, Cancel };
    virtual SaveAnswer askSaveChanges(QWidget* owner, const QString& text) = 0;
};

// QMessageBox and QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void showError(QWidget* owner, const QString& text) override;
    QString chooseProgram(QWidget* owner, const QString& folder) override;
    QString chooseImport(QWidget* owner, const QString& folder) override;
    bool offerImport(QWidget* owner, const QString& text) override;
    void showNotice(QWidget* owner, const QString& text) override;
    QString chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                           const QString& suggested) override;
    std::optional<std::uint64_t> chooseCycle(QWidget* owner, std::uint64_t current, std::uint64_t oldest,
                                             std::uint64_t newest) override;
    SaveAnswer askSaveChanges(QWidget* owner, const QString& text) override;
};

// The line below a failed load's error that offers the import.
QString importOfferText();

// For runs without a user: an error becomes the line "Fehler: " and its text
// on standard error (a note "Hinweis: "), and no file is ever chosen.
class ConsoleDialogs final : public Dialogs {
public:
    void showError(QWidget* owner, const QString& text) override;
    QString chooseProgram(QWidget*, const QString&) override { return {}; }
    QString chooseImport(QWidget*, const QString&) override { return {}; }
    bool offerImport(QWidget* owner, const QString& text) override {
        showError(owner, text);
        return false;
    }
    void showNotice(QWidget* owner, const QString& text) override;
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<std::uint64_t> chooseCycle(QWidget*, std::uint64_t, std::uint64_t, std::uint64_t) override {
        return std::nullopt;
    }
    // Without a user nothing is ever edited.
    SaveAnswer askSaveChanges(QWidget*, const QString&) override { return SaveAnswer::Discard; }

    int errorCount() const { return errors_; }

private:
    int errors_ = 0;
};

} // namespace sps
