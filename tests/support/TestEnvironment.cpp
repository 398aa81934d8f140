#include "TestEnvironment.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>
#include <vector>

namespace QuorvaneTest {
namespace {

std::vector<std::unique_ptr<QTemporaryDir>>& tempFolders() {
    static std::vector<std::unique_ptr<QTemporaryDir>> folders;
    return folders;
}

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

// Runs one statement on the server's maintenance database.
bool runAdminStatement(const QString& sql, QString* error) {
    const PgServer server = pgServer();
    if (!server.available) {
        if (error)
            *error = QStringLiteral("no test server");
        return false;
    }
    const QString connName = QStringLiteral("qv-test-admin-") + QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connName);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setUserName(server.user);
        db.setPassword(server.password);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec(sql);
            if (!ok && error)
                *error = query.lastError().text();
            db.close();
        } else if (error) {
            *error = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connName);
    return ok;
}

} // namespace

QString makeTempFolder(const QString& prefix) {
    auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/" + prefix + "-XXXXXX");
    const QString path = dir->path();
    tempFolders().push_back(std::move(dir));
    return path;
}

QString homeFolder() {
    return env("QUORVANE_HOME");
}

QString PgServer::hostWithPort() const {
    return host + ":" + QString::number(port);
}

PgServer pgServer() {
    PgServer server;
    server.host = env("QUORVANE_TEST_PGHOST");
    server.port = env("QUORVANE_TEST_PGPORT").toInt();
    server.user = env("QUORVANE_TEST_PGUSER");
    server.password = env("QUORVANE_TEST_PGPASSWORD");
    if (server.user.isEmpty())
        server.user = QStringLiteral("postgres");
    server.available = !server.host.isEmpty() && server.port > 0;
    return server;
}

QString createScratchPgDatabase(const QString& prefix, QString* error) {
    const QString name =
        (prefix + "_" + QUuid::createUuid().toString(QUuid::Id128).left(12)).toLower();
    if (!runAdminStatement(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
                                          "LC_COLLATE 'C' LC_CTYPE 'C'")
                               .arg(name),
                           error))
        return QString();
    return name;
}

void dropPgDatabase(const QString& name) {
    if (!name.isEmpty())
        runAdminStatement(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name),
                          nullptr);
}

bool runningInCi() {
    return env("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace QuorvaneTest
