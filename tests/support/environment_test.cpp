// The test environment itself: a private home and, under scripts/test, a
// reachable PostgreSQL server with the C collation the catalogue relies on.
#include "TestEnvironment.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

TEST(TestEnvironment, HomeIsPrivateTemporaryFolder) {
    EXPECT_FALSE(QuorvaneTest::homeFolder().isEmpty());
    EXPECT_TRUE(QuorvaneTest::homeFolder().startsWith(QDir::tempPath()));
}

TEST(TestEnvironment, PostgreSqlScratchDatabaseUsesBinaryOrder) {
    QUORVANE_REQUIRE_PG();
    QString error;
    const QString name = QuorvaneTest::createScratchPgDatabase("qv_env", &error);
    ASSERT_FALSE(name.isEmpty()) << error.toStdString();
    const auto server = QuorvaneTest::pgServer();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "env-check");
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setUserName(server.user);
        db.setDatabaseName(name);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("SELECT x FROM (VALUES ('b'), ('B'), ('a')) AS t(x) ORDER BY x"));
        QStringList order;
        while (q.next())
            order << q.value(0).toString();
        EXPECT_EQ(order, (QStringList{"B", "a", "b"}));
        db.close();
    }
    QSqlDatabase::removeDatabase("env-check");
    QuorvaneTest::dropPgDatabase(name);
}
