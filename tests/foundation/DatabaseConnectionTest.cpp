// Connection settings in Database.ini: defaults written back, dialect names,
// enciphered passwords, owner-only file, and applying them to a Database.
#include "foundation/DatabaseConnection.h"
#include "foundation/Database.h"
#include "foundation/Encryption.h"
#include "foundation/ErrorReport.h"
#include "foundation/NX_Ini.h"
#include "foundation/Startup.h"

#include "FreshHome.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

QString stored(const FreshHome& home, const QString& section, const QString& key) {
    return NX_Ini().ReadValue(home.file("Database.ini"), section, key);
}

} // namespace

TEST(DatabaseConnection, FreshHomeGetsDefaultsWrittenBack) {
    FreshHome home;
    DatabaseConnection c;
    EXPECT_EQ(c.get_DBPredefinito(), SqlSyntax::Access2000);
    EXPECT_EQ(stored(home, "SetUp", "DBPredefinito"), "SQLite");

    const QString defaultFile = Database::current().get_defaultDBHostPath(SqlSyntax::Access2000);
    EXPECT_EQ(defaultFile, home.path() + "/Database/Dati.sqlite");
    EXPECT_EQ(c.get_DBAccessHost(), defaultFile);
    EXPECT_EQ(stored(home, "Access", "DBAccessHost"), defaultFile);

    EXPECT_FALSE(c.get_ModalitaDebug());
    EXPECT_EQ(stored(home, "SetUp", "ModalitaDebug"), "False");

    EXPECT_EQ(c.get_DBAccessUserName(), "Admin");
    EXPECT_EQ(stored(home, "Access", "DBAccessUserName"), "Admin");
    EXPECT_EQ(c.get_DBSqlServerUserName(), "Quorvane");
    EXPECT_EQ(stored(home, "SqlServer", "DBSqlServerUserName"), "Quorvane");
    EXPECT_EQ(c.get_DBSqlServerHost(),
              Database::current().get_defaultDBHostPath(SqlSyntax::SqlServer));
    EXPECT_FALSE(stored(home, "SqlServer", "DBSqlServerHost").isEmpty());
    EXPECT_EQ(c.get_DBSqlServerDatabaseName(), "Quorvane");
    EXPECT_EQ(stored(home, "SqlServer", "DBSqlServerDatabaseName"), "Quorvane");

    // Default passwords are used but never written.
    EXPECT_EQ(c.get_DBSqlServerUserPassword(), "Hq7TzRk2VpNs4Wd");
    EXPECT_EQ(c.get_DBAccessUserPassword(), "");
    EXPECT_EQ(stored(home, "SqlServer", "DBSqlServerUserPassword"), "");
    EXPECT_EQ(stored(home, "Access", "DBAccessUserPassword"), "");
}

TEST(DatabaseConnection, BlankValuesCountAsMissing) {
    FreshHome home;
    putFile(home.file("Database.ini"), "[SetUp]\nDBPredefinito=   \nModalitaDebug=\n"
                                       "[Access]\nDBAccessUserName=  \n");
    DatabaseConnection c;
    EXPECT_EQ(c.get_DBPredefinito(), SqlSyntax::Access2000);
    EXPECT_EQ(stored(home, "SetUp", "DBPredefinito"), "SQLite");
    EXPECT_FALSE(c.get_ModalitaDebug());
    EXPECT_EQ(stored(home, "SetUp", "ModalitaDebug"), "False");
    EXPECT_EQ(c.get_DBAccessUserName(), "Admin");
}

TEST(DatabaseConnection, DialectNamesInAnyCase) {
    struct Case {
        const char* text;
        SqlSyntax expected;
    };
    const Case cases[] = {
        {"SQLite", SqlSyntax::Access2000},        {"sqlite", SqlSyntax::Access2000},
        {"Access", SqlSyntax::Access2000},        {"ACCESS", SqlSyntax::Access2000},
        {"PostgreSQL", SqlSyntax::SqlServer},     {"postgresql", SqlSyntax::SqlServer},
        {"SqlServer", SqlSyntax::SqlServer},      {"sqlserver", SqlSyntax::SqlServer},
        {"  SQLSERVER  ", SqlSyntax::SqlServer},  {"Oracle", SqlSyntax::nondefinito},
        {"Non definito", SqlSyntax::nondefinito},
    };
    FreshHome home;
    DatabaseConnection c;
    for (const Case& k : cases) {
        ASSERT_TRUE(
            NX_Ini().WriteValue(home.file("Database.ini"), "SetUp", "DBPredefinito", k.text));
        EXPECT_EQ(c.get_DBPredefinito(), k.expected) << k.text;
        EXPECT_EQ(stored(home, "SetUp", "DBPredefinito").trimmed(), QString(k.text).trimmed())
            << "a stored name is not rewritten";
    }
}

TEST(DatabaseConnection, SetDialectWritesTheEngineName) {
    FreshHome home;
    DatabaseConnection c;
    c.set_DBPredefinito(SqlSyntax::SqlServer);
    EXPECT_EQ(stored(home, "SetUp", "DBPredefinito"), "PostgreSQL");
    EXPECT_EQ(c.get_DBPredefinito(), SqlSyntax::SqlServer);
    c.set_DBPredefinito(SqlSyntax::Access2000);
    EXPECT_EQ(stored(home, "SetUp", "DBPredefinito"), "SQLite");
    EXPECT_EQ(c.get_DBPredefinito(), SqlSyntax::Access2000);
}

TEST(DatabaseConnection, SettersRoundTrip) {
    FreshHome home;
    DatabaseConnection c;
    c.set_DBSqlServerUserName("catalogue_user");
    c.set_DBSqlServerHost("db.example.org:5433");
    c.set_DBSqlServerDatabaseName("media_2024");
    c.set_DBSqlServerUserPassword("pässword with 'quote'");
    c.set_DBAccessUserName("someone");
    c.set_DBAccessHost("/mnt/archive/Cataloghi/Dati.sqlite");
    c.set_DBAccessUserPassword("s3cret");
    c.set_ModalitaDebug(true);

    DatabaseConnection again;
    EXPECT_EQ(again.get_DBSqlServerUserName(), "catalogue_user");
    EXPECT_EQ(again.get_DBSqlServerHost(), "db.example.org:5433");
    EXPECT_EQ(again.get_DBSqlServerDatabaseName(), "media_2024");
    EXPECT_EQ(again.get_DBSqlServerUserPassword(), "pässword with 'quote'");
    EXPECT_EQ(again.get_DBAccessUserName(), "someone");
    EXPECT_EQ(again.get_DBAccessHost(), "/mnt/archive/Cataloghi/Dati.sqlite");
    EXPECT_EQ(again.get_DBAccessUserPassword(), "s3cret");
    EXPECT_TRUE(again.get_ModalitaDebug());
    EXPECT_EQ(stored(home, "SetUp", "ModalitaDebug"), "True");
}

TEST(DatabaseConnection, PasswordsAreStoredEncipheredAndRenewedOnRead) {
    FreshHome home;
    DatabaseConnection c;
    c.set_DBSqlServerUserPassword("Plain-Text-Pw");
    const QString first = stored(home, "SqlServer", "DBSqlServerUserPassword");
    EXPECT_TRUE(first.endsWith("NX_EP//"));
    EXPECT_FALSE(fileBytes(home.file("Database.ini")).contains("Plain-Text-Pw"));
    EXPECT_EQ(c.get_DBSqlServerUserPassword(), "Plain-Text-Pw");
    const QString second = stored(home, "SqlServer", "DBSqlServerUserPassword");
    EXPECT_NE(first, second) << "written back enciphered anew";
    EXPECT_EQ(Encryption().Decrypt(second), "Plain-Text-Pw");
}

TEST(DatabaseConnection, UnreadablePasswordGivesTheDefaultAndIsNotWritten) {
    FreshHome home;
    DatabaseConnection c;
    const QString blanks = Encryption().Encrypt("   ");
    const QString wrongKey = Encryption().Encrypt("pw", "another key");
    const QStringList bad = {blanks, wrongKey, "deadbeefNX_EP//", "plain"};
    for (const QString& value : bad) {
        ASSERT_TRUE(NX_Ini().WriteValue(home.file("Database.ini"), "SqlServer",
                                        "DBSqlServerUserPassword", value));
        EXPECT_EQ(c.get_DBSqlServerUserPassword(), "Hq7TzRk2VpNs4Wd") << value.toStdString();
        EXPECT_EQ(stored(home, "SqlServer", "DBSqlServerUserPassword"), value);
    }
}

TEST(DatabaseConnection, FileIsOwnerOnly) {
    FreshHome home;
    DatabaseConnection c;
    c.get_DBPredefinito(); // creates the file
    EXPECT_EQ(fileMode(home.file("Database.ini")), 0600);
    // A file made readable by others is tightened at the next write.
    QFile::setPermissions(home.file("Database.ini"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    c.set_DBSqlServerUserPassword("x");
    EXPECT_EQ(fileMode(home.file("Database.ini")), 0600);
}

TEST(DatabaseConnection, ParametersForSqlite) {
    FreshHome home;
    DatabaseConnection c;
    c.set_DBPredefinito(SqlSyntax::Access2000);
    c.set_DBAccessHost(home.path() + "/elsewhere/Catalogue.sqlite");
    c.set_DBAccessUserName("reader");
    c.set_ModalitaDebug(true);
    Database db;
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    c.set_DBParameters(db);
    EXPECT_EQ(db.get_DBPredefinito(), SqlSyntax::Access2000);
    EXPECT_EQ(db.get_DBHostPath(), home.path() + "/elsewhere/Catalogue.sqlite");
    EXPECT_EQ(db.get_DBUserName(), "reader");
    EXPECT_TRUE(db.get_LogSql());
}

TEST(DatabaseConnection, ParametersForPostgreSql) {
    FreshHome home;
    DatabaseConnection c;
    c.set_DBPredefinito(SqlSyntax::SqlServer);
    c.set_DBSqlServerHost("pg.local:6543");
    c.set_DBSqlServerUserName("cat");
    c.set_DBSqlServerUserPassword("pw'1");
    c.set_DBSqlServerDatabaseName("quorvane_test");
    Database db;
    c.set_DBParameters(db);
    EXPECT_EQ(db.get_DBPredefinito(), SqlSyntax::SqlServer);
    EXPECT_EQ(db.get_DBHostPath(), "pg.local:6543");
    EXPECT_EQ(db.get_DBUserName(), "cat");
    EXPECT_EQ(db.get_DBPassword(), "pw'1");
    EXPECT_EQ(db.get_DBName(), "quorvane_test");
    EXPECT_FALSE(db.get_LogSql());
}

TEST(DatabaseConnection, UnknownDialectSetsNoCredentialsNorHost) {
    FreshHome home;
    putFile(home.file("Database.ini"), "[SetUp]\nDBPredefinito=Oracle\n"
                                       "[Access]\nDBAccessHost=/x/y.sqlite\nDBAccessUserName=u\n");
    DatabaseConnection c;
    Database db;
    c.set_DBParameters(db);
    EXPECT_EQ(db.get_DBPredefinito(), SqlSyntax::nondefinito);
    EXPECT_EQ(db.get_DBHostPath(), "");
    EXPECT_NE(db.get_DBUserName(), "u");
}

TEST(DatabaseConnection, StoredSettingsReachTheTestServer) {
    QUORVANE_REQUIRE_PG();
    const auto server = QuorvaneTest::pgServer();
    QString error;
    const QString name = QuorvaneTest::createScratchPgDatabase("qv_conn", &error);
    ASSERT_FALSE(name.isEmpty()) << error.toStdString();
    {
        FreshHome home;
        DatabaseConnection c;
        c.set_DBPredefinito(SqlSyntax::SqlServer);
        c.set_DBSqlServerHost(server.hostWithPort());
        c.set_DBSqlServerUserName(server.user);
        c.set_DBSqlServerUserPassword(server.password);
        c.set_DBSqlServerDatabaseName(name);
        Database db;
        c.set_DBParameters(db);
        const auto rs = db.get_Recordset("SELECT current_database() AS name", "test");
        ASSERT_TRUE(rs.has_value());
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->text("name"), name);
        db.closeConnection();
    }
    QuorvaneTest::dropPgDatabase(name);
}

TEST(DatabaseConnection, StartUpAppliesAndCreatesTheSettingsFile) {
    FreshHome home;
    Database db;
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    applyStoredConnectionSettings(db);
    EXPECT_EQ(db.get_DBPredefinito(), SqlSyntax::Access2000);
    EXPECT_EQ(db.get_DBHostPath(), home.path() + "/Database/Dati.sqlite");
    EXPECT_FALSE(db.get_LogSql());
    const QByteArray ini = fileBytes(home.file("Database.ini"));
    EXPECT_TRUE(ini.contains("DBPredefinito=SQLite"));
    EXPECT_TRUE(ini.contains("ModalitaDebug=False"));
    EXPECT_TRUE(ini.contains("DBAccessHost="));
    EXPECT_EQ(fileMode(home.file("Database.ini")), 0600);
}

TEST(DatabaseConnection, ErrorLogIsOwnerOnly) {
    FreshHome home;
    ErrorReportData data;
    data.className = "QuorvaneSDK";
    data.routine = "test";
    data.number = 5;
    data.description = "written to the log";
    ShowErrorReport(data);
    ASSERT_TRUE(QFile::exists(home.file("QuorvaneSDK.log")));
    EXPECT_EQ(fileMode(home.file("QuorvaneSDK.log")), 0600);
}

TEST(DatabaseConnection, DebugLogFollowsTheSwitchAndIsOwnerOnly) {
    FreshHome home;
    const QString file = home.file("debug.sqlite");
    ASSERT_TRUE(Database::createCatalogueFile(file));
    DatabaseConnection c;
    c.set_DBPredefinito(SqlSyntax::Access2000);
    c.set_DBAccessHost(file);
    c.set_ModalitaDebug(true);
    Database db;
    c.set_DBParameters(db);
    ASSERT_EQ(db.execute_Sql("CREATE TABLE t (x INTEGER)", "test").Number, 0);
    db.closeConnection();
    ASSERT_TRUE(QFile::exists(home.file("QuorvaneSDK.debug.log")));
    EXPECT_EQ(fileMode(home.file("QuorvaneSDK.debug.log")), 0600);
    EXPECT_TRUE(fileBytes(home.file("QuorvaneSDK.debug.log")).contains("CREATE TABLE T"));
}
