// Batches (one transaction around many statements) and the SQL debug log.
#include "foundation/Database.h"

#include "foundation/DatabaseImpl.h"
#include "foundation/Errors.h"
#include "foundation/Reporting.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>

namespace QuorvaneSDK {
namespace {

const QString kBatchRoutine = QStringLiteral("Database.Batch");

QString savepointName(int depth) {
    return QStringLiteral("qv_batch_%1").arg(depth);
}

} // namespace

int Database::batchDepth() const {
    return d->batchDepth;
}

bool Database::beginBatch() {
    ErrorObject e;
    if (!ensureOpen(true, false, &e))
        return false;
    QSqlDatabase db = connection();
    if (d->batchDepth == 0) {
        if (!db.transaction()) {
            e = captureSqlError(db.lastError());
            reportError(e, d->className, kBatchRoutine, QStringLiteral("BEGIN"), false);
            return false;
        }
        d->batchBroken = false;
    } else {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SAVEPOINT ") + savepointName(d->batchDepth))) {
            e = captureSqlError(q.lastError());
            reportError(e, d->className, kBatchRoutine, QStringLiteral("SAVEPOINT"), false);
            return false;
        }
    }
    // PostgreSQL: a standing savepoint per level lets execute_Sql undo one
    // failed statement without an extra round trip before it.
    if (d->dialect == SqlSyntax::SqlServer) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SAVEPOINT qv_standing"))) {
            e = captureSqlError(q.lastError());
            if (d->batchDepth == 0)
                db.rollback();
            else
                q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName(d->batchDepth));
            reportError(e, d->className, kBatchRoutine, QStringLiteral("SAVEPOINT"), false);
            return false;
        }
    }
    ++d->batchDepth;
    return true;
}

bool Database::commitBatch() {
    if (d->batchDepth == 0) {
        ErrorObject e = captureError(kErrorNotInBatch, QStringLiteral("Database"),
                                     QStringLiteral("Commit without an open batch"));
        reportError(e, d->className, kBatchRoutine, QStringLiteral("COMMIT"), false);
        return false;
    }
    QSqlDatabase db = connection();
    if (d->batchDepth > 1) {
        --d->batchDepth;
        if (d->batchBroken)
            return false;
        QSqlQuery q(db);
        q.exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName(d->batchDepth));
        return true;
    }
    d->batchDepth = 0;
    if (d->batchBroken) {
        db.rollback();
        d->batchBroken = false;
        notifyRollback();
        ErrorObject e = captureError(
            kErrorBatchLost, lookUp_DataBaseName(d->dialect),
            QStringLiteral("The transaction of the batch was lost; nothing was stored"));
        reportError(e, d->className, kBatchRoutine, QStringLiteral("COMMIT"), false);
        return false;
    }
    if (!db.commit()) {
        ErrorObject e = captureSqlError(db.lastError());
        db.rollback();
        notifyRollback();
        reportError(e, d->className, kBatchRoutine, QStringLiteral("COMMIT"), false);
        return false;
    }
    return true;
}

void Database::rollbackBatch() {
    if (d->batchDepth == 0)
        return;
    QSqlDatabase db = connection();
    --d->batchDepth;
    if (d->batchDepth == 0) {
        db.rollback();
        d->batchBroken = false;
    } else if (!d->batchBroken) {
        QSqlQuery q(db);
        const QString name = savepointName(d->batchDepth);
        if (q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name))
            q.exec(QStringLiteral("RELEASE SAVEPOINT ") + name);
        else
            d->batchBroken = true;
    }
    notifyRollback();
}

int Database::addRollbackListener(std::function<void()> listener) {
    const int id = d->nextListenerId++;
    d->rollbackListeners.insert(id, std::move(listener));
    return id;
}

void Database::removeRollbackListener(int id) {
    d->rollbackListeners.remove(id);
}

void Database::notifyRollback() {
    const auto listeners = d->rollbackListeners; // a listener may remove itself
    for (const auto& listener : listeners) {
        try {
            if (listener)
                listener();
        } catch (...) {
        }
    }
}

void Database::logConnectionOnce(qint32 n) {
    if (d->connectionLogged || !d->logSql)
        return;
    d->connectionLogged = true;
    writeSqlLog(QStringLiteral("SDK.Database"), QStringLiteral("DebugLog"),
                get_ConnectionString(true), n);
}

void Database::writeSqlLog(const QString& procedure, const QString& caller, const QString& sql,
                           qint32 n) {
    if (!d->logSql)
        return;
    QString folder = d->pathToLog;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QFile file(folder + QStringLiteral("QuorvaneSDK.debug.log"));
    // The log holds every statement with its data: readable by the user only.
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return;
    const QString crlf = QStringLiteral("\r\n");
    const QString entry =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
        QStringLiteral("  ") + QString(96, QLatin1Char('-')) + crlf +
        QStringLiteral("Procedure : ") + procedure + "." + caller + crlf +
        QStringLiteral("id           : ") + QString::number(n) + crlf +
        QStringLiteral("Sql          : ") + sql.trimmed().toUpper() + crlf;
    file.write(entry.toUtf8());
}

} // namespace QuorvaneSDK
