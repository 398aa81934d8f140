#include "WorkFolder.h"

#include "foundation/Helpers.h"

#include <QDir>
#include <QTemporaryDir>

namespace QuorvaneCataloguing {

WorkFolder::WorkFolder() {
    const QString parent = QuorvaneSDK::get_AppFolder(QuorvaneSDK::AppFolder::Uncompress);
    QDir().mkpath(parent);
    QTemporaryDir dir(QDir(parent).filePath(QStringLiteral("scan-XXXXXX")));
    if (!dir.isValid())
        return;
    dir.setAutoRemove(false);
    m_root = dir.path();
    const QString entries = m_root + QStringLiteral("/entries");
    if (QDir().mkpath(entries))
        m_path = entries;
}

WorkFolder::~WorkFolder() {
    if (!m_root.isEmpty())
        QDir(m_root).removeRecursively();
}

void WorkFolder::empty() const {
    if (m_path.isEmpty())
        return;
    QDir dir(m_path);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace QuorvaneCataloguing
