#pragma once
// Every statement of the three searches and of the name index, built from
// a criteria record. User text is matched literally: "%", "_" and "\" are
// escaped, apostrophes doubled, NUL characters removed. SQLite LIKE and
// PostgreSQL ILIKE on COLLATE "C" columns fold ASCII letters only, so both
// engines find the same rows; the ORDER BY ends on the key so that ties
// come back in the same order too.

#include "foundation/Enums.h"
#include "foundation/Records.h"

#include <QString>
#include <QStringList>

namespace QuorvaneSDK::SearchSql {

// How a statement may narrow name matches through the trigram index of
// the SQLite catalogue (FTS5). PostgreSQL needs nothing: its GIN index
// serves ILIKE by itself.
struct IndexUse {
    bool sqliteTrigram = false;
};

// The shortest substring the trigram index can look up.
constexpr int kMinIndexedLength = 3;
// Words conditions use the first ten words.
constexpr int kMaxWords = 10;

// "col LIKE '%text%' ESCAPE '\'" (ILIKE on PostgreSQL).
QString contains(const QString& column, const QString& text, SqlSyntax dialect);
// The text with the LIKE wildcards and the escape character escaped.
QString escapeLike(const QString& text);

// The parts of a text split at every single blank (empty parts kept).
QStringList blankParts(const QString& text);
// Whether a folder criterion means one folder exactly (the root "/" or a
// path with two or more separators) rather than a substring of the path.
bool isExactFolder(const QString& folderName);

QString files(const SearchCriteria& c, SqlSyntax dialect, IndexUse index);
QString contained(const SearchCriteriaCompressed& c, SqlSyntax dialect, IndexUse index);
QString mp3(const SearchCriteria& c, SqlSyntax dialect);
// The Files rows of the given keys (a batch of archive files).
QString filesByKey(const QList<qint32>& keys);

// --- the SQLite name index (its tables come from the numbered scripts) ---
// Adds the rows appended since the last refresh, up to key `top`, and moves
// the mark there.
QStringList refreshIndex(const QString& table, qint64 top);
// A row when the index tables are there.
QString indexPresent();
// The highest key of a table (column "Highest").
QString maxKey(const QString& table);

} // namespace QuorvaneSDK::SearchSql
