#include "gui/file_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

namespace sps {

namespace {

// Types and icons by name. Qt's provider asks the MIME database for a file's
// type by its contents where the name says nothing, and so opens and reads
// it, in whatever thread fills the dialog's model.
class TypesByName final : public QFileIconProvider {
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override {
        const QStyle* style = QApplication::style();
        if (info.isRoot()) return style->standardIcon(QStyle::SP_DriveHDIcon);
        if (info.isDir()) return style->standardIcon(QStyle::SP_DirIcon);
        const QIcon file = style->standardIcon(info.isSymLink() ? QStyle::SP_FileLinkIcon : QStyle::SP_FileIcon);
        return QIcon::fromTheme(byName(info).iconName(), file);
    }

    QString type(const QFileInfo& info) const override {
        // Folders, links and other entries that are no regular file are
        // named by what they are; only a regular file's type has to be found.
        if (!info.isFile()) return QFileIconProvider::type(info);
        const QMimeType type = byName(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    QMimeType byName(const QFileInfo& info) const {
        return names_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }

    QMimeDatabase names_;
};

// One for every dialog: a dialog's model may still ask it while the dialog goes.
TypesByName& typesByName() {
    static TypesByName provider;
    return provider;
}

std::unique_ptr<QFileDialog> fileDialog(QWidget* owner, const QString& title, const QString& where,
                                        const QString& filter) {
    auto dialog = std::make_unique<QFileDialog>(owner, title, where, filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(&typesByName());
    return dialog;
}

} // namespace

std::unique_ptr<QFileDialog> programDialog(QWidget* owner, const QString& folder, const QString& title,
                                           const QString& filter) {
    auto dialog = fileDialog(owner, title, folder, filter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

std::unique_ptr<QFileDialog> saveDialog(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& suggested) {
    auto dialog = fileDialog(owner, title, suggested, filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    const QString pattern = filter.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
    dialog->setDefaultSuffix(pattern.section(QLatin1Char('.'), 1).section(QLatin1Char(' '), 0, 0));
    dialog->selectFile(suggested);
    return dialog;
}

} // namespace sps
