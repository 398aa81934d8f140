// Connection handling, statements and queries of Database.
#include "foundation/Database.h"

#include "foundation/DatabaseImpl.h"
#include "foundation/Errors.h"
#include "foundation/Reporting.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUrl>

namespace QuorvaneSDK {
namespace {

const QString kConnectionRoutine = QStringLiteral("DBConnection.get_NewConnection");

struct HostPort {
    QString host;
    int port = -1;
};

// "host:port" or a bare host; a bracketed IPv6 address may carry a port too.
HostPort splitHost(const QString& text) {
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && text.count(QLatin1Char(':')) == 1) {
        bool ok = false;
        const int port = text.mid(colon + 1).toInt(&ok);
        if (ok)
            return {text.left(colon), port};
    }
    if (text.startsWith(QLatin1Char('[')) && colon > 0 && text.at(colon - 1) == QLatin1Char(']')) {
        bool ok = false;
        const int port = text.mid(colon + 1).toInt(&ok);
        if (ok)
            return {text.mid(1, colon - 2), port};
    }
    return {text, -1};
}

} // namespace

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(d->connectionName, false);
}

void Database::closeConnection() {
    if (QSqlDatabase::contains(d->connectionName)) {
        QSqlDatabase db = connection();
        if (db.isOpen())
            db.close();
    }
    if (d->open)
        ++d->generation;
    d->open = false;
    d->statementTimeoutMs = -1;
    if (d->batchDepth > 0) {
        // Closing ends the transaction: the open batch is rolled back.
        d->batchDepth = 0;
        d->batchBroken = false;
        notifyRollback();
    }
}

ErrorObject Database::captureSqlError(const QSqlError& error) const {
    setPendingSqlError(error);
    return Errors::shared().set_CurrentError();
}

void Database::setPendingSqlError(const QSqlError& error) const {
    QString description = error.databaseText().trimmed();
    if (description.isEmpty())
        description = error.driverText().trimmed();
    if (description.isEmpty())
        description = error.text().trimmed();
    const QString code = error.nativeErrorCode().trimmed();
    qint32 number = 0;
    if (d->dialect == SqlSyntax::SqlServer && !code.isEmpty()) {
        number = sqlStateToNumber(code);
        description = QStringLiteral("[SQLSTATE %1] %2").arg(code, description);
    } else {
        number = code.toInt();
    }
    if (number == 0)
        number = 1; // an engine error without a code is still an error
    Errors::setPendingError(number, lookUp_DataBaseName(d->dialect), description);
}

bool Database::ensureOpen(bool report, bool avoidShowing, ErrorObject* error) {
    if (d->open && d->openedWith == get_ConnectionString() && connection().isOpen())
        return true;
    if (d->batchDepth > 0) {
        // Never reconnect under an open batch: its transaction is gone.
        ErrorObject e = captureError(kErrorBatchLost, lookUp_DataBaseName(d->dialect),
                                     QStringLiteral("The connection of an open batch was lost"));
        if (report)
            reportError(e, d->className, kConnectionRoutine, QString(), avoidShowing);
        if (error)
            *error = e;
        return false;
    }
    return openConnection(report, avoidShowing, error);
}

bool Database::openConnection(bool report, bool avoidShowing, ErrorObject* error) {
    closeConnection();
    const bool sqlite = d->dialect == SqlSyntax::Access2000;
    const QString driver = sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    if (QSqlDatabase::contains(d->connectionName) && connection().driverName() != driver)
        QSqlDatabase::removeDatabase(d->connectionName);
    QSqlDatabase db = QSqlDatabase::contains(d->connectionName)
                          ? connection()
                          : QSqlDatabase::addDatabase(driver, d->connectionName);
    ErrorObject failure;
    if (d->dialect != SqlSyntax::Access2000 && d->dialect != SqlSyntax::SqlServer) {
        failure = captureError(kErrorFileMissing, QStringLiteral("Database"),
                               QStringLiteral("No database dialect chosen"));
    } else if (sqlite) {
        // mode=rw: an existing catalogue only; a mistyped path must not
        // silently become a new empty catalogue.
        QUrl url = QUrl::fromLocalFile(QFileInfo(get_DBHostPath()).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        const HostPort hp = splitHost(get_DBHostPath());
        db.setHostName(hp.host);
        db.setPort(hp.port);
        db.setDatabaseName(get_DBName());
        db.setUserName(d->dbUserName);
        db.setPassword(d->dbPassword);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (failure.Number == 0) {
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (db.open()) {
            QSqlQuery setup(db);
            if (!sqlite || setup.exec(QStringLiteral("PRAGMA foreign_keys=ON"))) {
                d->open = true;
                d->openedWith = get_ConnectionString();
                ++d->generation;
                return true;
            }
            failure = captureSqlError(setup.lastError());
            db.close();
        } else {
            failure = captureSqlError(db.lastError());
        }
    }
    if (report)
        reportError(failure, d->className, kConnectionRoutine, QString(), avoidShowing);
    if (error)
        *error = failure;
    return false;
}

bool Database::connectionAlive() {
    if (!d->open)
        return false;
    QSqlQuery probe(connection());
    return probe.exec(QStringLiteral("SELECT 1"));
}

void Database::setStatementTimeout(int seconds) {
    if (d->dialect != SqlSyntax::SqlServer)
        return; // SQLite waits for locks through its busy timeout only
    const int ms = std::max(0, seconds) * 1000;
    if (ms == d->statementTimeoutMs)
        return;
    QSqlQuery q(connection());
    if (q.exec(QStringLiteral("SET statement_timeout = %1").arg(ms)))
        d->statementTimeoutMs = ms;
}

bool Database::runJoined(const std::function<bool()>& work) {
    if (d->batchDepth == 0)
        return work();
    if (d->batchBroken) {
        Errors::setPendingError(kErrorBatchLost, lookUp_DataBaseName(d->dialect),
                                QStringLiteral("The transaction of the open batch was lost"));
        return false;
    }
    QSqlQuery sp(connection());
    if (!sp.exec(QStringLiteral("SAVEPOINT qv_statement")))
        return work(); // the engine refused the savepoint: the work runs unguarded
    if (work()) {
        sp.exec(QStringLiteral("RELEASE SAVEPOINT qv_statement"));
        return true;
    }
    // Undo only this statement. If the engine already ended the whole
    // transaction (disk full, lost connection) the savepoint is gone: the
    // batch cannot commit any more.
    if (!sp.exec(QStringLiteral("ROLLBACK TO SAVEPOINT qv_statement")))
        d->batchBroken = true;
    else
        sp.exec(QStringLiteral("RELEASE SAVEPOINT qv_statement"));
    return false;
}

void Database::pumpEvents() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return;
    if (d->sinceEvents.elapsed() < 50)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    d->sinceEvents.restart();
}

ErrorObject Database::execute_Sql(const QString& SqlString, const QString& RoutineCaller,
                                  bool UseTransaction, qint16 CommandTimeout) {
    const qint32 n = ++d->statementCounter;
    logConnectionOnce(n);
    Errors::clearPendingError();
    ErrorObject result;
    if (!ensureOpen(true, false, &result))
        return result;
    const QString sql = removeNul(SqlString);
    const QString procedure = d->className + QStringLiteral(".Database.execute_Sql");
    writeSqlLog(procedure, RoutineCaller, sql, n);
    setStatementTimeout(CommandTimeout);

    QSqlError failure;
    auto attempt = [&]() -> bool {
        QSqlDatabase db = connection();
        QSqlQuery q(db);
        if (d->batchDepth > 0 && d->dialect == SqlSyntax::SqlServer && !d->batchBroken) {
            // One round trip: every batch level holds a standing savepoint
            // (see beginBatch); the statement goes first, then the
            // savepoint is moved past it. On failure the server skips the
            // rest and only the undo follows.
            if (q.exec(sql +
                       QStringLiteral("\n;RELEASE SAVEPOINT qv_standing;SAVEPOINT qv_standing")))
                return true;
            failure = q.lastError();
            QSqlQuery undo(db);
            if (!undo.exec(QStringLiteral("ROLLBACK TO SAVEPOINT qv_standing")))
                d->batchBroken = true;
            return false;
        }
        if (d->batchDepth > 0) {
            return runJoined([&] {
                if (q.exec(sql))
                    return true;
                failure = q.lastError();
                return false;
            });
        }
        const bool tx = UseTransaction && db.transaction();
        if (UseTransaction && !tx) {
            failure = db.lastError();
            return false;
        }
        if (!q.exec(sql)) {
            failure = q.lastError();
            if (tx)
                db.rollback();
            return false;
        }
        if (tx && !db.commit()) {
            failure = db.lastError();
            db.rollback();
            return false;
        }
        return true;
    };
    bool ok = attempt();
    if (!ok && d->batchDepth == 0 && !connectionAlive()) {
        // The kept connection broke (server restart, network): reopen once.
        if (openConnection(false, false, nullptr)) {
            setStatementTimeout(CommandTimeout);
            ok = attempt();
        }
    }
    pumpEvents();
    if (ok) {
        writeSqlLog(procedure, RoutineCaller, QStringLiteral("OK::") + sql, n);
        return ErrorObject();
    }
    result =
        Errors::hasPendingError() ? Errors::shared().set_CurrentError() : captureSqlError(failure);
    reportError(result, d->className, RoutineCaller,
                QString::number(n) + QStringLiteral("::") + sql, false);
    writeSqlLog(procedure, RoutineCaller, QStringLiteral("ERROR::") + sql, n);
    return result;
}

std::optional<Recordset> Database::get_Recordset(const QString& SqlString,
                                                 const QString& RoutineCaller,
                                                 bool AvoidShowingErrorMessages) {
    const qint32 n = ++d->statementCounter;
    logConnectionOnce(n);
    Errors::clearPendingError();
    if (!ensureOpen(true, AvoidShowingErrorMessages, nullptr))
        return std::nullopt;
    const QString sql = removeNul(SqlString);
    const QString procedure = d->className + QStringLiteral(".Database.get_RecordSet");
    writeSqlLog(procedure, RoutineCaller, sql, n);
    setStatementTimeout(60);

    QSqlError failure;
    std::optional<Recordset> rows;
    auto attempt = [&]() -> bool {
        return runJoined([&] {
            QSqlQuery q(connection());
            q.setForwardOnly(true);
            if (!q.exec(sql)) {
                failure = q.lastError();
                return false;
            }
            const QSqlRecord record = q.record();
            QStringList names;
            for (int i = 0; i < record.count(); ++i)
                names << record.fieldName(i);
            QList<QVariantList> data;
            while (q.next()) {
                QVariantList row;
                row.reserve(record.count());
                for (int i = 0; i < record.count(); ++i)
                    row << q.value(i);
                data << std::move(row);
            }
            if (q.lastError().isValid()) {
                failure = q.lastError();
                return false;
            }
            rows = Recordset(names, std::move(data));
            return true;
        });
    };
    bool ok = attempt();
    if (!ok && d->batchDepth == 0 && !connectionAlive()) {
        if (openConnection(false, false, nullptr)) {
            setStatementTimeout(60);
            ok = attempt();
        }
    }
    pumpEvents();
    if (ok) {
        writeSqlLog(procedure, RoutineCaller, QStringLiteral("OK::") + sql, n);
        writeSqlLog(procedure, RoutineCaller,
                    QStringLiteral("Returned %1 rows:: ").arg(rows->RecordCount()) + sql, n);
        return rows;
    }
    ErrorObject e =
        Errors::hasPendingError() ? Errors::shared().set_CurrentError() : captureSqlError(failure);
    reportError(e, d->className, RoutineCaller, QString::number(n) + QStringLiteral("::") + sql,
                AvoidShowingErrorMessages);
    writeSqlLog(procedure, RoutineCaller, QStringLiteral("ERROR::") + sql, n);
    return std::nullopt;
}

std::optional<Recordset> Database::get_EmptyRecordSet(bool AvoidShowingErrorMessages) {
    if (!ensureOpen(true, AvoidShowingErrorMessages, nullptr))
        return std::nullopt;
    return Recordset();
}

bool Database::IsDatabaseReadyFor(const QString& SqlString) {
    if (!ensureOpen(false, false, nullptr))
        return false;
    const QString sql = removeNul(SqlString);
    const bool ok = runJoined([&] {
        QSqlQuery q(connection());
        q.setForwardOnly(true);
        return q.exec(sql);
    });
    Errors::clearPendingError();
    return ok;
}

bool Database::test_Connection() {
    if (d->dialect == SqlSyntax::Access2000) {
        const QString path = get_DBHostPath();
        if (!QFileInfo(path).isFile()) {
            raiseMessage(QStringLiteral("Database non trovato: ") + path, MessageType::Warning);
            return false;
        }
    }
    return get_Recordset(d->testConnectionSql, QStringLiteral("test_Connection"), true).has_value();
}

} // namespace QuorvaneSDK
