#include "BenchCatalogues.h"

#include "foundation/SchemaUpgrade.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <cstdio>

using namespace QuorvaneSDK;

namespace QuorvaneBench {
namespace {

struct Server {
    QString host, user, password;
    int port = 0;
};

bool admin(const Server& s, const QString& sql) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "bench-admin");
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName("postgres");
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(sql);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase("bench-admin");
    return ok;
}

} // namespace

int forEachEngine(const QString& folder,
                  const std::function<void(const char* engine, Database& db)>& body) {
    {
        const QString path = folder + "/bench.sqlite";
        Database::createCatalogueFile(path);
        Database db;
        db.set_DBPredefinito(SqlSyntax::Access2000);
        db.set_HostPath(path);
        body("SQLite", db);
    }
    Server s;
    s.host = qEnvironmentVariable("QUORVANE_TEST_PGHOST");
    s.port = qEnvironmentVariable("QUORVANE_TEST_PGPORT").toInt();
    s.user = qEnvironmentVariable("QUORVANE_TEST_PGUSER", "postgres");
    s.password = qEnvironmentVariable("QUORVANE_TEST_PGPASSWORD");
    if (s.host.isEmpty() || s.port == 0) {
        std::printf("PostgreSQL: no server named in QUORVANE_TEST_PGHOST/PGPORT, skipped\n");
        return 0;
    }
    const QString name = "qv_bench_" + QUuid::createUuid().toString(QUuid::Id128).left(10);
    if (!admin(s, "CREATE DATABASE " + name)) {
        std::printf("PostgreSQL: cannot create a scratch database\n");
        return 1;
    }
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::SqlServer);
        db.set_HostPath(s.host + ":" + QString::number(s.port));
        db.set_DBName(name);
        db.set_DBUserName(s.user);
        db.set_DBPassword(s.password);
        body("PostgreSQL", db);
    }
    admin(s, "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    return 0;
}

bool openSqliteCatalogue(Database& db, const QString& folder) {
    const QString path = folder + QStringLiteral("/bench.sqlite");
    if (!Database::createCatalogueFile(path))
        return false;
    db.set_DBPredefinito(SqlSyntax::Access2000);
    db.set_HostPath(path);
    return SchemaUpgrade(db).run().ok();
}

qint32 addBenchMedium(Main& main) {
    Media m;
    m.Label = QStringLiteral("bench");
    m.SerialNumber = QStringLiteral("BENCH");
    m.EAN13 = main.get_EAN13(Item::Media);
    main.set_Media(m);
    return main.get_Media(m.SerialNumber, QString(), 0, false).id;
}

} // namespace QuorvaneBench
