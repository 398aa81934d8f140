#include "analysis/ExtensionMimeType.h"

#include <QMimeDatabase>

namespace QuorvaneSDK::ExtensionMime {

QString withDot(const QString& extension) {
    return extension.startsWith(u'.') ? extension : u'.' + extension;
}

QMimeType typeFor(const QString& extension) {
    const QString dotted = withDot(extension);
    // A name of our own making around the extension: the database matches
    // its glob patterns against it and never touches the disk.
    if (dotted.size() < 2 || dotted.contains(u'/') || dotted.contains(QChar(0)))
        return {};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("file") + dotted,
                                                           QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return {};
    return type;
}

} // namespace QuorvaneSDK::ExtensionMime
