// UpgradeDataBase against real catalogues: an SQLite file in a temporary
// folder and a scratch database on the PostgreSQL test server.
#include "foundation/SchemaUpgrade.h"
#include "foundation/Database.h"
#include "foundation/ShippedScripts.h"

#include "SchemaTestSupport.h"

#include <QDir>
#include <QFile>

using namespace QuorvaneSDK;

namespace {

void writeScript(const QString& folder, const QString& name, const QByteArray& text) {
    QFile f(folder + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(text);
}

// Whether any recorded error report names the text.
bool reported(const QuorvaneTest::MessageRecorder& recorder, const QString& text) {
    for (const auto& e : recorder.errors) {
        if (e.error.Description.contains(text) || e.additionalInformation.contains(text))
            return true;
    }
    return false;
}

class SchemaUpgradeTest : public QuorvaneTest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        catalogue = std::make_unique<QuorvaneTest::SchemaInspector>(engineDatabase());
        folder = QuorvaneTest::makeTempFolder("qv-scripts");
    }
    void TearDown() override {
        catalogue.reset();
        EngineTest::TearDown();
    }
    SchemaUpgrade::Outcome upgrade() { return SchemaUpgrade(db()).runFolder(folder); }

    std::unique_ptr<QuorvaneTest::SchemaInspector> catalogue;
    QString folder;
};

TEST_P(SchemaUpgradeTest, FreshCatalogueGetsTheWholeSchemaAndASecondRunChangesNothing) {
    const SchemaUpgrade::Outcome first = SchemaUpgrade(db()).run();
    ASSERT_TRUE(first.ok()) << first.failedScript.toStdString() << ": "
                            << first.error.toStdString();
    // The file catalogue has its name index in a script of its own.
    const QStringList shipped =
        isPostgres() ? QStringList{"upgrade01.sql"} : QStringList{"upgrade01.sql", "upgrade04.sql"};
    EXPECT_EQ(first.applied, shipped);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3 WHERE t3_3 = 'upgrade01.sql' AND t3_4 = " +
                                QString::number(int(db().get_DBPredefinito()))),
              1);
    EXPECT_FALSE(catalogue->isNull("SELECT t3_1 FROM t3"));

    const QStringList schemaBefore = catalogue->schemaSnapshot();
    const SchemaUpgrade::Outcome second = SchemaUpgrade(db()).run();
    EXPECT_TRUE(second.ok());
    EXPECT_TRUE(second.applied.isEmpty());
    EXPECT_EQ(second.skipped, shipped);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), shipped.size());
    EXPECT_EQ(catalogue->schemaSnapshot(), schemaBefore);
}

TEST_P(SchemaUpgradeTest, DatabaseMemberRunsTheUpgrade) {
    db().UpgradeDataBase();
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), isPostgres() ? 1 : 2);
    EXPECT_TRUE(catalogue->hasTable("Files"));
}

TEST_P(SchemaUpgradeTest, FailingScriptIsRolledBackNotRecordedAndRetried) {
    writeScript(folder, "upgrade01.sql", "CREATE TABLE a (x INTEGER)\n");
    writeScript(folder, "upgrade05.sql",
                "CREATE TABLE b (x INTEGER)\n;;\nINSERT INTO no_such_table VALUES (1)\n");
    writeScript(folder, "upgrade06.sql", "CREATE TABLE c (x INTEGER)\n");

    QuorvaneTest::MessageRecorder recorder;
    const SchemaUpgrade::Outcome first = upgrade();
    EXPECT_EQ(first.applied, QStringList{"upgrade01.sql"});
    EXPECT_EQ(first.failedScript, "upgrade05.sql");
    EXPECT_EQ(first.failedStatement, "INSERT INTO no_such_table VALUES (1)");
    EXPECT_TRUE(reported(recorder, "upgrade05.sql"));
    EXPECT_TRUE(reported(recorder, "INSERT INTO no_such_table VALUES (1)"));
    EXPECT_TRUE(catalogue->hasTable("a"));
    EXPECT_FALSE(catalogue->hasTable("b")) << "the failed script was not rolled back";
    EXPECT_FALSE(catalogue->hasTable("c")) << "a later script ran before a failed earlier one";
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), 1);

    // Still broken: tried again, still nothing recorded.
    const SchemaUpgrade::Outcome again = upgrade();
    EXPECT_TRUE(again.applied.isEmpty());
    EXPECT_EQ(again.failedScript, "upgrade05.sql");
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), 1);

    // Mended: it runs at the next start, then the one that waited.
    writeScript(folder, "upgrade05.sql",
                "CREATE TABLE b (x INTEGER)\n;;\nINSERT INTO b VALUES (1)\n");
    const SchemaUpgrade::Outcome mended = upgrade();
    EXPECT_TRUE(mended.ok()) << mended.error.toStdString();
    EXPECT_EQ(mended.skipped, QStringList{"upgrade01.sql"});
    EXPECT_EQ(mended.applied, (QStringList{"upgrade05.sql", "upgrade06.sql"}));
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM b"), 1);
    EXPECT_TRUE(catalogue->hasTable("c"));
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), 3);
}

TEST_P(SchemaUpgradeTest, SlotsDecideTheOrderAndTheDialectScopesTheRecord) {
    // readme.sql sits in slot 0: upgrade01 can only succeed after it.
    writeScript(folder, "readme.sql", "CREATE TABLE r (x INTEGER)\n");
    writeScript(folder, "upgrade01.sql", "INSERT INTO r VALUES (1)\n");
    writeScript(folder, "upgrade02.sql", "INSERT INTO r VALUES (2)\n");
    writeScript(folder, "upgrade03.sql", "INSERT INTO r VALUES (3)\n");
    writeScript(folder, "upgrade10.sql", "INSERT INTO r VALUES (10)\n");
    writeScript(folder, "upgrade1000.sql", "INSERT INTO r VALUES (1000)\n");
    writeScript(folder, "upgrade1001.sql", "INSERT INTO r VALUES (1001)\n");

    QuorvaneTest::MessageRecorder recorder;
    const SchemaUpgrade::Outcome outcome = upgrade();
    EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.applied, (QStringList{"readme.sql", "upgrade01.sql", "upgrade10.sql"}));
    EXPECT_EQ(catalogue->scalar("SELECT sum(x) FROM r"), 11);
    EXPECT_TRUE(reported(recorder, "upgrade1001.sql"));

    // Recorded for the other dialect only: still runs for this one.
    writeScript(folder, "upgrade11.sql", "INSERT INTO r VALUES (100)\n");
    const int other = !isPostgres() ? 1 : 0;
    ASSERT_FALSE(db().execute_Sql("INSERT INTO t3 (t3_3, t3_4) VALUES ('upgrade11.sql', " +
                                      QString::number(other) + ")",
                                  "test")
                     .isError());
    EXPECT_EQ(upgrade().applied, QStringList{"upgrade11.sql"});
    EXPECT_EQ(catalogue->scalar("SELECT sum(x) FROM r"), 111);
}

TEST_P(SchemaUpgradeTest, PieceWithTwoStatementsIsRefusedWhole) {
    writeScript(folder, "upgrade01.sql",
                "CREATE TABLE a (x INTEGER);\nCREATE TABLE b (x INTEGER);\n");
    QuorvaneTest::MessageRecorder recorder;
    const SchemaUpgrade::Outcome outcome = upgrade();
    EXPECT_EQ(outcome.failedScript, "upgrade01.sql");
    EXPECT_TRUE(reported(recorder, "upgrade01.sql"));
    EXPECT_FALSE(catalogue->hasTable("a"));
    EXPECT_FALSE(catalogue->hasTable("b"));
}

TEST_P(SchemaUpgradeTest, MissingFolderAndEmptyFolderDoNothing) {
    const SchemaUpgrade::Outcome missing = SchemaUpgrade(db()).runFolder(folder + "/absent");
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.applied.isEmpty());
    const SchemaUpgrade::Outcome empty = upgrade();
    EXPECT_TRUE(empty.ok());
    EXPECT_FALSE(catalogue->hasTable("t3")) << "nothing to run, nothing to create";
}

TEST_P(SchemaUpgradeTest, BodiesWithSemicolonsStayWhole) {
    const QByteArray trigger =
        isPostgres()
            ? "CREATE FUNCTION a_log() RETURNS trigger AS $$\nBEGIN\n  INSERT INTO log VALUES "
              "(NEW.x);\n  INSERT INTO log VALUES (NEW.x + 1);\n  RETURN NEW;\nEND;\n$$ LANGUAGE "
              "plpgsql\n;;\nCREATE TRIGGER a_log AFTER INSERT ON a FOR EACH ROW EXECUTE FUNCTION "
              "a_log()\n"
            : "CREATE TRIGGER a_log AFTER INSERT ON a BEGIN\n  INSERT INTO log VALUES (new.x);\n  "
              "INSERT INTO log VALUES (new.x + 1);\nEND\n";
    writeScript(folder, "upgrade01.sql",
                "CREATE TABLE a (x INTEGER)\n;;\nCREATE TABLE log (x INTEGER)\n;;\n" + trigger +
                    ";;\nINSERT INTO a VALUES (1)\n");
    const SchemaUpgrade::Outcome outcome = upgrade();
    EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(catalogue->scalar("SELECT sum(x) FROM log"), 3);
}

TEST_P(SchemaUpgradeTest, RefusedOptionalFeatureOnlyTurnsItselfOff) {
    if (!isPostgres()) {
        EXPECT_TRUE(SchemaUpgrade(db()).installOptionalFeatures()) << "SQLite needs none";
        EXPECT_FALSE(SchemaUpgrade::trigramSearchAvailable(db()));
        return;
    }
    // The schema, without the optional step.
    ASSERT_TRUE(installShippedScripts(QuorvaneTest::homeFolder()).isEmpty());
    ASSERT_TRUE(SchemaUpgrade(db()).runFolder(QuorvaneTest::homeFolder() + "/dati/SqlServer").ok());
    ASSERT_FALSE(SchemaUpgrade::trigramSearchAvailable(db()));

    // A user who may read the catalogue but not add extensions to it.
    const QString role = "qv_plain_" + engineDatabase().pgDatabase().section('_', -1);
    ASSERT_FALSE(db().execute_Sql("CREATE ROLE " + role + " LOGIN", "test").isError());
    ASSERT_FALSE(db().execute_Sql("GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + role, "test")
                     .isError());
    {
        const QuorvaneTest::PgServer server = QuorvaneTest::pgServer();
        Database plain;
        plain.set_DBPredefinito(SqlSyntax::SqlServer);
        plain.set_HostPath(server.hostWithPort());
        plain.set_DBName(engineDatabase().pgDatabase());
        plain.set_DBUserName(role);
        QuorvaneTest::MessageRecorder recorder;
        EXPECT_FALSE(SchemaUpgrade(plain).installOptionalFeatures());
        bool warned = false;
        for (const auto& m : recorder.messages)
            warned |= m.second == MessageType::Warning && m.first.contains("pg_trgm");
        EXPECT_TRUE(warned);
        EXPECT_FALSE(SchemaUpgrade::trigramSearchAvailable(plain));
        EXPECT_TRUE(plain.test_Connection()) << "the catalogue itself still works";
        plain.closeConnection();
    }
    db().execute_Sql("DROP OWNED BY " + role, "test");
    db().execute_Sql("DROP ROLE " + role, "test");
}

QUORVANE_ENGINE_TEST_SUITE(SchemaUpgradeTest);

} // namespace
