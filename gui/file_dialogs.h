#pragma once

#include <memory>

#include <QString>

class QFileDialog;
class QWidget;

namespace sps {

// The file dialogs of the desktop program, made but not yet shown. They are
// Qt's own dialogs, so that they speak German with Qt's catalogue, and their
// type column and icons come from the file names alone: reading a file to
// name its type would hang on a file that never ends (a FIFO, /proc/kmsg).

// "Programm laden": one existing *.awl file, starting in `folder`; or one
// existing file under another title and filter.
std::unique_ptr<QFileDialog> programDialog(QWidget* owner, const QString& folder,
                                           const QString& title = QStringLiteral("Programm laden"),
                                           const QString& filter = QStringLiteral("Awlfile (*.awl)"));

// Where to save: `title`, a `filter` such as "CSV-Datei (*.csv)" whose first
// pattern's suffix is added to a name without one, starting at `suggested`;
// asks before replacing a file.
std::unique_ptr<QFileDialog> saveDialog(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& suggested);

} // namespace sps
