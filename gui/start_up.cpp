#include "gui/start_up.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "gui/art_resources.h"

namespace sps {

bool setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("spssim"));
    QApplication::setOrganizationName(QStringLiteral("spssim"));
    // The desktop entry's name: desktops find the menu entry and the icon of
    // the window by it.
    QApplication::setDesktopFileName(QStringLiteral(SPS_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    // German whatever the user's language: the program's own texts are.
    auto* qtTexts = new QTranslator(&app);
    if (!qtTexts->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}

} // namespace sps
