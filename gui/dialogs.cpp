#include "gui/dialogs.h"

#include <cstdio>

#include <QFileDialog>
#include <QMessageBox>

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

QString QtDialogs::chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& suggested) {
    return chosenFile(*saveDialog(owner, title, filter, suggested));
}

void ConsoleDialogs::showError(QWidget*, const QString& text) {
    ++errors_;
    QString line = QStringLiteral("Fehler: ") + text;
    if (!line.endsWith(QLatin1Char('\n'))) line += QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

} // namespace sps
