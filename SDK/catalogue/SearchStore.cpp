#include "catalogue/SearchStore.h"

#include "catalogue/CatalogueSql.h"
#include "catalogue/ContainedFileStore.h"
#include "catalogue/FileStore.h"
#include "catalogue/SearchSql.h"
#include "foundation/BatchScope.h"

#include <QHash>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Archive keys per statement when reading the archives of contained files.
constexpr qsizetype kKeysPerBatch = 500;

// The SQLite index is used when its tables are there: a catalogue whose
// upgrade stopped before them is still searched, by plain scan.
SearchSql::IndexUse indexUse(bool enabled) {
    SearchSql::IndexUse use;
    if (!enabled || dialect() != SqlSyntax::Access2000)
        return use;
    const std::optional<Recordset> rs =
        db().get_Recordset(SearchSql::indexPresent(), QStringLiteral("QuorvaneSDK.search"), true);
    use.sqliteTrigram = rs && rs->RecordCount() > 0;
    return use;
}

} // namespace

SearchStore::SearchStore(FileStore& files, ContainedFileStore& contained)
    : m_files(files), m_contained(contained) {
}

QList<FileQuorvane> SearchStore::search(SearchCriteria& MyCriteria, bool SearchInCompressed,
                                        bool SearchInMP3) {
    MyCriteria.FileName = MyCriteria.FileName.trimmed();
    if (SearchInMP3)
        return search_MP3(MyCriteria);
    QList<FileQuorvane> result =
        filesOf(SearchSql::files(MyCriteria, dialect(), indexUse(m_indexEnabled)),
                QStringLiteral("QuorvaneSDK.search"));
    if (!SearchInCompressed)
        return result;
    // A limit the files filled leaves no room for archives: the remaining
    // limit would be 0, which means "no limit" to the archive search.
    const qint32 limit = MyCriteria.MaxRows;
    if (limit > 0 && result.size() >= limit)
        return result;
    SearchCriteriaCompressed archives;
    archives.IDParent = 0;
    archives.SearchCriteria = MyCriteria;
    archives.SearchCriteria.MaxRows = limit > 0 ? limit - static_cast<qint32>(result.size()) : 0;
    // Each matching entry adds its archive once.
    for (const FileQuorvaneCompressed& entry : search_Compressed(archives, true))
        result.append(entry.ParentFile);
    return result;
}

QList<FileQuorvaneCompressed> SearchStore::search_Compressed(SearchCriteriaCompressed& MyCriteria,
                                                             bool LoadParentFile) {
    Recordset rs = query(SearchSql::contained(MyCriteria, dialect(), indexUse(m_indexEnabled)),
                         QStringLiteral("QuorvaneSDK.search_Compressed"));
    QList<FileQuorvaneCompressed> result;
    result.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        result.append(m_contained.entryRecord(rs));
    if (LoadParentFile)
        loadParents(result);
    return result;
}

QList<FileQuorvane> SearchStore::search_MP3(SearchCriteria& MyCriteria) {
    return filesOf(SearchSql::mp3(MyCriteria, dialect()), QStringLiteral("QuorvaneSDK.search_MP3"));
}

QList<FileQuorvane> SearchStore::filesOf(const QString& sql, const QString& routine) {
    Recordset rs = query(sql, routine);
    QList<FileQuorvane> files;
    files.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        files.append(m_files.fileFromRow(rs));
    return files;
}

void SearchStore::loadParents(QList<FileQuorvaneCompressed>& entries) {
    QList<qint32> keys;
    QHash<qint32, FileQuorvane> parents;
    for (const FileQuorvaneCompressed& entry : entries)
        if (!parents.contains(entry.IDParentFile)) {
            parents.insert(entry.IDParentFile, FileQuorvane{});
            keys.append(entry.IDParentFile);
        }
    for (qsizetype from = 0; from < keys.size(); from += kKeysPerBatch) {
        Recordset rs = query(SearchSql::filesByKey(keys.mid(from, kKeysPerBatch)),
                             QStringLiteral("QuorvaneSDK.search_Compressed"));
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            FileQuorvane parent = m_files.fileFromRow(rs);
            parents.insert(parent.id, parent);
        }
    }
    for (FileQuorvaneCompressed& entry : entries) {
        entry.ParentFile = parents.value(entry.IDParentFile);
        entry.Media = entry.ParentFile.Media;
    }
}

bool SearchStore::refresh_SearchIndex() {
    if (dialect() != SqlSyntax::Access2000)
        return true;
    Database& database = db();
    BatchScope batch(database);
    for (const QString& table : {QStringLiteral("Files"), QStringLiteral("FilesContained")}) {
        const std::optional<Recordset> top = database.get_Recordset(
            SearchSql::maxKey(table), QStringLiteral("QuorvaneSDK.refresh_SearchIndex"));
        if (!top)
            return false;
        const qint64 highest = top->toLongLong(QStringLiteral("Highest"));
        for (const QString& sql : SearchSql::refreshIndex(table, highest))
            if (database
                    .execute_Sql(sql, QStringLiteral("QuorvaneSDK.refresh_SearchIndex"), true, 0)
                    .isError())
                return false;
    }
    return batch.commit();
}

} // namespace QuorvaneSDK
