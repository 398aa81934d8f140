// The catalogue file of a fresh installation: created on purpose at the
// default place only; a missing catalogue anywhere else stays missing.
#include "foundation/FirstStart.h"
#include "foundation/BaseFolder.h"
#include "foundation/Database.h"
#include "foundation/Startup.h"

#include "TestEnvironment.h"

#include <QFileInfo>

using namespace QuorvaneSDK;

namespace {

// Points QUORVANE_HOME at a fresh folder while it lives.
class FreshHome {
public:
    FreshHome() : m_saved(qgetenv("QUORVANE_HOME")) {
        { Database startUpFirst; } // the one-time start-up runs in the program's own home
        m_path = QuorvaneTest::makeTempFolder("qv-fresh-home");
        qputenv("QUORVANE_HOME", m_path.toUtf8());
    }
    ~FreshHome() { qputenv("QUORVANE_HOME", m_saved); }
    const QString& path() const { return m_path; }

private:
    QByteArray m_saved;
    QString m_path;
};

TEST(FirstStart, StartUpCreatesTheDefaultCatalogueFile) {
    Database db;
    ASSERT_TRUE(sdkStarted());
    // The test program's home is fresh and has no Database.ini: the
    // catalogue is the default SQLite file, which the start-up made.
    const QString expected = QuorvaneTest::homeFolder() + "/Database/Dati.sqlite";
    EXPECT_TRUE(QFileInfo(expected).isFile()) << expected.toStdString();
}

TEST(FirstStart, FreshBaseConnectsAndUpgradesTheDefaultCatalogue) {
    // Creation defaults: the default SQLite catalogue of the program's home,
    // which the start-up created empty.
    Database db;
    ASSERT_EQ(db.get_DBPredefinito(), SqlSyntax::Access2000);
    ASSERT_EQ(db.get_DBHostPath(), QuorvaneTest::homeFolder() + "/Database/Dati.sqlite");
    db.UpgradeDataBase();
    EXPECT_TRUE(db.test_Connection()); // its test query reads table Media
    const std::optional<Recordset> rs = db.get_Recordset(
        "SELECT t3_3 FROM t3 WHERE t3_4 = 0 ORDER BY t3_3", "QuorvaneTest.FirstStart");
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->text("t3_3"), "upgrade01.sql");
    EXPECT_EQ(rs->valueAt(1, "t3_3").toString(), "upgrade04.sql"); // the name index
    EXPECT_TRUE(QFileInfo(QuorvaneTest::homeFolder() + "/dati/Access/upgrade01.sql").isFile());
    EXPECT_TRUE(QFileInfo(QuorvaneTest::homeFolder() + "/dati/SqlServer/upgrade01.sql").isFile());
}

TEST(FirstStart, DefaultPathWithoutAFileGetsAnEmptyCatalogue) {
    FreshHome home;
    Database db;
    db.set_DBPredefinito(SqlSyntax::Access2000);
    const QString path = home.path() + "/Database/Dati.sqlite";
    ASSERT_EQ(db.get_DBHostPath(), path);
    ASSERT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(createDefaultCatalogueIfMissing(db));
    EXPECT_TRUE(QFileInfo(path).isFile());
    // It never replaces a file that is there.
    EXPECT_FALSE(createDefaultCatalogueIfMissing(db));
    EXPECT_TRUE(QFileInfo(path).isFile());
}

TEST(FirstStart, MissingNonDefaultCatalogueStaysMissing) {
    FreshHome home;
    Database db;
    db.set_DBPredefinito(SqlSyntax::Access2000);
    const QString moved = home.path() + "/elsewhere/Catalogue.sqlite";
    db.set_HostPath(moved);
    EXPECT_FALSE(createDefaultCatalogueIfMissing(db));
    EXPECT_FALSE(db.test_Connection());
    EXPECT_FALSE(QFileInfo::exists(moved));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/Database/Dati.sqlite"));
}

TEST(FirstStart, ServerCatalogueCreatesNoFile) {
    FreshHome home;
    Database db;
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    EXPECT_FALSE(createDefaultCatalogueIfMissing(db));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/Database/Dati.sqlite"));
}

} // namespace
