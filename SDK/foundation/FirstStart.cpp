#include "foundation/FirstStart.h"

#include "foundation/Database.h"

#include <QDir>
#include <QFileInfo>

namespace QuorvaneSDK {
namespace {

QString normalised(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool createDefaultCatalogueIfMissing(Database& database) {
    if (database.get_DBPredefinito() != SqlSyntax::Access2000)
        return false;
    const QString path = database.get_DBHostPath();
    const QString defaultPath = database.get_defaultDBHostPath(SqlSyntax::Access2000);
    if (path.isEmpty() || normalised(path) != normalised(defaultPath))
        return false;
    // A dangling link counts as present: never write through it.
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return false;
    return Database::createCatalogueFile(path);
}

} // namespace QuorvaneSDK
