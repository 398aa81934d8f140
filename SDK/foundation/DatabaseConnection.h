#pragma once

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneSDK {

class Database;

// Which catalogue the system uses and with which credentials, kept in
// <base>/Database.ini (readable by its owner only). Every getter reads the
// file afresh and writes the default back when it finds a value missing;
// every setter writes at once. Passwords are stored enciphered.
//
// [SetUp] DBPredefinito, ModalitaDebug; [Access] DBAccessHost (the SQLite
// file), DBAccessUserName, DBAccessUserPassword; [SqlServer] DBSqlServerHost
// (PostgreSQL host, optionally "host:port"), DBSqlServerUserName,
// DBSqlServerUserPassword, DBSqlServerDatabaseName.
class DatabaseConnection {
public:
    // The file the settings live in.
    static QString settingsFile();

    // Written as "SQLite" or "PostgreSQL"; read in any letter case as
    // SQLite, PostgreSQL, Access or SqlServer; any other name gives 99.
    void set_DBPredefinito(SqlSyntax value);
    SqlSyntax get_DBPredefinito();

    void set_DBSqlServerUserName(const QString& value);
    QString get_DBSqlServerUserName();
    void set_DBSqlServerHost(const QString& value);
    QString get_DBSqlServerHost();
    void set_DBSqlServerUserPassword(const QString& value);
    QString get_DBSqlServerUserPassword();
    // The PostgreSQL database name (default "Quorvane").
    void set_DBSqlServerDatabaseName(const QString& value);
    QString get_DBSqlServerDatabaseName();

    void set_DBAccessUserName(const QString& value);
    QString get_DBAccessUserName();
    void set_DBAccessHost(const QString& value);
    QString get_DBAccessHost();
    void set_DBAccessUserPassword(const QString& value);
    QString get_DBAccessUserPassword();

    bool get_ModalitaDebug();
    void set_ModalitaDebug(bool value);

    // Applies the whole set to the database: dialect, then the credentials
    // and host of that dialect (none for an unknown dialect), then the SQL
    // debug log switch.
    void set_DBParameters(Database& NX_DatabaseToUpdate);

private:
    QString read(const QString& section, const QString& key) const;
    void write(const QString& section, const QString& key, const QString& value);
    // The stored value, or the default written back when it is blank.
    QString readOrWriteDefault(const QString& section, const QString& key, const QString& fallback);
    QString readPassword(const QString& section, const QString& key, SqlSyntax dialect);
};

} // namespace QuorvaneSDK
