// Compaction: the catalogue is never without a complete file.
#include "SdkTestSupport.h"

#include "foundation/BatchScope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace QuorvaneSDK;

namespace {

class CompactTest : public QuorvaneTest::EngineTest {
protected:
    void fill() {
        ASSERT_EQ(
            db().execute_Sql("CREATE TABLE Items (ID INTEGER, Name VARCHAR(100))", "t").Number, 0);
        BatchScope batch(db());
        for (int i = 0; i < 500; ++i)
            db().execute_Sql(QStringLiteral("INSERT INTO Items VALUES (%1, 'item %1 l''x')").arg(i),
                             "t");
        ASSERT_TRUE(batch.commit());
        ASSERT_EQ(db().execute_Sql("DELETE FROM Items WHERE ID >= 250", "t").Number, 0);
    }
    QStringList content() {
        QStringList rows;
        auto rs = db().get_Recordset("SELECT ID, Name FROM Items ORDER BY ID", "t");
        for (; rs && !rs->Eof(); rs->MoveNext())
            rows << rs->text("ID") + "|" + rs->text("Name");
        return rows;
    }
};

TEST_P(CompactTest, ContentIsIdenticalAfterwards) {
    fill();
    const QStringList before = content();
    ASSERT_EQ(before.size(), 250);
    EXPECT_TRUE(db().CompactRepairDatabase());
    EXPECT_EQ(content(), before);
    if (!isPostgres()) {
        const QString path = engineDatabase().sqlitePath();
        EXPECT_TRUE(QFileInfo::exists(path + ".bak"));
        EXPECT_FALSE(QFileInfo::exists(path + ".compacting"));
        EXPECT_LE(QFileInfo(path).size(), QFileInfo(path + ".bak").size());
        // a second compaction replaces the old backup
        EXPECT_TRUE(db().CompactRepairDatabase());
        EXPECT_EQ(content(), before);
    }
}

TEST_P(CompactTest, RefusedWhileABatchIsOpen) {
    fill();
    BatchScope batch(db());
    EXPECT_FALSE(db().CompactRepairDatabase());
    EXPECT_TRUE(batch.commit());
}

QUORVANE_ENGINE_TEST_SUITE(CompactTest);

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CompactSqlite, DamagedFileIsLeftInPlace) {
    const QString path = QuorvaneTest::makeTempFolder() + "/Dati.sqlite";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    Database db;
    db.set_HostPath(path);
    QuorvaneTest::MessageRecorder recorder;
    EXPECT_FALSE(db.CompactRepairDatabase());
    EXPECT_EQ(readAll(path), QByteArray(8192, 'x'));
    EXPECT_FALSE(QFileInfo::exists(path + ".bak"));
    EXPECT_FALSE(QFileInfo::exists(path + ".compacting"));
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_EQ(recorder.errors.first().routine, "Database.CompactRepairDatabase_Access");
}

TEST(CompactSqlite, FailingCopyLeavesTheOriginal) {
    const QString folder = QuorvaneTest::makeTempFolder();
    const QString path = folder + "/Dati.sqlite";
    ASSERT_TRUE(Database::createCatalogueFile(path));
    Database db;
    db.set_HostPath(path);
    ASSERT_EQ(db.execute_Sql("CREATE TABLE t (a INTEGER)", "t").Number, 0);
    ASSERT_EQ(db.execute_Sql("INSERT INTO t VALUES (7)", "t").Number, 0);
    db.closeConnection();
    const QByteArray original = readAll(path);
    // something in the way of the compacted copy
    ASSERT_TRUE(QDir().mkpath(path + ".compacting/blocked"));
    EXPECT_FALSE(db.CompactRepairDatabase());
    EXPECT_EQ(readAll(path), original);
    EXPECT_FALSE(QFileInfo::exists(path + ".bak"));
    auto rs = db.get_Recordset("SELECT a FROM t", "t");
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->toLong("a"), 7);
}

TEST(CompactSqlite, MissingFileIsReported) {
    const QString path = QuorvaneTest::makeTempFolder() + "/None.sqlite";
    Database db;
    db.set_HostPath(path);
    QuorvaneTest::MessageRecorder recorder;
    EXPECT_FALSE(db.CompactRepairDatabase());
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_EQ(recorder.errors.first().routine, "Database.CompactRepairDatabase");
    EXPECT_EQ(recorder.errors.first().additionalInformation, "Database path non trovato!");
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
