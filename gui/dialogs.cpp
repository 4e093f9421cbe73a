#include "gui/dialogs.h"

#include <cstdio>

#include <QFileDialog>
#include <QMessageBox>

namespace sps {

void QtDialogs::showError(QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QStringLiteral("Fehler"), text, QMessageBox::Ok);
}

QString QtDialogs::chooseProgram(QWidget* owner, const QString& folder) {
    // getOpenFileName accepts only files that exist, in folders that exist.
    return QFileDialog::getOpenFileName(owner, QStringLiteral("Programm laden"), folder,
                                        QStringLiteral("Awlfile (*.awl)"));
}

QString QtDialogs::chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& suggested) {
    QFileDialog dialog(owner, title, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString pattern = filter.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
    dialog.setDefaultSuffix(pattern.section(QLatin1Char('.'), 1).section(QLatin1Char(' '), 0, 0));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

void ConsoleDialogs::showError(QWidget*, const QString& text) {
    ++errors_;
    QString line = QStringLiteral("Fehler: ") + text;
    if (!line.endsWith(QLatin1Char('\n'))) line += QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

} // namespace sps
