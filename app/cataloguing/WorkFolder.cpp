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
    m_path = dir.path();
}

WorkFolder::~WorkFolder() {
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
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
