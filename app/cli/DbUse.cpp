// db use sqlite PATH [--create] | db use postgresql HOST[:PORT] DATABASE USER
// [--password-stdin]: the new catalogue is opened and brought up to date
// before Database.ini is changed, so a mistyped one never replaces a
// working setting.

#include "CatalogueSession.h"
#include "CliErrors.h"
#include "DbCommands.h"
#include "Output.h"

#include "foundation/DatabaseConnection.h"
#include "foundation/SchemaUpgrade.h"

#include <QFileInfo>
#include <QTextStream>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

void openAndUpgrade(Database& db) {
    clearSdkError();
    if (!db.get_EmptyRecordSet(true))
        throw WorkError(withSdkReason(QStringLiteral("cannot open %1").arg(describeCatalogue(db))));
    quietServerNotices(db);
    const SchemaUpgrade::Outcome outcome = SchemaUpgrade(db).run();
    if (!outcome.ok())
        throw WorkError(QStringLiteral("cannot bring %1 up to date: %2")
                            .arg(describeCatalogue(db), outcome.error.simplified()));
    clearSdkError();
    if (!db.test_Connection())
        throw WorkError(withSdkReason(QStringLiteral("cannot use %1").arg(describeCatalogue(db))));
}

int useSqlite(const ParsedArgs& a) {
    if (a.positionals.size() != 3)
        throw UsageError(QStringLiteral("db use sqlite needs one PATH (try --help)"));
    const QString path = QFileInfo(a.positionals.at(2)).absoluteFilePath();
    if (!QFileInfo::exists(path)) {
        if (!a.has(QStringLiteral("create")))
            throw WorkError(
                QStringLiteral("no catalogue file %1 (--create makes a new one)").arg(path));
        clearSdkError();
        if (!Database::createCatalogueFile(path))
            throw WorkError(withSdkReason(QStringLiteral("cannot create %1").arg(path)));
    }
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::Access2000);
        db.set_HostPath(path);
        openAndUpgrade(db);
    }
    DatabaseConnection settings;
    settings.set_DBAccessHost(path);
    settings.set_DBPredefinito(SqlSyntax::Access2000);
    printMessage(QStringLiteral("now using the SQLite file %1").arg(path));
    return ExitOk;
}

QString passwordFromStdin() {
    QTextStream in(stdin);
    return in.readLine();
}

int usePostgresql(const ParsedArgs& a) {
    if (a.positionals.size() != 5)
        throw UsageError(
            QStringLiteral("db use postgresql needs HOST[:PORT] DATABASE USER (try --help)"));
    const QString host = a.positionals.at(2).trimmed();
    const QString name = a.positionals.at(3).trimmed();
    const QString user = a.positionals.at(4).trimmed();
    if (host.isEmpty() || name.isEmpty() || user.isEmpty())
        throw UsageError(QStringLiteral("host, database and user must not be empty"));
    const QString password =
        a.has(QStringLiteral("password-stdin")) ? passwordFromStdin() : QString();
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::SqlServer);
        db.set_HostPath(host);
        db.set_DBName(name);
        db.set_DBUserName(user);
        db.set_DBPassword(password);
        openAndUpgrade(db);
    }
    DatabaseConnection settings;
    settings.set_DBSqlServerHost(host);
    settings.set_DBSqlServerDatabaseName(name);
    settings.set_DBSqlServerUserName(user);
    settings.set_DBSqlServerUserPassword(password);
    settings.set_DBPredefinito(SqlSyntax::SqlServer);
    printMessage(
        QStringLiteral("now using the PostgreSQL database %1 on %2 as %3").arg(name, host, user));
    return ExitOk;
}

} // namespace

int dbUse(const ParsedArgs& a) {
    const QString engine = a.positionals.value(1).toLower();
    if (engine == QLatin1String("sqlite"))
        return useSqlite(a);
    if (engine == QLatin1String("postgresql"))
        return usePostgresql(a);
    throw UsageError(QStringLiteral("db use needs sqlite or postgresql (try --help)"));
}

} // namespace QuorvaneCli
