#pragma once
// Private state of Database (not part of the public headers).

#include "foundation/Database.h"
#include "foundation/Database_Local.h"

#include <QElapsedTimer>
#include <QMap>

namespace QuorvaneSDK {

struct Database::Impl {
    QString hostPath;
    QString dbName;
    QString dbUserName;
    QString dbPassword;
    QString defaultAccessPath;
    QString defaultSqlServerPath = QStringLiteral("localhost");
    QString defaultAccessUserName = QStringLiteral("Admin");
    QString defaultSqlServerUserName = QStringLiteral("Quorvane");
    QString defaultSqlServerDatabaseName;
    QString defaultAccessPassword;
    QString defaultSqlServerPassword = QStringLiteral("Hq7TzRk2VpNs4Wd");
    QString defaultSqlServerInitialCatalog = QStringLiteral("Quorvane");
    QString testConnectionSql = QStringLiteral("SELECT Count(IDMedia) as n_rec FROM Media");
    QString className = QStringLiteral("QuorvaneSDK");
    SqlSyntax dialect = SqlSyntax::Access2000;
    bool logSql = false;
    QString pathToLog;
    qint32 statementCounter = 0;
    bool connectionLogged = false;
    std::unique_ptr<Database_Local> local;

    // The kept connection.
    QString connectionName; // unique per object
    bool open = false;
    QString openedWith;          // connection string the kept connection was opened with
    int statementTimeoutMs = -1; // PostgreSQL session value last set
    int batchDepth = 0;
    bool batchBroken = false; // the engine ended the transaction under an open batch
    int savepointCounter = 0;
    QMap<int, std::function<void()>> rollbackListeners;
    int nextListenerId = 1;
    QElapsedTimer sinceEvents;
};

} // namespace QuorvaneSDK
