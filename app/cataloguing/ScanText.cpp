#include "ScanText.h"

namespace QuorvaneCataloguing {

using QuorvaneSDK::MediaType;

QString fileAttributeLetter(quint32 attributes) {
    switch (attributes) {
    case 1:
        return QStringLiteral("R");
    case 2:
        return QStringLiteral("H");
    case 4:
        return QStringLiteral("S");
    case 16:
        return QStringLiteral("D");
    case 32:
        return QStringLiteral("A");
    case 167:
        return QStringLiteral("RHSAN");
    case 256:
        return QStringLiteral("T");
    case 2048:
        return QStringLiteral("C");
    default:
        return QStringLiteral("N");
    }
}

QString containedAttributeLetter(qint64 attributes) {
    switch (attributes) {
    case 0:
        return QStringLiteral("N");
    case 1:
        return QStringLiteral("R");
    case 2:
        return QStringLiteral("H");
    case 4:
        return QStringLiteral("S");
    case 8:
        return QStringLiteral("V");
    case 16:
        return QStringLiteral("D");
    case 32:
        return QStringLiteral("A");
    case 2048:
        return QStringLiteral("C");
    default:
        return QString();
    }
}

QString fileExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString containedExtension(const QString& name) {
    const QString extension = fileExtension(name);
    return extension.size() > 50 ? extension.left(47) + QStringLiteral("...") : extension;
}

QString catalogueFolderName(const QString& mountPoint, const QString& folder) {
    QString mount = mountPoint;
    while (mount.size() > 1 && mount.endsWith(QLatin1Char('/')))
        mount.chop(1);
    QString relative = folder;
    if (mount != QLatin1String("/") &&
        (folder == mount || folder.startsWith(mount + QLatin1Char('/'))))
        relative = folder.mid(mount.size());
    if (!relative.startsWith(QLatin1Char('/')))
        relative.prepend(QLatin1Char('/'));
    if (!relative.endsWith(QLatin1Char('/')))
        relative.append(QLatin1Char('/'));
    return relative;
}

MediaType mediaTypeOfVolume(const QString& unityType) {
    // The volume control's texts differ from the medium type names, so
    // they are mapped one by one.
    static const struct {
        const char* text;
        MediaType type;
    } table[] = {
        {"Fixed", MediaType::FixedHD},   {"CD-ROM", MediaType::CDRom},
        {"Network", MediaType::NETWORK}, {"Removable", MediaType::Removable},
        {"RAM Disk", MediaType::Unknow}, {"Unknown", MediaType::Unknow},
    };
    for (const auto& row : table)
        if (unityType.compare(QLatin1String(row.text), Qt::CaseInsensitive) == 0)
            return row.type;
    return MediaType::Unknow;
}

QString shortenedFilePath(const QString& path) {
    const QString text =
        path.left(path.indexOf(QChar(0)) < 0 ? path.size() : path.indexOf(QChar(0)));
    if (text.size() <= 80)
        return text;
    return QStringLiteral(".../") + text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
}

QString shortenedArchivedName(const QString& name) {
    return name.size() <= 80 ? name : name.left(80) + QStringLiteral("...");
}

} // namespace QuorvaneCataloguing
