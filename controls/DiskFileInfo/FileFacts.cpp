#include "FileFacts.h"
#include "PeVersionInfo.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace NX_DiskFileInfo {

namespace {

using QuorvaneSDK::Date;

Date toSecond(const QDateTime& t) {
    if (!t.isValid())
        return {};
    return Date::fromDateTime(QDateTime::fromSecsSinceEpoch(t.toSecsSinceEpoch()));
}

qint32 signed16(quint32 v) {
    return qint32(qint16(quint16(v & 0xFFFF)));
}

} // namespace

QString FileFacts::fileTypeText(quint32 fileType) {
    switch (fileType) {
    case 1:
        return QStringLiteral("Application");
    case 2:
        return QStringLiteral("DLL Library");
    case 3:
        return QStringLiteral("Driver");
    case 4:
        return QStringLiteral("Font");
    case 5:
        return QStringLiteral("VXD File");
    case 7:
        return QStringLiteral("Static Library");
    default:
        return QStringLiteral("Unknown");
    }
}

quint32 FileFacts::attributesOf(const QString& fileName) {
    struct stat st {};
    if (::lstat(fileName.toLocal8Bit().constData(), &st) != 0 &&
        ::stat(fileName.toLocal8Bit().constData(), &st) != 0)
        return 0;
    if (S_ISLNK(st.st_mode) && ::stat(fileName.toLocal8Bit().constData(), &st) != 0)
        return 0;
    quint32 attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= 0x10;
    else if (S_ISREG(st.st_mode))
        attributes |= 0x20;
    if (!(st.st_mode & S_IWUSR))
        attributes |= 0x01;
    const QString name = QFileInfo(fileName).fileName();
    if (name.startsWith(QLatin1Char('.')))
        attributes |= 0x02;
    if (attributes == 0)
        attributes = 0x80; // nothing else set: a normal file
    return attributes;
}

FileFacts FileFacts::examine(const QString& fileName) {
    FileFacts facts;
    const QFileInfo info(fileName);
    const bool regular = info.isFile();
    if (regular) {
        const PeVersionInfo pe = PeVersionInfo::read(fileName);
        if (pe.Fixed) {
            facts.FileType = fileTypeText(pe.Fixed->FileType);
            facts.VerMajor = signed16(pe.Fixed->ProductVersionMS >> 16);
            facts.VerMinor = signed16(pe.Fixed->ProductVersionMS);
            facts.VerRevision = signed16(pe.Fixed->FileVersionLS);
        }
        facts.CompanyName = pe.CompanyName;
        facts.FileDescription = pe.FileDescription;
        facts.FileVersion = pe.FileVersion;
        facts.InternalName = pe.InternalName;
        facts.LegalCopyright = pe.LegalCopyright;
        facts.OriginalFileName = pe.OriginalFileName;
        facts.ProductName = pe.ProductName;
        facts.ProductVersion = pe.ProductVersion;
    }
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    facts.Directory = slash < 0 ? QString() : fileName.left(slash + 1);
    // Times come from a file that can be opened for reading: folders and
    // unreadable files keep the zero date.
    QFile file(fileName);
    if (regular && file.open(QIODevice::ReadOnly)) {
        const QDateTime born = info.birthTime();
        facts.CreationDate = toSecond(born.isValid() ? born : info.lastModified());
        facts.LastModifyTime = toSecond(info.lastModified());
        facts.LastAccessTime = toSecond(info.lastRead());
    }
    facts.Attributes = attributesOf(fileName);
    if (regular)
        facts.FileSize = info.size();
    return facts;
}

} // namespace NX_DiskFileInfo
