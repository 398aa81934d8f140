#pragma once

#include "foundation/Database.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>

// A scratch catalogue for schema tests: an SQLite file in a temporary
// folder or a fresh database on the PostgreSQL test server, reached through
// a Database object, plus a few questions to the catalogue's own metadata.
namespace QuorvaneTest {

class Catalogue {
public:
    // nullptr when the catalogue cannot be made (PostgreSQL: no server).
    static std::unique_ptr<Catalogue> open(QuorvaneSDK::SqlSyntax dialect);
    ~Catalogue();

    QuorvaneSDK::Database& database() { return *m_db; }
    QuorvaneSDK::SqlSyntax dialect() const { return m_dialect; }

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
    Catalogue() = default;
    QStringList firstColumn(const QString& sql);
    QSqlDatabase raw();

    std::unique_ptr<QuorvaneSDK::Database> m_db;
    QuorvaneSDK::SqlSyntax m_dialect = QuorvaneSDK::SqlSyntax::Access2000;
    QString m_path;   // SQLite file
    QString m_pgName; // PostgreSQL database
    QString m_rawName;
};

} // namespace QuorvaneTest
