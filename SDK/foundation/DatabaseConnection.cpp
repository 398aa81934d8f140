#include "foundation/DatabaseConnection.h"

#include "foundation/BaseFolder.h"
#include "foundation/Database.h"
#include "foundation/Encryption.h"
#include "foundation/NX_Ini.h"
#include "foundation/SettingsText.h"

namespace QuorvaneSDK {

namespace {

const QString kSetUp = QStringLiteral("SetUp");
const QString kAccess = QStringLiteral("Access");
const QString kSqlServer = QStringLiteral("SqlServer");

} // namespace

QString DatabaseConnection::settingsFile() {
    return baseFolder() + QStringLiteral("/Database.ini");
}

QString DatabaseConnection::read(const QString& section, const QString& key) const {
    return NX_Ini().ReadValue(settingsFile(), section, key);
}

void DatabaseConnection::write(const QString& section, const QString& key, const QString& value) {
    // The file holds passwords: always owner-only, whichever key is written.
    NX_Ini().WriteValuePrivate(settingsFile(), section, key, value);
}

QString DatabaseConnection::readOrWriteDefault(const QString& section, const QString& key,
                                               const QString& fallback) {
    const QString value = read(section, key);
    if (!value.trimmed().isEmpty())
        return value;
    write(section, key, fallback);
    return fallback;
}

QString DatabaseConnection::readPassword(const QString& section, const QString& key,
                                         SqlSyntax dialect) {
    const Encryption cipher;
    const QString plain = cipher.Decrypt(read(section, key));
    if (plain.trimmed().isEmpty())
        return Database::current().get_defaultDBPassword(dialect);
    write(section, key, cipher.Encrypt(plain));
    return plain;
}

void DatabaseConnection::set_DBPredefinito(SqlSyntax value) {
    write(kSetUp, QStringLiteral("DBPredefinito"), Database::lookUp_DataBaseName(value));
}

SqlSyntax DatabaseConnection::get_DBPredefinito() {
    const QString name = read(kSetUp, QStringLiteral("DBPredefinito"));
    if (name.trimmed().isEmpty()) {
        set_DBPredefinito(SqlSyntax::Access2000);
        return SqlSyntax::Access2000;
    }
    return Database::lookUp_DataBaseName_Rev(name.trimmed());
}

void DatabaseConnection::set_DBSqlServerUserName(const QString& value) {
    write(kSqlServer, QStringLiteral("DBSqlServerUserName"), value);
}

QString DatabaseConnection::get_DBSqlServerUserName() {
    return readOrWriteDefault(kSqlServer, QStringLiteral("DBSqlServerUserName"),
                              Database::current().get_defaultDBUsername(SqlSyntax::SqlServer));
}

void DatabaseConnection::set_DBSqlServerHost(const QString& value) {
    write(kSqlServer, QStringLiteral("DBSqlServerHost"), value);
}

QString DatabaseConnection::get_DBSqlServerHost() {
    return readOrWriteDefault(kSqlServer, QStringLiteral("DBSqlServerHost"),
                              Database::current().get_defaultDBHostPath(SqlSyntax::SqlServer));
}

void DatabaseConnection::set_DBSqlServerUserPassword(const QString& value) {
    write(kSqlServer, QStringLiteral("DBSqlServerUserPassword"), Encryption().Encrypt(value));
}

QString DatabaseConnection::get_DBSqlServerUserPassword() {
    return readPassword(kSqlServer, QStringLiteral("DBSqlServerUserPassword"),
                        SqlSyntax::SqlServer);
}

void DatabaseConnection::set_DBSqlServerDatabaseName(const QString& value) {
    write(kSqlServer, QStringLiteral("DBSqlServerDatabaseName"), value);
}

QString DatabaseConnection::get_DBSqlServerDatabaseName() {
    return readOrWriteDefault(kSqlServer, QStringLiteral("DBSqlServerDatabaseName"),
                              Database::current().get_defaultDBName(SqlSyntax::SqlServer));
}

void DatabaseConnection::set_DBAccessUserName(const QString& value) {
    write(kAccess, QStringLiteral("DBAccessUserName"), value);
}

QString DatabaseConnection::get_DBAccessUserName() {
    return readOrWriteDefault(kAccess, QStringLiteral("DBAccessUserName"),
                              Database::current().get_defaultDBUsername(SqlSyntax::Access2000));
}

void DatabaseConnection::set_DBAccessHost(const QString& value) {
    write(kAccess, QStringLiteral("DBAccessHost"), value);
}

QString DatabaseConnection::get_DBAccessHost() {
    return readOrWriteDefault(kAccess, QStringLiteral("DBAccessHost"),
                              Database::current().get_defaultDBHostPath(SqlSyntax::Access2000));
}

void DatabaseConnection::set_DBAccessUserPassword(const QString& value) {
    write(kAccess, QStringLiteral("DBAccessUserPassword"), Encryption().Encrypt(value));
}

QString DatabaseConnection::get_DBAccessUserPassword() {
    return readPassword(kAccess, QStringLiteral("DBAccessUserPassword"), SqlSyntax::Access2000);
}

bool DatabaseConnection::get_ModalitaDebug() {
    const QString value = read(kSetUp, QStringLiteral("ModalitaDebug"));
    if (value.trimmed().isEmpty()) {
        set_ModalitaDebug(false);
        return false;
    }
    return settingsBool(value);
}

void DatabaseConnection::set_ModalitaDebug(bool value) {
    write(kSetUp, QStringLiteral("ModalitaDebug"), settingsBoolText(value));
}

void DatabaseConnection::set_DBParameters(Database& NX_DatabaseToUpdate) {
    NX_DatabaseToUpdate.set_DBPredefinito(get_DBPredefinito());
    switch (NX_DatabaseToUpdate.get_DBPredefinito()) {
    case SqlSyntax::SqlServer:
        NX_DatabaseToUpdate.set_DBUserName(get_DBSqlServerUserName());
        NX_DatabaseToUpdate.set_DBPassword(get_DBSqlServerUserPassword());
        NX_DatabaseToUpdate.set_HostPath(get_DBSqlServerHost());
        NX_DatabaseToUpdate.set_DBName(get_DBSqlServerDatabaseName());
        break;
    case SqlSyntax::Access2000:
        NX_DatabaseToUpdate.set_DBUserName(get_DBAccessUserName());
        NX_DatabaseToUpdate.set_DBPassword(get_DBAccessUserPassword());
        NX_DatabaseToUpdate.set_HostPath(get_DBAccessHost());
        break;
    default:
        break;
    }
    NX_DatabaseToUpdate.set_LogSql(get_ModalitaDebug(), baseFolder() + u'/');
}

} // namespace QuorvaneSDK
