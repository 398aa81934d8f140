#pragma once

#include "SdkTestSupport.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Questions to a test catalogue's own metadata (PRAGMA table_info and
// sqlite_master on SQLite, information_schema and pg_indexes on
// PostgreSQL), asked through the catalogue's Database.
namespace QuorvaneTest {

class SchemaInspector {
public:
    explicit SchemaInspector(EngineDatabase& catalogue);
    ~SchemaInspector();

    // First column of the first row as an integer (-1 when the query fails).
    qint64 scalar(const QString& sql);
    bool isNull(const QString& sql);

    bool hasTable(const QString& table);
    // Column names, lower-cased and sorted.
    QStringList columns(const QString& table);
    // The declared (SQLite) or data (PostgreSQL) type, lower-cased.
    QString columnType(const QString& table, const QString& column);
    bool isGeneratedKey(const QString& table, const QString& column);
    // PostgreSQL: the column's collation ("C"); SQLite: empty.
    QString columnCollation(const QString& table, const QString& column);
    // Index names, lower-cased.
    QStringList indexes();
    // "child.column->parent.column:rule" for each foreign key, lower-cased.
    QStringList foreignKeys();
    // Tables, columns with types, indexes with definitions: for comparing.
    QStringList schemaSnapshot();
    // The query plan of a statement, one line per step, with sequential
    // scans made unattractive on PostgreSQL so that only a missing index
    // leaves one.
    QStringList queryPlan(const QString& sql);

private:
    QStringList firstColumn(const QString& sql);
    QSqlDatabase raw();

    EngineDatabase& m_catalogue;
    QuorvaneSDK::Database* m_db;
    QuorvaneSDK::SqlSyntax m_dialect;
    QString m_rawName;
};

} // namespace QuorvaneTest
