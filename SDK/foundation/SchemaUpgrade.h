#pragma once

#include "foundation/Enums.h"

#include <QString>
#include <QStringList>

// Brings a catalogue up to the current schema: runs the upgrade scripts of
// its dialect that t3 does not list yet, each in one transaction, and
// records a script in t3 only when all of it succeeded. Behind
// Database::UpgradeDataBase().
namespace QuorvaneSDK {

class Database;

class SchemaUpgrade {
public:
    // What the last run did.
    struct Outcome {
        QStringList applied;     // scripts run and recorded, in order
        QStringList skipped;     // scripts already listed in t3
        QString failedScript;    // the script that failed (empty: none)
        QString failedStatement; // its failing statement (empty: not a statement)
        QString error;           // what went wrong
        bool ok() const { return failedScript.isEmpty() && error.isEmpty(); }
    };

    explicit SchemaUpgrade(Database& database);

    // The whole upgrade: copies the shipped scripts to <base>/dati/ when
    // missing, runs the pending scripts of <base>/dati/<dialect folder>/,
    // then tries the optional server features. Never throws; problems are
    // reported through the SDK's error reporting.
    Outcome run();
    // The same over a given script folder, without copying shipped scripts
    // and without the optional features.
    Outcome runFolder(const QString& folder);

    // The optional server features (PostgreSQL: the pg_trgm extension).
    // Each is tried in its own transaction; a refusal is reported and only
    // turns that feature off. True when every feature of the dialect is there.
    bool installOptionalFeatures();

    // "Access" or "SqlServer"; empty for another dialect.
    static QString scriptFolderName(SqlSyntax dialect);
    // Whether the catalogue can use trigram indexes (PostgreSQL with
    // pg_trgm installed). Asks the catalogue; false on SQLite.
    static bool trigramSearchAvailable(Database& database);

private:
    bool ensureScriptRecord();
    // 1: applied, 0: not applied, -1: the lookup failed.
    int isApplied(const QString& name);
    bool runScript(const QString& folder, const QString& name, Outcome& outcome);
    void fail(Outcome& outcome, const QString& script, const QString& error, bool report = true);

    Database& m_db;
    SqlSyntax m_dialect;
};

} // namespace QuorvaneSDK
