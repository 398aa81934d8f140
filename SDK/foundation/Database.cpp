#include "foundation/Database.h"

#include "foundation/BaseFolder.h"
#include "foundation/DatabaseImpl.h"
#include "foundation/Reporting.h"
#include "foundation/Startup.h"

#include <QUuid>

namespace QuorvaneSDK {
namespace {

// Living objects, oldest first; the last one is the current database.
QList<Database*>& living() {
    static QList<Database*> list;
    return list;
}

std::unique_ptr<Database>& sdkOwned() {
    static std::unique_ptr<Database> db;
    return db;
}

} // namespace

Database::Database() : d(std::make_unique<Impl>()) {
    d->defaultAccessPath = baseFolder() + QStringLiteral("/Database/Dati.sqlite");
    d->connectionName = QStringLiteral("quorvane-") + QUuid::createUuid().toString(QUuid::Id128);
    d->sinceEvents.start();
    living().append(this);
    if (!reportContext().dialectName) {
        reportContext().dialectName = [] {
            return hasCurrent() ? lookUp_DataBaseName(current().get_DBPredefinito())
                                : lookUp_DataBaseName(SqlSyntax::Access2000);
        };
    }
    ensureSdkStarted();
}

Database::~Database() {
    closeConnection();
    if (QSqlDatabase::contains(d->connectionName))
        QSqlDatabase::removeDatabase(d->connectionName);
    living().removeAll(this);
}

Database& Database::current() {
    if (living().isEmpty())
        sdkOwned() = std::make_unique<Database>();
    return *living().back();
}

bool Database::hasCurrent() {
    return !living().isEmpty();
}

Database_Local& Database::local() {
    if (!d->local)
        d->local = std::make_unique<Database_Local>(*this);
    return *d->local;
}

void Database::set_DBDefaultAccessPath(const QString& v) {
    d->defaultAccessPath = v;
}
void Database::set_DBDefaultSqlServerPath(const QString& v) {
    d->defaultSqlServerPath = v;
}
void Database::set_DBDefaultAccessUserName(const QString& v) {
    d->defaultAccessUserName = v;
}
void Database::set_DBDefaultSqlServerDatabaseName(const QString& v) {
    d->defaultSqlServerDatabaseName = v;
}
void Database::set_DBDefaultSqlServerUserName(const QString& v) {
    d->defaultSqlServerUserName = v;
}
void Database::set_DBDefaultAccessPassword(const QString& v) {
    d->defaultAccessPassword = v;
}
void Database::set_DBDefaultSqlServerPassword(const QString& v) {
    d->defaultSqlServerPassword = v;
}
void Database::set_DBDefaultSqlServerInitialCatalog(const QString& v) {
    d->defaultSqlServerInitialCatalog = v;
}
void Database::set_TestConnectionSqlString(const QString& v) {
    d->testConnectionSql = v;
}
QString Database::get_DBDefaultSqlServerDatabaseName() const {
    return d->defaultSqlServerDatabaseName;
}
QString Database::get_DBDefaultSqlServerInitialCatalog() const {
    return d->defaultSqlServerInitialCatalog;
}
QString Database::get_TestConnectionSqlString() const {
    return d->testConnectionSql;
}

void Database::set_CLassName(const QString& value) {
    d->className = value.trimmed().isEmpty() ? QStringLiteral("SDK") : value;
}

QString Database::get_ClassName() const {
    return d->className;
}

void Database::set_LogSql(bool value, const QString& PathToLog) {
    d->logSql = value;
    d->pathToLog = PathToLog;
}

bool Database::get_LogSql() const {
    return d->logSql;
}

QString Database::get_defaultDBHostPath(SqlSyntax t) const {
    if (t == SqlSyntax::nondefinito)
        t = d->dialect;
    if (t == SqlSyntax::Access2000)
        return d->defaultAccessPath;
    if (t == SqlSyntax::SqlServer)
        return d->defaultSqlServerPath;
    return QString();
}

QString Database::get_defaultDBPassword(SqlSyntax t) const {
    if (t == SqlSyntax::nondefinito)
        t = d->dialect;
    if (t == SqlSyntax::Access2000)
        return d->defaultAccessPassword;
    if (t == SqlSyntax::SqlServer)
        return d->defaultSqlServerPassword;
    return QString();
}

QString Database::get_defaultDBUsername(SqlSyntax t) const {
    if (t == SqlSyntax::nondefinito)
        t = d->dialect;
    if (t == SqlSyntax::Access2000)
        return d->defaultAccessUserName;
    if (t == SqlSyntax::SqlServer)
        return d->defaultSqlServerUserName;
    return QString();
}

QString Database::get_defaultDBName(SqlSyntax t) const {
    return const_cast<Database*>(this)->local().get_defaultDBName(t);
}

void Database::set_DBPassword(const QString& v) {
    d->dbPassword = v.trimmed();
}
QString Database::get_DBPassword() const {
    return d->dbPassword;
}

void Database::set_DBUserName(const QString& v) {
    const QString t = v.trimmed();
    d->dbUserName = t.isEmpty() ? get_defaultDBUsername() : t;
}

QString Database::get_DBUserName() const {
    return d->dbUserName;
}

void Database::set_HostPath(const QString& v) {
    if (!v.trimmed().isEmpty())
        d->hostPath = v.trimmed();
}

void Database::set_DBName(const QString& v) {
    if (!v.trimmed().isEmpty())
        d->dbName = v.trimmed();
}

QString Database::get_DBHostPath() const {
    const QString t = d->hostPath.trimmed();
    return t.isEmpty() ? get_defaultDBHostPath() : t;
}

QString Database::get_DBName() const {
    const QString t = d->dbName.trimmed();
    return t.isEmpty() ? get_defaultDBName() : t;
}

SqlSyntax Database::get_DBPredefinito() const {
    return d->dialect;
}

void Database::set_DBPredefinito(SqlSyntax value) {
    if (value != d->dialect)
        closeConnection();
    d->dialect = value;
}

QString Database::get_DBPredefinitoEsteso() const {
    return lookUp_DataBaseName(d->dialect);
}

QString Database::get_ConnectionString(bool hide) const {
    switch (d->dialect) {
    case SqlSyntax::Access2000:
        return QStringLiteral("Provider=QSQLITE;Data Source='") + get_DBHostPath() + "';";
    case SqlSyntax::SqlServer: {
        const QString pw = hide ? HidePassword(d->dbPassword) : d->dbPassword;
        return QStringLiteral("Provider=QPSQL;Password=") + pw + ";User ID=" + d->dbUserName +
               ";Initial Catalog=" + get_DBName() + ";Data Source=" + get_DBHostPath();
    }
    default:
        return QString();
    }
}

QString Database::get_DefaultActiveConnection() const {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Database selezionato: ") + get_DBPredefinitoEsteso() + crlf +
           QStringLiteral("DB path: ") + get_defaultDBHostPath() + crlf + QStringLiteral("User: ") +
           get_defaultDBUsername() + crlf + QStringLiteral("Password: ") +
           HidePassword(get_defaultDBPassword()) + crlf +
           QStringLiteral("Stringa di connessione: ") + get_ConnectionString(true) + crlf;
}

} // namespace QuorvaneSDK
