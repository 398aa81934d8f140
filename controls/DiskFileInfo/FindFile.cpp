// Counting the files of a folder and finding a file below one.

#include "NX_DiskFileInfo_.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace NX_DiskFileInfo {

namespace {

QString findBelow(const QString& name, const QString& folder, QSet<QString>& visited, int depth) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    // Links may lead back up the tree: each real folder is searched once.
    if (canonical.isEmpty() || visited.contains(canonical) || depth > 256)
        return {};
    visited.insert(canonical);
    const QString direct = QDir(folder).filePath(name);
    if (QFileInfo::exists(direct))
        return QDir::cleanPath(QFileInfo(direct).absoluteFilePath());
    const QDir dir(folder);
    for (const QString& sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted)) {
        const QString found = findBelow(name, dir.filePath(sub), visited, depth + 1);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace

qint32 NX_DiskFileInfo_::NumberOfFiles(const QString& Path, const QString& Extension) const {
    QDir dir(Path);
    if (Path.isEmpty() || !dir.exists())
        return 0;
    const QStringList filters =
        Extension.isEmpty() ? QStringList{"*"} : QStringList{"*." + Extension};
    dir.setNameFilters(filters); // matched without regard to case, as the platform pattern was
    return qint32(dir.entryList(QDir::Files, QDir::Unsorted).size());
}

QString NX_DiskFileInfo_::File_FindFile(const QString& FileNameToFind,
                                        const QString& StartSearchPath) const {
    if (FileNameToFind.isEmpty() || StartSearchPath.isEmpty())
        return {};
    QSet<QString> visited;
    return findBelow(FileNameToFind, StartSearchPath, visited, 0);
}

} // namespace NX_DiskFileInfo
