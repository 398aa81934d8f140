#include "catalogue/SearchSql.h"

#include "foundation/Database.h"

#include <cmath>

namespace QuorvaneSDK::SearchSql {

namespace {

const QString kNullFile = QStringLiteral("'##nullfile##'");

QString literal(const QString& text) {
    return QLatin1Char('\'') + Database::CorreggiApice(Database::removeNul(text)) +
           QLatin1Char('\'');
}

struct IndexedTable {
    QString table;
    QString key;
    QString index;
};

const IndexedTable kFilesIndex{QStringLiteral("Files"), QStringLiteral("IDFile"),
                               QStringLiteral("FilesNameIndex")};
const IndexedTable kContainedIndex{QStringLiteral("FilesContained"),
                                   QStringLiteral("IDFileContained"),
                                   QStringLiteral("FilesContainedNameIndex")};

const IndexedTable& indexedTable(const QString& table) {
    return table == kContainedIndex.table ? kContainedIndex : kFilesIndex;
}

// An FTS5 query asking for every part as a phrase of trigrams.
QString trigramQuery(const QStringList& parts) {
    QStringList phrases;
    for (const QString& part : parts) {
        QString quotedPart = Database::removeNul(part);
        quotedPart.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        phrases << QLatin1Char('"') + quotedPart + QLatin1Char('"');
    }
    return phrases.join(QStringLiteral(" AND "));
}

// Narrows the rows to those whose name holds every indexable part, through
// the trigram index for rows indexed so far and directly for the rows
// appended after the last refresh. The LIKE conditions still decide.
QString indexFilter(const IndexedTable& t, const QStringList& nameParts, IndexUse index) {
    if (!index.sqliteTrigram)
        return QString();
    QStringList indexable;
    for (const QString& part : nameParts)
        if (Database::removeNul(part).size() >= kMinIndexedLength)
            indexable << part;
    if (indexable.isEmpty())
        return QString();
    const QString column = t.table + QLatin1Char('.') + t.key;
    return QStringLiteral(" AND (") + column + QStringLiteral(" IN (SELECT rowid FROM ") + t.index +
           QStringLiteral(" WHERE ") + t.index + QStringLiteral(" MATCH ") +
           literal(trigramQuery(indexable)) + QStringLiteral(") OR ") + column +
           QStringLiteral(" > (SELECT LastID FROM SearchIndexState WHERE TableName = '") + t.table +
           QStringLiteral("'))");
}

QString dateColumn(DateType type, bool contained) {
    switch (type) {
    case DateType::CreatedDate:
        return QStringLiteral("FileDateCreated");
    case DateType::AccessedDate:
        return QStringLiteral("FileDateAccessed");
    default:
        return contained ? QStringLiteral("FileDateLastModified")
                         : QStringLiteral("FileDateModified");
    }
}

QString dateCondition(const CriteriaDate& d, const QString& table, bool contained,
                      SqlSyntax dialect) {
    if (d.IgnoreThis)
        return QString();
    return QStringLiteral(" AND ") + table + QLatin1Char('.') + dateColumn(d.DateType, contained) +
           QStringLiteral(" BETWEEN ") +
           Database::FormattaDataSQLSyntax(d.ModifiedFrom, dialect, false) +
           QStringLiteral(" AND ") + Database::FormattaDataSQLSyntax(d.ModifiedTo, dialect, false);
}

QString sizeCondition(const CriteriaSize& s, const QString& table) {
    if (s.IgnoreThis)
        return QString();
    const double bytes = std::trunc(s.Size * 1024.0);
    const qint64 whole = std::isfinite(bytes) ? static_cast<qint64>(bytes) : 0;
    return QStringLiteral(" AND ") + table + QStringLiteral(".FileSize ") +
           (s.AtLeast ? QStringLiteral(">= ") : QStringLiteral("<= ")) + QString::number(whole);
}

QString mediumCondition(const Media& m) {
    return m.id > 0 ? QStringLiteral(" AND Files.IDMedia = ") + QString::number(m.id) : QString();
}

QString limit(qint32 maxRows) {
    return maxRows > 0 ? QStringLiteral(" LIMIT ") + QString::number(maxRows) : QString();
}

QStringList firstWords(const QString& words) {
    return blankParts(words).mid(0, kMaxWords);
}

QString nameConditions(const QStringList& parts, const QString& column, SqlSyntax dialect) {
    QString sql;
    for (const QString& part : parts)
        sql += QStringLiteral(" AND ") + contains(column, part, dialect);
    return sql;
}

QString folderCondition(const QString& folderName, SqlSyntax dialect) {
    if (folderName.isEmpty())
        return QString();
    if (isExactFolder(folderName))
        return QStringLiteral(" AND Files.FolderName = ") + literal(folderName);
    return QStringLiteral(" AND ") +
           contains(QStringLiteral("Files.FolderName"), folderName, dialect);
}

QString fileWordsCondition(const QString& words, SqlSyntax dialect) {
    if (words.isEmpty())
        return QString();
    QStringList any;
    for (const QString& word : firstWords(words))
        any << contains(QStringLiteral("Words.Word"), word, dialect);
    return QStringLiteral(" AND Files.IDFile IN (SELECT WordsFileIndex.IDFile FROM Words "
                          "INNER JOIN WordsFileIndex ON Words.IDWord = WordsFileIndex.IDWord "
                          "WHERE ") +
           any.join(QStringLiteral(" OR ")) + QStringLiteral(")");
}

} // namespace

QString escapeLike(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += ch;
    }
    return escaped;
}

QString contains(const QString& column, const QString& text, SqlSyntax dialect) {
    const QString op =
        dialect == SqlSyntax::SqlServer ? QStringLiteral(" ILIKE ") : QStringLiteral(" LIKE ");
    return column + op + literal(QLatin1Char('%') + escapeLike(text) + QLatin1Char('%')) +
           QStringLiteral(" ESCAPE '\\'");
}

QStringList blankParts(const QString& text) {
    return text.split(QLatin1Char(' '));
}

bool isExactFolder(const QString& folderName) {
    return folderName.trimmed() == QLatin1String("/") || folderName.count(QLatin1Char('/')) >= 2;
}

QString files(const SearchCriteria& c, SqlSyntax dialect, IndexUse index) {
    QString sql = QStringLiteral("SELECT Files.* FROM Files INNER JOIN Media ON Files.IDMedia = "
                                 "Media.IDMedia WHERE Files.FileName <> ") +
                  kNullFile;
    if (!c.FileName.isEmpty()) {
        const QStringList parts = blankParts(c.FileName);
        sql += nameConditions(parts, QStringLiteral("Files.FileName"), dialect);
        sql += indexFilter(kFilesIndex, parts, index);
    }
    sql += folderCondition(c.FolderName, dialect);
    sql += mediumCondition(c.Media);
    sql += dateCondition(c.Date, QStringLiteral("Files"), false, dialect);
    sql += sizeCondition(c.Size, QStringLiteral("Files"));
    sql += fileWordsCondition(c.WordsContained, dialect);
    sql += QStringLiteral(" ORDER BY Media.MediaName, Files.FolderName, Files.FileName, "
                          "Files.IDFile");
    return sql + limit(c.MaxRows);
}

QString contained(const SearchCriteriaCompressed& cc, SqlSyntax dialect, IndexUse index) {
    const SearchCriteria& c = cc.SearchCriteria;
    const bool byParent = cc.IDParent >= 1;
    const bool words = !byParent && !c.WordsContained.isEmpty();
    QString sql = QStringLiteral("SELECT FilesContained.*");
    if (words)
        sql += QStringLiteral(", Words.Word AS MatchedWord");
    sql += QStringLiteral(" FROM Media INNER JOIN Files ON Media.IDMedia = Files.IDMedia "
                          "INNER JOIN FilesContained ON Files.IDFile = FilesContained.IDFile");
    if (words)
        sql += QStringLiteral(" INNER JOIN WordsFileContainedIndex ON "
                              "FilesContained.IDFileContained = "
                              "WordsFileContainedIndex.IDFileContained INNER JOIN Words ON "
                              "Words.IDWord = WordsFileContainedIndex.IDWord");
    sql += QStringLiteral(" WHERE FilesContained.FileName <> ") + kNullFile;
    if (byParent) {
        sql += QStringLiteral(" AND Files.IDFile = ") + QString::number(cc.IDParent);
    } else {
        if (!c.FileName.isEmpty()) {
            sql += nameConditions({c.FileName}, QStringLiteral("FilesContained.FileName"), dialect);
            sql += indexFilter(kContainedIndex, {c.FileName}, index);
        }
        if (!c.FolderName.isEmpty())
            sql += QStringLiteral(" AND FilesContained.FilePath = ") + literal(c.FolderName);
        sql += mediumCondition(c.Media);
        sql += dateCondition(c.Date, QStringLiteral("FilesContained"), true, dialect);
        sql += sizeCondition(c.Size, QStringLiteral("FilesContained"));
        if (words)
            sql +=
                nameConditions(firstWords(c.WordsContained), QStringLiteral("Words.Word"), dialect);
    }
    sql += QStringLiteral(" ORDER BY Media.MediaName, FilesContained.FilePath, Files.FileName, "
                          "FilesContained.FileName, FilesContained.IDFileContained");
    if (words)
        sql += QStringLiteral(", Words.IDWord");
    return sql + limit(c.MaxRows);
}

QString mp3(const SearchCriteria& c, SqlSyntax dialect) {
    QString sql = QStringLiteral("SELECT Files.* FROM Media INNER JOIN Files ON Media.IDMedia = "
                                 "Files.IDMedia INNER JOIN Mp3TagsFile ON Files.IDFile = "
                                 "Mp3TagsFile.IDFile WHERE Files.FileName <> ") +
                  kNullFile;
    const std::pair<QString, QString> tags[] = {
        {QStringLiteral("Mp3TagsFile.Album"), c.MP3.Album},
        {QStringLiteral("Mp3TagsFile.Artist"), c.MP3.Artist},
        {QStringLiteral("Mp3TagsFile.Title"), c.MP3.Title}};
    for (const auto& [column, value] : tags)
        if (!value.isEmpty())
            sql += QStringLiteral(" AND ") + contains(column, value, dialect);
    sql += QStringLiteral(" ORDER BY Media.MediaName, Files.FolderName, Files.FileName, "
                          "Files.IDFile, Mp3TagsFile.IDMP3Tag");
    return sql + limit(c.MaxRows);
}

QString filesByKey(const QList<qint32>& keys) {
    QStringList list;
    list.reserve(keys.size());
    for (qint32 key : keys)
        list << QString::number(key);
    return QStringLiteral("SELECT * FROM Files WHERE IDFile IN (") + list.join(QLatin1Char(',')) +
           QStringLiteral(") ORDER BY IDMedia, IDFile");
}

QStringList refreshIndex(const QString& table, qint64 top) {
    const IndexedTable& t = indexedTable(table);
    const QString mark =
        QStringLiteral("(SELECT LastID FROM SearchIndexState WHERE TableName = '") + t.table +
        QStringLiteral("')");
    const QString topText = QString::number(top);
    return {QStringLiteral("INSERT INTO ") + t.index +
                QStringLiteral(" (rowid, FileName) SELECT ") + t.key +
                QStringLiteral(", FileName FROM ") + t.table + QStringLiteral(" WHERE ") + t.key +
                QStringLiteral(" > ") + mark + QStringLiteral(" AND ") + t.key +
                QStringLiteral(" <= ") + topText,
            QStringLiteral("UPDATE SearchIndexState SET LastID = ") + topText +
                QStringLiteral(" WHERE TableName = '") + t.table +
                QStringLiteral("' AND LastID < ") + topText};
}

QString indexPresent() {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = "
                          "'SearchIndexState'");
}

QString maxKey(const QString& table) {
    const IndexedTable& t = indexedTable(table);
    return QStringLiteral("SELECT Max(") + t.key + QStringLiteral(") AS Highest FROM ") + t.table;
}

} // namespace QuorvaneSDK::SearchSql
