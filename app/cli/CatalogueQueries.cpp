#include "CatalogueQueries.h"

#include "CliErrors.h"

#include "foundation/PreparedStatement.h"

#include <algorithm>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const QString kFileColumns = QStringLiteral(
    "SELECT IDFile, FolderName, FileName, FileExtension, FileSize, FileDateCreated, "
    "FileDateAccessed, FileDateModified, FileProperties, FileDescription, OptionalDescription "
    "FROM Files WHERE IDMedia = ? AND FileName <> ?");

Recordset run(PreparedStatement& query, const QString& what) {
    clearSdkError();
    std::optional<Recordset> rs = query.query();
    if (!rs)
        throw WorkError(withSdkReason(QStringLiteral("cannot read %1").arg(what)));
    return *rs;
}

QList<FileQuorvane> toFiles(Recordset rs, const Media& media) {
    QList<FileQuorvane> files;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        FileQuorvane f;
        f.id = rs.toLong(QStringLiteral("IDFile"));
        f.FolderName = rs.text(QStringLiteral("FolderName"));
        f.Name = rs.text(QStringLiteral("FileName"));
        f.Extension = rs.text(QStringLiteral("FileExtension"));
        f.Size = rs.toDouble(QStringLiteral("FileSize"));
        f.DateCreated = rs.toDate(QStringLiteral("FileDateCreated"));
        f.DateLastAccessed = rs.toDate(QStringLiteral("FileDateAccessed"));
        f.DateModified = rs.toDate(QStringLiteral("FileDateModified"));
        f.Properties = rs.text(QStringLiteral("FileProperties"));
        f.Description = rs.text(QStringLiteral("FileDescription"));
        f.OptionalDescription = rs.text(QStringLiteral("OptionalDescription"));
        f.Media = media;
        files.append(f);
    }
    // Binary order of the names, the same on both engines whatever the
    // server's collation.
    std::stable_sort(files.begin(), files.end(), [](const FileQuorvane& a, const FileQuorvane& b) {
        return a.FolderName != b.FolderName ? a.FolderName < b.FolderName : a.Name < b.Name;
    });
    return files;
}

} // namespace

QStringList mediaFolders(CatalogueSession& session, qint32 mediaId) {
    PreparedStatement query = session.db().prepare(
        QStringLiteral("SELECT DISTINCT FolderName FROM Files WHERE IDMedia = ?"),
        QStringLiteral("quorvane-cli.mediaFolders"));
    query.bind(0, mediaId);
    Recordset rs = run(query, QStringLiteral("the folders of medium %1").arg(mediaId));
    QStringList folders;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        folders.append(rs.text(QStringLiteral("FolderName")));
    std::sort(folders.begin(), folders.end());
    return folders;
}

QList<FileQuorvane> folderFiles(CatalogueSession& session, const Media& media,
                                const QString& folder) {
    PreparedStatement query =
        session.db().prepare(kFileColumns + QStringLiteral(" AND FolderName = ? ORDER BY FileName"),
                             QStringLiteral("quorvane-cli.folderFiles"));
    query.bind(0, media.id);
    query.bind(1, kFolderRowName);
    query.bind(2, folder);
    return toFiles(run(query, QStringLiteral("folder %1").arg(folder)), media);
}

QList<FileQuorvane> mediaFiles(CatalogueSession& session, const Media& media) {
    PreparedStatement query =
        session.db().prepare(kFileColumns + QStringLiteral(" ORDER BY FolderName, FileName"),
                             QStringLiteral("quorvane-cli.mediaFiles"));
    query.bind(0, media.id);
    query.bind(1, kFolderRowName);
    return toFiles(run(query, QStringLiteral("the files of medium %1").arg(media.id)), media);
}

} // namespace QuorvaneCli
