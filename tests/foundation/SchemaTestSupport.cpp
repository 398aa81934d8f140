#include "SchemaTestSupport.h"

#include "TestEnvironment.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

using namespace QuorvaneSDK;

namespace QuorvaneTest {

SchemaInspector::SchemaInspector(EngineDatabase& catalogue)
    : m_catalogue(catalogue), m_db(&catalogue.db()), m_dialect(catalogue.db().get_DBPredefinito()) {
}

SchemaInspector::~SchemaInspector() {
    if (!m_rawName.isEmpty()) {
        QSqlDatabase::database(m_rawName, false).close();
        QSqlDatabase::removeDatabase(m_rawName);
    }
}

QSqlDatabase SchemaInspector::raw() {
    if (m_rawName.isEmpty()) {
        m_rawName = "qv-schema-raw-" + QUuid::createUuid().toString(QUuid::Id128);
        if (m_dialect == SqlSyntax::Access2000) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_rawName);
            db.setDatabaseName(m_catalogue.sqlitePath());
        } else {
            const PgServer server = pgServer();
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", m_rawName);
            db.setHostName(server.host);
            db.setPort(server.port);
            db.setUserName(server.user);
            db.setPassword(server.password);
            db.setDatabaseName(m_catalogue.pgDatabase());
        }
    }
    QSqlDatabase db = QSqlDatabase::database(m_rawName);
    return db;
}

QStringList SchemaInspector::firstColumn(const QString& sql) {
    QStringList values;
    const std::optional<Recordset> rs = m_db->get_Recordset(sql, "QuorvaneTest.SchemaInspector");
    if (!rs)
        return {"<query failed>"};
    for (const QVariantList& row : rs->rows())
        values << (row.isEmpty() ? QString() : row.first().toString());
    return values;
}

qint64 SchemaInspector::scalar(const QString& sql) {
    const std::optional<Recordset> rs = m_db->get_Recordset(sql, "QuorvaneTest.SchemaInspector");
    if (!rs || rs->RecordCount() == 0)
        return -1;
    return rs->valueAt(0, rs->FieldNames().value(0)).toLongLong();
}

bool SchemaInspector::isNull(const QString& sql) {
    const std::optional<Recordset> rs = m_db->get_Recordset(sql, "QuorvaneTest.SchemaInspector");
    return !rs || rs->RecordCount() == 0 || rs->valueAt(0, rs->FieldNames().value(0)).isNull();
}

bool SchemaInspector::hasTable(const QString& table) {
    const QString sql =
        m_dialect == SqlSyntax::Access2000
            ? QString("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                      "lower(name) = lower('%1')")
                  .arg(table)
            : QString("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                      "current_schema() AND table_name = lower('%1')")
                  .arg(table);
    return scalar(sql) > 0;
}

QStringList SchemaInspector::columns(const QString& table) {
    QStringList names =
        m_dialect == SqlSyntax::Access2000
            ? firstColumn(QString("SELECT name FROM pragma_table_info('%1')").arg(table))
            : firstColumn(QString("SELECT column_name FROM information_schema.columns WHERE "
                                  "table_schema = current_schema() AND table_name = lower('%1')")
                              .arg(table));
    for (QString& n : names)
        n = n.toLower();
    names.sort();
    return names;
}

QString SchemaInspector::columnType(const QString& table, const QString& column) {
    const QStringList types =
        m_dialect == SqlSyntax::Access2000
            ? firstColumn(QString("SELECT type FROM pragma_table_info('%1') WHERE lower(name) = "
                                  "lower('%2')")
                              .arg(table, column))
            : firstColumn(QString("SELECT data_type FROM information_schema.columns WHERE "
                                  "table_schema = current_schema() AND table_name = lower('%1') "
                                  "AND column_name = lower('%2')")
                              .arg(table, column));
    return types.value(0).toLower();
}

bool SchemaInspector::isGeneratedKey(const QString& table, const QString& column) {
    if (m_dialect == SqlSyntax::Access2000) {
        // A rowid alias: the one INTEGER primary key column.
        return scalar(QString("SELECT count(*) FROM pragma_table_info('%1') WHERE lower(name) = "
                              "lower('%2') AND pk = 1 AND upper(type) = 'INTEGER'")
                          .arg(table, column)) == 1 &&
               scalar(QString("SELECT count(*) FROM pragma_table_info('%1') WHERE pk > 0")
                          .arg(table)) == 1;
    }
    return firstColumn(QString("SELECT is_identity FROM information_schema.columns WHERE "
                               "table_schema = current_schema() AND table_name = lower('%1') AND "
                               "column_name = lower('%2')")
                           .arg(table, column))
               .value(0) == "YES";
}

QString SchemaInspector::columnCollation(const QString& table, const QString& column) {
    if (m_dialect == SqlSyntax::Access2000)
        return {};
    return firstColumn(QString("SELECT collation_name FROM information_schema.columns WHERE "
                               "table_schema = current_schema() AND table_name = lower('%1') AND "
                               "column_name = lower('%2')")
                           .arg(table, column))
        .value(0);
}

QStringList SchemaInspector::indexes() {
    QStringList names =
        m_dialect == SqlSyntax::Access2000
            ? firstColumn("SELECT name FROM sqlite_master WHERE type = 'index'")
            : firstColumn("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()");
    for (QString& n : names)
        n = n.toLower();
    return names;
}

QStringList SchemaInspector::foreignKeys() {
    QStringList keys;
    if (m_dialect == SqlSyntax::Access2000) {
        for (const QString& table :
             firstColumn("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                         "'sqlite_%'"))
            for (const QString& fk : firstColumn(
                     QString("SELECT '%1' || '.' || \"from\" || '->' || \"table\" || '.' || \"to\" "
                             "|| ':' || on_delete FROM pragma_foreign_key_list('%1')")
                         .arg(table)))
                keys << fk.toLower();
    } else {
        keys = firstColumn(
            "SELECT kcu.table_name || '.' || kcu.column_name || '->' || ccu.table_name || '.' || "
            "ccu.column_name || ':' || rc.delete_rule FROM "
            "information_schema.referential_constraints "
            "rc JOIN information_schema.key_column_usage kcu ON kcu.constraint_name = "
            "rc.constraint_name AND kcu.constraint_schema = rc.constraint_schema JOIN "
            "information_schema.constraint_column_usage ccu ON ccu.constraint_name = "
            "rc.unique_constraint_name AND ccu.constraint_schema = rc.unique_constraint_schema "
            "WHERE rc.constraint_schema = current_schema()");
        for (QString& k : keys)
            k = k.toLower();
    }
    keys.sort();
    return keys;
}

QStringList SchemaInspector::schemaSnapshot() {
    QStringList lines;
    const QStringList tables =
        m_dialect == SqlSyntax::Access2000
            ? firstColumn("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")
            : firstColumn("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                          "current_schema() ORDER BY table_name");
    for (const QString& table : tables)
        for (const QString& column : columns(table))
            lines << table + "." + column + " " + columnType(table, column);
    lines << (m_dialect == SqlSyntax::Access2000
                  ? firstColumn("SELECT name || ' ' || coalesce(sql, '') FROM sqlite_master WHERE "
                                "type = 'index' ORDER BY name")
                  : firstColumn("SELECT indexdef FROM pg_indexes WHERE schemaname = "
                                "current_schema() ORDER BY indexname"));
    return lines;
}

QStringList SchemaInspector::queryPlan(const QString& sql) {
    QSqlDatabase db = raw();
    QSqlQuery q(db);
    QStringList plan;
    if (m_dialect == SqlSyntax::Access2000) {
        if (!q.exec("EXPLAIN QUERY PLAN " + sql))
            return {"<failed: " + q.lastError().text() + ">"};
        while (q.next())
            plan << q.value(3).toString();
    } else {
        if (!q.exec("SET enable_seqscan = off") || !q.exec("EXPLAIN " + sql))
            return {"<failed: " + q.lastError().text() + ">"};
        while (q.next())
            plan << q.value(0).toString();
    }
    return plan;
}

} // namespace QuorvaneTest
