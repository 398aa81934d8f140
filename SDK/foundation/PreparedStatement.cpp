#include "foundation/PreparedStatement.h"

#include "foundation/Database.h"
#include "foundation/DatabaseImpl.h"
#include "foundation/Errors.h"
#include "foundation/Reporting.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace QuorvaneSDK {

PreparedStatement::PreparedStatement() = default;
PreparedStatement::~PreparedStatement() = default;
PreparedStatement::PreparedStatement(PreparedStatement&&) noexcept = default;
PreparedStatement& PreparedStatement::operator=(PreparedStatement&&) noexcept = default;

PreparedStatement Database::prepare(const QString& sql, const QString& RoutineCaller,
                                    const QString& keyColumn) {
    PreparedStatement statement;
    statement.m_database = this;
    statement.m_sql = removeNul(sql);
    statement.m_routine = RoutineCaller;
    statement.m_keyColumn = keyColumn.trimmed();
    return statement;
}

void PreparedStatement::bind(int index, const QVariant& value) {
    if (index < 0)
        return;
    while (m_values.size() <= index)
        m_values.append(QVariant());
    QVariant v = value;
    switch (v.typeId()) {
    case QMetaType::QString:
        v = Database::removeNul(v.toString());
        break;
    case QMetaType::Bool: // smallint columns on PostgreSQL
        v = v.toBool() ? 1 : 0;
        break;
    default:
        break;
    }
    m_values[index] = v;
}

void PreparedStatement::bind(int index, const Date& value) {
    bind(index, QVariant(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
}

void PreparedStatement::bindNull(int index) {
    bind(index, QVariant());
}

void PreparedStatement::clearBindings() {
    m_values.clear();
}

bool PreparedStatement::ensurePrepared(QSqlQuery*& query) {
    Database& db = *m_database;
    if (!m_query || m_generation != db.d->generation) {
        m_query = std::make_unique<QSqlQuery>(db.connection());
        QString sql = m_sql;
        if (!m_keyColumn.isEmpty() && db.d->dialect == SqlSyntax::SqlServer)
            sql += QStringLiteral(" RETURNING ") + m_keyColumn;
        m_generation = db.d->generation;
        if (!m_query->prepare(sql)) {
            const QSqlError error = m_query->lastError();
            m_query.reset();
            query = nullptr;
            db.setPendingSqlError(error); // captured by the caller
            return false;
        }
    }
    query = m_query.get();
    for (int i = 0; i < m_values.size(); ++i)
        query->bindValue(i, m_values.at(i));
    return true;
}

ErrorObject PreparedStatement::exec() {
    m_insertedKey = 0;
    if (!m_database)
        return captureError(Database::kErrorNotInBatch, QStringLiteral("Database"),
                            QStringLiteral("Statement not prepared"));
    Database& db = *m_database;
    const qint32 n = ++db.d->statementCounter;
    db.logConnectionOnce(n);
    Errors::clearPendingError();
    ErrorObject result;
    if (!db.ensureOpen(true, false, &result))
        return result;
    const QString procedure = db.d->className + QStringLiteral(".Database.execute_Sql");
    db.writeSqlLog(procedure, m_routine, m_sql, n);
    db.setStatementTimeout(60);

    QSqlError failure;
    bool prepareFailed = false;
    auto attempt = [&]() -> bool {
        QSqlQuery* q = nullptr;
        if (!ensurePrepared(q)) {
            prepareFailed = true;
            return false;
        }
        return db.runJoined([&] {
            if (!q->exec()) {
                failure = q->lastError();
                return false;
            }
            if (!m_keyColumn.isEmpty()) {
                if (db.d->dialect == SqlSyntax::SqlServer)
                    m_insertedKey = q->next() ? q->value(0).toLongLong() : 0;
                else
                    m_insertedKey = q->lastInsertId().toLongLong();
            }
            q->finish();
            return true;
        });
    };
    bool ok = attempt();
    if (!ok && !prepareFailed && db.d->batchDepth == 0 && !db.connectionAlive()) {
        if (db.openConnection(false, false, nullptr)) {
            db.setStatementTimeout(60);
            ok = attempt();
        }
    }
    db.pumpEvents();
    if (ok) {
        db.writeSqlLog(procedure, m_routine, QStringLiteral("OK::") + m_sql, n);
        return ErrorObject();
    }
    m_insertedKey = 0;
    result = Errors::hasPendingError() ? Errors::shared().set_CurrentError()
                                       : db.captureSqlError(failure);
    reportError(result, db.d->className, m_routine,
                QString::number(n) + QStringLiteral("::") + m_sql, false);
    db.writeSqlLog(procedure, m_routine, QStringLiteral("ERROR::") + m_sql, n);
    return result;
}

std::optional<Recordset> PreparedStatement::query(bool avoidShowing) {
    if (!m_database)
        return std::nullopt;
    Database& db = *m_database;
    const qint32 n = ++db.d->statementCounter;
    db.logConnectionOnce(n);
    Errors::clearPendingError();
    if (!db.ensureOpen(true, avoidShowing, nullptr))
        return std::nullopt;
    const QString procedure = db.d->className + QStringLiteral(".Database.get_RecordSet");
    db.writeSqlLog(procedure, m_routine, m_sql, n);
    db.setStatementTimeout(60);
    QSqlError failure;
    std::optional<Recordset> rows;
    QSqlQuery* q = nullptr;
    const bool ok = ensurePrepared(q) && db.runJoined([&] {
        if (!q->exec()) {
            failure = q->lastError();
            return false;
        }
        const QSqlRecord record = q->record();
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        QList<QVariantList> data;
        while (q->next()) {
            QVariantList row;
            for (int i = 0; i < record.count(); ++i)
                row << q->value(i);
            data << std::move(row);
        }
        q->finish();
        rows = Recordset(names, std::move(data));
        return true;
    });
    db.pumpEvents();
    if (ok) {
        db.writeSqlLog(procedure, m_routine, QStringLiteral("OK::") + m_sql, n);
        return rows;
    }
    ErrorObject e = Errors::hasPendingError() ? Errors::shared().set_CurrentError()
                                              : db.captureSqlError(failure);
    reportError(e, db.d->className, m_routine, QString::number(n) + QStringLiteral("::") + m_sql,
                avoidShowing);
    db.writeSqlLog(procedure, m_routine, QStringLiteral("ERROR::") + m_sql, n);
    return std::nullopt;
}

} // namespace QuorvaneSDK
