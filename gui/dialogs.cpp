#include "gui/dialogs.h"

#include <cstdio>

#include <limits>

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/file_dialogs.h"

namespace sps {

void QtDialogs::showError(QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QStringLiteral("Fehler"), text, QMessageBox::Ok);
}

namespace {

QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

} // namespace

QString QtDialogs::chooseProgram(QWidget* owner, const QString& folder) {
    return chosenFile(*programDialog(owner, folder));
}

QString QtDialogs::chooseImport(QWidget* owner, const QString& folder) {
    return chosenFile(*programDialog(owner, folder, QStringLiteral("Programm importieren"),
                                     QStringLiteral("Awlfile (*.awl);;Alle Dateien (*)")));
}

QString importOfferText() { return QStringLiteral("Die Datei lässt sich mit „Datei/Importieren“ öffnen."); }

bool QtDialogs::offerImport(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), text + QStringLiteral("\n\n") + importOfferText(),
                    QMessageBox::NoButton, owner);
    const QPushButton* import = box.addButton(QStringLiteral("Importieren"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == import;
}

void QtDialogs::showNotice(QWidget* owner, const QString& text) {
    QMessageBox::information(owner, QStringLiteral("Hinweis"), text, QMessageBox::Ok);
}

QString QtDialogs::chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& suggested) {
    return chosenFile(*saveDialog(owner, title, filter, suggested));
}

std::optional<std::uint64_t> QtDialogs::chooseCycle(QWidget* owner, std::uint64_t current, std::uint64_t oldest,
                                                    std::uint64_t newest) {
    const QString title = QStringLiteral("Zurück zu");
    const QString label = QStringLiteral("Zyklus (%1 bis %2):").arg(oldest).arg(newest);
    bool ok = false;
    // A spin box while the cycles fit its int; after billions of scans, a line
    // to type the number in.
    if (newest <= static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        const int chosen = QInputDialog::getInt(owner, title, label, static_cast<int>(current), static_cast<int>(oldest),
                                                static_cast<int>(newest), 1, &ok);
        if (!ok) return std::nullopt;
        return static_cast<std::uint64_t>(chosen);
    }
    const QString text = QInputDialog::getText(owner, title, label, QLineEdit::Normal, QString::number(current), &ok);
    if (!ok) return std::nullopt;
    const qulonglong chosen = text.trimmed().toULongLong(&ok);
    if (!ok) return std::nullopt;
    return chosen;
}

Dialogs::SaveAnswer QtDialogs::askSaveChanges(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Programm"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveAnswer::Save;
    case QMessageBox::Discard: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
    }
}

void ConsoleDialogs::showNotice(QWidget*, const QString& text) {
    std::fputs((QStringLiteral("Hinweis: ") + text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

void ConsoleDialogs::showError(QWidget*, const QString& text) {
    ++errors_;
    QString line = QStringLiteral("Fehler: ") + text;
    if (!line.endsWith(QLatin1Char('\n'))) line += QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

} // namespace sps
