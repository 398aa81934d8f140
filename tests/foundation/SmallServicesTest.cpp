// Misc, Registry, Istanza and Web.
#include "foundation/Database.h"
#include "foundation/Istanza.h"
#include "foundation/Messages.h"
#include "foundation/Misc.h"
#include "foundation/Presenter.h"
#include "foundation/Registry.h"
#include "foundation/Web.h"

#include "FreshHome.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

class RecordingPresenter : public Presenter {
public:
    bool askYesNo(const QString&, const QString&) override { return false; }
    void showPopUp(const QString& text, int displayMs, MessageType kind, const QString&,
                   bool) override {
        popUps.append(text);
        lastMs = displayMs;
        lastKind = kind;
    }
    void setClipboardText(const QString&) override {}
    void openUrl(const QString& url) override { urls.append(url); }
    void playSound(const QString&) override {}

    QStringList popUps;
    QStringList urls;
    int lastMs = 0;
    MessageType lastKind = MessageType::Error;
};

struct PresenterGuard {
    explicit PresenterGuard(Presenter* p) { installPresenter(p); }
    ~PresenterGuard() { installPresenter(nullptr); }
};

} // namespace

TEST(Misc, IsReleaseNew) {
    struct Case {
        const char* compare;
        const char* referrer;
        bool result;
    };
    const Case cases[] = {
        {"1.2.9", "1.3.0", true}, {"1.3.9", "1.3.0", false}, {"2.0", "1.9", false},
        {"1.2", "1.2", false},    {"0.9", "1", true},        {"1", "1.1", true},
        {"", "0.1", true},        {"x.y", "0.0", false},     {"9.10", "9.9", false},
        {"1.9", "2", true},       {"10.0", "9.99", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Misc::IsReleaseNew(c.compare, c.referrer), c.result)
            << c.compare << " vs " << c.referrer;
}

TEST(Misc, Versions) {
    Misc m;
    EXPECT_TRUE(Misc::SDK_Version().startsWith("SDK version: "));
    EXPECT_EQ(Misc::SDK_Version().count('.'), 2);
    EXPECT_EQ(m.Version(), Misc::SDK_Version());
    EXPECT_FALSE(m.Credits().isEmpty());
}

TEST(Misc, TickCountIsMonotonicMilliseconds) {
    const qint64 a = Misc::get_TickCount();
    QThread::msleep(30);
    const qint64 b = Misc::get_TickCount();
    EXPECT_GT(a, 0);
    EXPECT_GE(b - a, 25);
    EXPECT_LT(b - a, 5000);
}

TEST(Misc, WaitLetsTheRequestedTimePass) {
    Misc m;
    QElapsedTimer t;
    t.start();
    m.WaitAndDoEventsMill(40);
    EXPECT_GE(t.elapsed(), 35);
    t.restart();
    m.WaitAndDoEventsMill(0);
    EXPECT_LT(t.elapsed(), 20);
}

TEST(Misc, TestMessageReachesTheSharedSource) {
    Misc m;
    QStringList seen;
    QList<MessageType> kinds;
    const auto c = QObject::connect(&m.get_MessagesHandle(), &Messages::Message,
                                    [&](const QString& text, MessageType kind) {
                                        seen.append(text);
                                        kinds.append(kind);
                                    });
    m.get_MessagesTestMessage();
    m.get_MessagesTestMessage("hello", MessageType::Warning);
    QObject::disconnect(c);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], "TestMessage from Quorvane");
    EXPECT_EQ(kinds[0], MessageType::Normal);
    EXPECT_EQ(seen[1], "hello");
    EXPECT_EQ(kinds[1], MessageType::Warning);
    EXPECT_EQ(&m.get_MessagesHandle(), &Messages::shared());
}

TEST(Misc, PopUpGoesToThePresenter) {
    RecordingPresenter p;
    PresenterGuard guard(&p);
    Misc().ShowPopUpMessage("scan finished");
    ASSERT_FALSE(p.popUps.isEmpty());
    EXPECT_EQ(p.popUps.back(), "scan finished");
    EXPECT_EQ(p.lastKind, MessageType::Normal);
}

TEST(Web, HyperLinkAsksThePresenter) {
    Web web;
    web.Hyper_Link("https://example.org/a?b=c"); // no presenter: nothing happens
    RecordingPresenter p;
    PresenterGuard guard(&p);
    web.Hyper_Link("https://example.org/page");
    EXPECT_EQ(p.urls, QStringList{"https://example.org/page"});
}

TEST(Registry, SettingsRoundTripInTheirSection) {
    FreshHome home;
    Registry r;
    EXPECT_EQ(r.GetSetting("Grids", "Files"), "");
    ASSERT_TRUE(r.SaveSetting("Grids", "Files", "<layout columns=\"3\"/>"));
    ASSERT_TRUE(r.SaveSetting("Window", "Files", "other"));
    EXPECT_EQ(r.GetSetting("grids", "files"), "<layout columns=\"3\"/>");
    EXPECT_EQ(r.GetSetting("Window", "Files"), "other");
    EXPECT_EQ(Registry::settingsFile(), home.file("Registry.ini"));
    EXPECT_TRUE(fileBytes(home.file("Registry.ini")).contains("[Grids]"));
}

namespace {

void checkIstanzaOn(Database& db) {
    ASSERT_EQ(db.execute_Sql("CREATE TABLE Istanze (ID INTEGER, Identita VARCHAR(255), "
                             "data_creazione VARCHAR(30))",
                             "test")
                  .Number,
              0);
    ASSERT_EQ(db.execute_Sql("INSERT INTO Istanze (ID, Identita) VALUES (1, 'l''ufficio')", "test")
                  .Number,
              0);
    Istanza i;
    EXPECT_TRUE(i.exist("l'ufficio"));
    EXPECT_FALSE(i.exist("L'UFFICIO x"));
    EXPECT_FALSE(i.exist("' OR '1'='1"));
    EXPECT_TRUE(i.set_Istanza("anything"));
    EXPECT_TRUE(i.get_Istanza("l'ufficio").Identita.isEmpty());
    EXPECT_EQ(i.get_IstanzaLocale(), "");
    i.Delete_ALL();
    EXPECT_FALSE(i.exist("l'ufficio"));
}

} // namespace

TEST(Istanza, InstancesOnSqlite) {
    FreshHome home;
    const QString file = home.file("istanze.sqlite");
    ASSERT_TRUE(Database::createCatalogueFile(file));
    Database db;
    db.set_DBPredefinito(SqlSyntax::Access2000);
    db.set_HostPath(file);
    checkIstanzaOn(db);
    db.closeConnection();
}

TEST(Istanza, InstancesOnPostgreSql) {
    QUORVANE_REQUIRE_PG();
    const auto server = QuorvaneTest::pgServer();
    QString error;
    const QString name = QuorvaneTest::createScratchPgDatabase("qv_ist", &error);
    ASSERT_FALSE(name.isEmpty()) << error.toStdString();
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::SqlServer);
        db.set_HostPath(server.hostWithPort());
        db.set_DBUserName(server.user);
        db.set_DBPassword(server.password);
        db.set_DBName(name);
        checkIstanzaOn(db);
        db.closeConnection();
    }
    QuorvaneTest::dropPgDatabase(name);
}

TEST(Istanza, MissingTableReadsAsNoInstance) {
    FreshHome home;
    const QString file = home.file("empty.sqlite");
    ASSERT_TRUE(Database::createCatalogueFile(file));
    Database db;
    db.set_HostPath(file);
    EXPECT_FALSE(Istanza().exist("x"));
    db.closeConnection();
}

TEST(Misc, CleanEmptyFilesRemovesOnlyNamelessRows) {
    FreshHome home;
    const QString file = home.file("clean.sqlite");
    ASSERT_TRUE(Database::createCatalogueFile(file));
    Database db;
    db.set_HostPath(file);
    for (const char* sql : {"CREATE TABLE Files (IDFile INTEGER, FileName TEXT)",
                            "CREATE TABLE FilesContained (IDFileContained INTEGER, FileName TEXT)",
                            "INSERT INTO Files VALUES (1, ''), (2, 'a.txt'), (3, '##nullfile##')",
                            "INSERT INTO FilesContained VALUES (1, ''), (2, 'b.txt')"})
        ASSERT_EQ(db.execute_Sql(sql, "test").Number, 0) << sql;
    Misc().clean_EmptyFiles();
    const auto files = db.get_Recordset("SELECT IDFile FROM Files ORDER BY IDFile", "test");
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(files->RecordCount(), 2);
    const auto contained = db.get_Recordset("SELECT IDFileContained FROM FilesContained", "test");
    ASSERT_TRUE(contained.has_value());
    EXPECT_EQ(contained->RecordCount(), 1);
    db.closeConnection();
}
