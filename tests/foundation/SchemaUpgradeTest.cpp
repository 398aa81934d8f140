// UpgradeDataBase against real catalogues: an SQLite file in a temporary
// folder and a scratch database on the PostgreSQL test server.
#include "foundation/SchemaUpgrade.h"
#include "foundation/Database.h"
#include "foundation/Messages.h"

#include "SchemaTestSupport.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>

using namespace QuorvaneSDK;
using QuorvaneTest::Catalogue;

namespace {

void writeScript(const QString& folder, const QString& name, const QByteArray& text) {
    QFile f(folder + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(text);
}

// Collects the error reports raised while it lives.
struct ReportCatcher {
    struct Report {
        QString description, className, routine, info;
    };
    QList<Report> reports;
    QMetaObject::Connection connection;
    ReportCatcher() {
        connection =
            QObject::connect(&Messages::shared(), &Messages::Errors,
                             [this](ErrorObject& e, const QString& cls, const QString& routine,
                                    const QString& info, bool, const QString&) {
                                 reports << Report{e.Description, cls, routine, info};
                             });
    }
    ~ReportCatcher() { QObject::disconnect(connection); }
    bool anyMentions(const QString& text) const {
        for (const Report& r : reports) {
            if (r.description.contains(text) || r.info.contains(text) || r.routine.contains(text))
                return true;
        }
        return false;
    }
};

class SchemaUpgradeTest : public ::testing::TestWithParam<SqlSyntax> {
protected:
    void SetUp() override {
        if (GetParam() == SqlSyntax::SqlServer)
            QUORVANE_REQUIRE_PG();
        catalogue = Catalogue::open(GetParam());
        ASSERT_TRUE(catalogue) << "cannot open a scratch catalogue";
        folder = QuorvaneTest::makeTempFolder("qv-scripts");
    }
    Database& db() { return catalogue->database(); }
    SchemaUpgrade::Outcome upgrade() { return SchemaUpgrade(db()).runFolder(folder); }

    std::unique_ptr<Catalogue> catalogue;
    QString folder;
};

TEST_P(SchemaUpgradeTest, FreshCatalogueGetsTheWholeSchemaAndASecondRunChangesNothing) {
    const SchemaUpgrade::Outcome first = SchemaUpgrade(db()).run();
    ASSERT_TRUE(first.ok()) << first.failedScript.toStdString() << ": "
                            << first.error.toStdString();
    EXPECT_EQ(first.applied, QStringList{"upgrade01.sql"});
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3 WHERE t3_3 = 'upgrade01.sql' AND t3_4 = " +
                                QString::number(int(GetParam()))),
              1);
    EXPECT_FALSE(catalogue->isNull("SELECT t3_1 FROM t3"));

    const QStringList schemaBefore = catalogue->schemaSnapshot();
    const SchemaUpgrade::Outcome second = SchemaUpgrade(db()).run();
    EXPECT_TRUE(second.ok());
    EXPECT_TRUE(second.applied.isEmpty());
    EXPECT_EQ(second.skipped, QStringList{"upgrade01.sql"});
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), 1);
    EXPECT_EQ(catalogue->schemaSnapshot(), schemaBefore);
}

TEST_P(SchemaUpgradeTest, DatabaseMemberRunsTheUpgrade) {
    db().UpgradeDataBase();
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM t3"), 1);
    EXPECT_TRUE(catalogue->hasTable("Files"));
}

TEST_P(SchemaUpgradeTest, FailingScriptIsRolledBackNotRecordedAndRetried) {
    writeScript(folder, "upgrade01.sql", "CREATE TABLE a (x INTEGER)\n");
    writeScript(folder, "upgrade05.sql",
                "CREATE TABLE b (x INTEGER)\n;;\nINSERT INTO no_such_table VALUES (1)\n");
    writeScript(folder, "upgrade06.sql", "CREATE TABLE c (x INTEGER)\n");

    ReportCatcher catcher;
    const SchemaUpgrade::Outcome first = upgrade();
    EXPECT_EQ(first.applied, QStringList{"upgrade01.sql"});
    EXPECT_EQ(first.failedScript, "upgrade05.sql");
    EXPECT_EQ(first.failedStatement, "INSERT INTO no_such_table VALUES (1)");
    EXPECT_TRUE(catcher.anyMentions("upgrade05.sql"));
    EXPECT_TRUE(catcher.anyMentions("INSERT INTO no_such_table VALUES (1)"));
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

    ReportCatcher catcher;
    const SchemaUpgrade::Outcome outcome = upgrade();
    EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.applied, (QStringList{"readme.sql", "upgrade01.sql", "upgrade10.sql"}));
    EXPECT_EQ(catalogue->scalar("SELECT sum(x) FROM r"), 11);
    EXPECT_TRUE(catcher.anyMentions("upgrade1001.sql"));

    // Recorded for the other dialect only: still runs for this one.
    writeScript(folder, "upgrade11.sql", "INSERT INTO r VALUES (100)\n");
    const int other = GetParam() == SqlSyntax::Access2000 ? 1 : 0;
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
    ReportCatcher catcher;
    const SchemaUpgrade::Outcome outcome = upgrade();
    EXPECT_EQ(outcome.failedScript, "upgrade01.sql");
    EXPECT_TRUE(catcher.anyMentions("upgrade01.sql"));
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

INSTANTIATE_TEST_SUITE_P(Engines, SchemaUpgradeTest,
                         ::testing::Values(SqlSyntax::Access2000, SqlSyntax::SqlServer),
                         [](const auto& info) {
                             return info.param == SqlSyntax::Access2000 ? std::string("SQLite")
                                                                        : std::string("PostgreSQL");
                         });

} // namespace
