#include "foundation/BaseFolder.h"

#include <QDir>

namespace QuorvaneSDK {

QString baseFolder() {
    QString folder = qEnvironmentVariable("QUORVANE_HOME");
    if (folder.isEmpty()) {
        const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
        folder = xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share/quorvane")
                               : xdg + QStringLiteral("/quorvane");
    }
    folder = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    QDir().mkpath(folder);
    return folder;
}

} // namespace QuorvaneSDK
