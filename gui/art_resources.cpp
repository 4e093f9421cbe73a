#include "gui/art_resources.h"

#include <QIcon>
#include <QString>

// Qt's resource initialiser must be called from the global namespace.
static void initSpsResources() { Q_INIT_RESOURCE(spsresources); }

namespace sps {

void initArtResources() {
    static const bool done = (initSpsResources(), true);
    (void)done;
}

QIcon applicationIcon() {
    initArtResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/spsicon_%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace sps
