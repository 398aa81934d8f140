// A catalogue that is missing or cannot be reached, a connection that
// breaks, and the SQL debug log.
#include "SdkTestSupport.h"

#include "foundation/BatchScope.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace QuorvaneSDK;

TEST(DatabaseFailure, MissingSqliteFileIsNeverCreated) {
    const QString path = QuorvaneTest::makeTempFolder() + "/Missing.sqlite";
    Database db;
    db.set_HostPath(path);
    QuorvaneTest::MessageRecorder recorder;

    EXPECT_FALSE(db.test_Connection());
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(recorder.messages.first().first, "Database non trovato: " + path);
    EXPECT_EQ(recorder.messages.first().second, MessageType::Warning);
    EXPECT_TRUE(recorder.errors.isEmpty()); // no connection was attempted

    const ErrorObject e = db.execute_Sql("CREATE TABLE t (a INTEGER)", "QuorvaneSDK.test");
    EXPECT_NE(e.Number, 0); // a write that did not happen is not a success
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_EQ(recorder.errors.first().routine, "DBConnection.get_NewConnection");
    EXPECT_FALSE(db.get_Recordset("SELECT 1", "QuorvaneSDK.test").has_value());
    EXPECT_FALSE(db.get_EmptyRecordSet().has_value());
    EXPECT_FALSE(db.IsDatabaseReadyFor("SELECT 1"));
    EXPECT_FALSE(db.inBatch());
    {
        BatchScope batch(db);
        EXPECT_FALSE(batch.isActive());
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(DatabaseFailure, CatalogueFileIsCreatedOnlyOnPurpose) {
    const QString path = QuorvaneTest::makeTempFolder() + "/sub/dir/Dati.sqlite";
    EXPECT_TRUE(Database::createCatalogueFile(path));
    EXPECT_GT(QFileInfo(path).size(), 0);
    EXPECT_FALSE(Database::createCatalogueFile(path)); // never over an existing file
    Database db;
    db.set_HostPath(path);
    EXPECT_EQ(db.execute_Sql("CREATE TABLE t (a INTEGER)", "t").Number, 0);
    // foreign keys are enforced on SQLite connections
    EXPECT_EQ(db.execute_Sql("CREATE TABLE p (id INTEGER PRIMARY KEY)", "t").Number, 0);
    EXPECT_EQ(db.execute_Sql("CREATE TABLE c (pid INTEGER REFERENCES p(id))", "t").Number, 0);
    EXPECT_NE(db.execute_Sql("INSERT INTO c (pid) VALUES (42)", "t").Number, 0);
}

TEST(DatabaseFailure, PathsWithOddCharactersOpen) {
    const QString path = QuorvaneTest::makeTempFolder() + "/a b%20#?c'è/Dati 1.sqlite";
    ASSERT_TRUE(Database::createCatalogueFile(path));
    Database db;
    db.set_HostPath(path);
    EXPECT_EQ(db.execute_Sql("CREATE TABLE t (a INTEGER)", "t").Number, 0);
    EXPECT_TRUE(db.IsDatabaseReadyFor("SELECT a FROM t"));
}

TEST(DatabaseFailure, UnreachableServerIsCapturedAndReported) {
    Database db;
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    db.set_HostPath("127.0.0.1:1"); // nothing listens there
    db.set_DBName("nothing");
    db.set_DBUserName("nobody");
    db.set_DBPassword("pw");
    QuorvaneTest::MessageRecorder recorder;
    const ErrorObject e = db.execute_Sql("SELECT 1", "QuorvaneSDK.test");
    EXPECT_NE(e.Number, 0);
    EXPECT_EQ(e.Source, "PostgreSQL");
    EXPECT_FALSE(e.Description.isEmpty());
    EXPECT_FALSE(db.get_Recordset("SELECT 1", "QuorvaneSDK.test", true).has_value());
    EXPECT_FALSE(db.test_Connection());
    EXPECT_EQ(recorder.errors.size(), 3);
    EXPECT_FALSE(recorder.errors.at(1).showInstanceInfo);
    EXPECT_EQ(recorder.errors.first().error.DBUsed, "PostgreSQL");
}

TEST(DatabaseFailure, BrokenServerConnectionIsReopenedOnceButNotUnderABatch) {
    QUORVANE_REQUIRE_PG();
    QuorvaneTest::EngineDatabase engine(QuorvaneTest::Engine::PostgreSQL);
    ASSERT_TRUE(engine.ready()) << engine.error().toStdString();
    Database& db = engine.db();
    ASSERT_EQ(db.execute_Sql("CREATE TABLE t (a INTEGER)", "t").Number, 0);

    auto killOtherSessions = [&] {
        const auto server = QuorvaneTest::pgServer();
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "qv-kill");
        admin.setHostName(server.host);
        admin.setPort(server.port);
        admin.setUserName(server.user);
        admin.setPassword(server.password);
        admin.setDatabaseName("postgres");
        ASSERT_TRUE(admin.open());
        QSqlQuery q(admin);
        ASSERT_TRUE(
            q.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                   engine.pgDatabase() + "' AND pid <> pg_backend_pid()"));
        admin.close();
    };
    killOtherSessions();
    QSqlDatabase::removeDatabase("qv-kill");
    EXPECT_EQ(db.execute_Sql("INSERT INTO t VALUES (1)", "t").Number, 0);

    {
        BatchScope batch(db);
        ASSERT_TRUE(batch.isActive());
        EXPECT_EQ(db.execute_Sql("INSERT INTO t VALUES (2)", "t").Number, 0);
        killOtherSessions();
        QSqlDatabase::removeDatabase("qv-kill");
        EXPECT_NE(db.execute_Sql("INSERT INTO t VALUES (3)", "t").Number, 0);
        EXPECT_FALSE(batch.commit());
    }
    auto rs = db.get_Recordset("SELECT a FROM t ORDER BY a", "t");
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->RecordCount(), 1); // the batch's rows never reached the catalogue
}

TEST(DatabaseFailure, SqlDebugLogMasksPasswords) {
    const QString folder = QuorvaneTest::makeTempFolder();
    const QString path = folder + "/Dati.sqlite";
    ASSERT_TRUE(Database::createCatalogueFile(path));
    {
        Database db;
        db.set_HostPath(path);
        db.set_LogSql(true, folder);
        EXPECT_EQ(db.execute_Sql("create table t (a integer)", "QuorvaneSDK.make"), ErrorObject());
        EXPECT_NE(db.execute_Sql("insert into nowhere values (1)", "QuorvaneSDK.fail").Number, 0);
    }
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::SqlServer);
        db.set_HostPath("127.0.0.1:1");
        db.set_DBPassword("TopSecret99");
        db.set_LogSql(true, folder + "/");
        db.execute_Sql("SELECT 1", "QuorvaneSDK.pg");
    }
    QFile log(folder + "/QuorvaneSDK.debug.log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(QString(96, '-') +
                              "\r\nProcedure : SDK.Database.DebugLog\r\nid           : 1\r\n"
                              "Sql          : PROVIDER=QSQLITE;"));
    EXPECT_TRUE(text.contains(
        "Procedure : QuorvaneSDK.Database.execute_Sql.QuorvaneSDK.make\r\nid           : 1\r\n"
        "Sql          : CREATE TABLE T (A INTEGER)\r\n"));
    EXPECT_TRUE(text.contains("Sql          : OK::CREATE TABLE T (A INTEGER)\r\n"));
    EXPECT_TRUE(text.contains("Sql          : ERROR::INSERT INTO NOWHERE VALUES (1)\r\n"));
    EXPECT_TRUE(text.contains("PASSWORD=***********;"));
    EXPECT_FALSE(text.contains("TOPSECRET99", Qt::CaseInsensitive));
}
