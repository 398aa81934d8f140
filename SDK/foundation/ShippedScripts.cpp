#include "foundation/ShippedScripts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

// The library is shared, so its resources register themselves when it is
// loaded; the explicit call keeps them available if it is ever linked
// statically. Q_INIT_RESOURCE must stand outside any namespace.
static void initShippedScriptResources() {
    Q_INIT_RESOURCE(schema_scripts);
}

namespace QuorvaneSDK {

QString shippedScriptsRoot() {
    return QStringLiteral(":/dati");
}

QStringList installShippedScripts(const QString& base) {
    initShippedScriptResources();
    QStringList problems;
    if (base.isEmpty())
        return {QStringLiteral("no base folder to copy the upgrade scripts to")};
    const QString root = shippedScriptsRoot();
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = source.mid(root.size()); // "/Access/upgrade01.sql"
        const QString target = base + QStringLiteral("/dati") + relative;
        if (QFileInfo::exists(target))
            continue;
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            problems << QStringLiteral("cannot create the folder of %1").arg(target);
            continue;
        }
        if (!QFile::copy(source, target)) {
            problems << QStringLiteral("cannot copy %1 to %2").arg(source, target);
            continue;
        }
        // Copies out of the resources are read-only; the user may edit them.
        QFile::setPermissions(target,
                              QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    }
    return problems;
}

} // namespace QuorvaneSDK
