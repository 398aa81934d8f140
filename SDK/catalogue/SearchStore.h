#pragma once
// The three searches of the catalogue and the upkeep of the fast name
// index. Each search runs one statement that returns the full rows, so the
// records are made without a query per row; archives of contained files
// are read in batches.

#include "foundation/Records.h"

#include <QList>

namespace QuorvaneSDK {

class FileStore;
class ContainedFileStore;

class SearchStore {
public:
    SearchStore(FileStore& files, ContainedFileStore& contained);

    // Failures of the statements reach the caller as CatalogueError.
    QList<FileQuorvane> search(SearchCriteria& MyCriteria, bool SearchInCompressed,
                               bool SearchInMP3);
    QList<FileQuorvaneCompressed> search_Compressed(SearchCriteriaCompressed& MyCriteria,
                                                    bool LoadParentFile);
    QList<FileQuorvane> search_MP3(SearchCriteria& MyCriteria);

    // Brings the SQLite trigram index up to date with the rows appended
    // since the last call (rows not yet indexed are searched directly
    // meanwhile, so results are right either way). Nothing to do on
    // PostgreSQL, whose index the engine keeps. False when it failed
    // (reported; searches stay right).
    bool refresh_SearchIndex();
    // Whether name searches may use the index (on by default; off gives the
    // plain scan, for comparisons).
    void setSearchIndexEnabled(bool enabled) { m_indexEnabled = enabled; }
    bool searchIndexEnabled() const { return m_indexEnabled; }

private:
    QList<FileQuorvane> filesOf(const QString& sql, const QString& routine);
    void loadParents(QList<FileQuorvaneCompressed>& entries);

    FileStore& m_files;
    ContainedFileStore& m_contained;
    bool m_indexEnabled = true;
};

} // namespace QuorvaneSDK
