// Settings, connection strings and the dialect helpers of Database.
#include "SdkTestSupport.h"

#include "foundation/BaseFolder.h"

#include <QElapsedTimer>
#include <limits>

using namespace QuorvaneSDK;

TEST(DatabaseSettings, CreationDefaults) {
    Database db;
    EXPECT_EQ(db.get_DBPredefinito(), SqlSyntax::Access2000);
    EXPECT_EQ(db.get_DBHostPath(), baseFolder() + "/Database/Dati.sqlite");
    db.set_HostPath("   ");
    EXPECT_EQ(db.get_DBHostPath(), baseFolder() + "/Database/Dati.sqlite");
    EXPECT_EQ(db.get_defaultDBUsername(), "Admin");
    EXPECT_EQ(db.get_defaultDBUsername(SqlSyntax::SqlServer), "Quorvane");
    EXPECT_EQ(db.get_defaultDBPassword(SqlSyntax::SqlServer), "Hq7TzRk2VpNs4Wd");
    EXPECT_EQ(db.get_defaultDBHostPath(SqlSyntax::SqlServer), "localhost");
    EXPECT_EQ(db.get_defaultDBHostPath(static_cast<SqlSyntax>(5)), "");
    EXPECT_EQ(db.get_defaultDBName(), "");
    EXPECT_EQ(db.get_defaultDBName(SqlSyntax::SqlServer), "Quorvane");
    EXPECT_EQ(db.get_DBName(), "");
    EXPECT_EQ(db.get_TestConnectionSqlString(), "SELECT Count(IDMedia) as n_rec FROM Media");
    EXPECT_EQ(db.get_ClassName(), "QuorvaneSDK");
    db.set_CLassName("  ");
    EXPECT_EQ(db.get_ClassName(), "SDK");
    EXPECT_EQ(db.get_DBDefaultSqlServerInitialCatalog(), "Quorvane");

    db.set_DBUserName("");
    EXPECT_EQ(db.get_DBUserName(), "Admin");
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    db.set_DBUserName("  ");
    EXPECT_EQ(db.get_DBUserName(), "Quorvane");
    db.set_DBUserName(" bob ");
    EXPECT_EQ(db.get_DBUserName(), "bob");
    EXPECT_EQ(db.get_DBName(), "Quorvane");
    db.set_DBName(" cat ");
    db.set_DBName("");
    EXPECT_EQ(db.get_DBName(), "cat");
}

TEST(DatabaseSettings, ConnectionStrings) {
    Database db;
    db.set_HostPath("/data/Dati.sqlite");
    EXPECT_EQ(db.get_ConnectionString(), "Provider=QSQLITE;Data Source='/data/Dati.sqlite';");
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    db.set_HostPath("db.example:5433");
    db.set_DBName("Quorvane");
    db.set_DBUserName("quser");
    db.set_DBPassword(" s3cret ");
    EXPECT_EQ(db.get_ConnectionString(), "Provider=QPSQL;Password=s3cret;User ID=quser;Initial "
                                         "Catalog=Quorvane;Data Source=db.example:5433");
    EXPECT_EQ(db.get_ConnectionString(true), "Provider=QPSQL;Password=******;User ID=quser;Initial "
                                             "Catalog=Quorvane;Data Source=db.example:5433");
    const QString summary = db.get_DefaultActiveConnection();
    EXPECT_TRUE(summary.startsWith(
        "Database selezionato: PostgreSQL\r\nDB path: localhost\r\nUser: Quorvane\r\n"
        "Password: ***************\r\nStringa di connessione: Provider=QPSQL;Password=******;"));
    EXPECT_FALSE(summary.contains("s3cret"));
    db.set_DBPredefinito(SqlSyntax::nondefinito);
    EXPECT_EQ(db.get_ConnectionString(), "");
}

TEST(DatabaseSettings, TheLastCreatedIsCurrent) {
    auto first = std::make_unique<Database>();
    EXPECT_EQ(&Database::current(), first.get());
    {
        Database second;
        EXPECT_EQ(&Database::current(), &second);
        second.set_DBPredefinito(SqlSyntax::SqlServer);
        // the dialect helpers answer for the current database
        EXPECT_EQ(Database::get_DataBaseStatementTranslation_Date(), "localtimestamp");
    }
    EXPECT_EQ(&Database::current(), first.get());
    EXPECT_EQ(Database::get_DataBaseStatementTranslation_Date(), "datetime('now','localtime')");
    first.reset();
    EXPECT_TRUE(Database::hasCurrent() || &Database::current() != nullptr);
    EXPECT_EQ(Database::current().get_DBPredefinito(), SqlSyntax::Access2000); // made on demand
}

TEST(DatabaseHelpers, FormatoNumerico) {
    struct Case {
        double value;
        SqlSyntax dialect;
        const char* expected;
    } cases[] = {
        {0, SqlSyntax::Access2000, "0"},
        {-0.0, SqlSyntax::Access2000, "0"},
        {1234.5, SqlSyntax::Access2000, "1234.5"},
        {1234.5, SqlSyntax::SqlServer, "1234.5"},
        {-0.25, SqlSyntax::SqlServer, "-0.25"},
        {6e12, SqlSyntax::Access2000, "6000000000000"},
        {1e-7, SqlSyntax::Access2000, "0.0000001"},
        {0.1, SqlSyntax::SqlServer, "0.1"},
        {123456789012.0, SqlSyntax::SqlServer, "123456789012"},
        {1.5, SqlSyntax::nondefinito, ""},
        {1.5, static_cast<SqlSyntax>(-1), ""},
        {std::numeric_limits<double>::quiet_NaN(), SqlSyntax::Access2000, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Database::get_FormatoNumerico(c.value, c.dialect), c.expected) << c.value;
}

TEST(DatabaseHelpers, ConvertNumber) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},
        {"   ", 0},
        {"1.234,5", 1234.5},
        {"-,5", -0.5},
        {"1.05", 1.05},
        {"12", 12},
        {"-7", -7},
        {",25", 0.25},
        {"3,75", 3.75},
        {"1,234.5", 1.2345} /* with both, "," is the decimal separator */,
        {"abc", 0},
        {"1.2.3", 1.2},
        {"5.", 5},
        {"123456.5", 123456.5},
        {"1.1234567", 1.1234567},
        {"1.000.000,5", 1000000.5},
        {" 2.5 ", 2.5},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Database::convert_Number(c.text), c.expected) << c.text;
}

TEST(DatabaseHelpers, DateLiterals) {
    const Date when = Date::fromParts(2010, 1, 17, 13, 5, 9);
    EXPECT_EQ(Database::FormattaDataSQLSyntax(when, SqlSyntax::Access2000),
              "'2010-01-17 13:05:09'");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(when, SqlSyntax::SqlServer), "'2010-01-17 13:05:09'");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(when, SqlSyntax::Access2000, true), "'13:05:09'");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(Date::fromParts(2010, 1, 17), SqlSyntax::Access2000),
              "'2010-01-17 00:00:00'");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(Date(), SqlSyntax::Access2000),
              "'1899-12-30 00:00:00'");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(when, SqlSyntax::nondefinito), "");
    EXPECT_EQ(Database::FormattaDataSQLSyntax(when, static_cast<SqlSyntax>(-1)), "");
    EXPECT_TRUE(Database::get_NullDate().isNull());
}

TEST(DatabaseHelpers, NamesAndTexts) {
    EXPECT_EQ(Database::lookUp_DataBaseName(SqlSyntax::Access2000), "SQLite");
    EXPECT_EQ(Database::lookUp_DataBaseName(SqlSyntax::SqlServer), "PostgreSQL");
    EXPECT_EQ(Database::lookUp_DataBaseName(SqlSyntax::nondefinito), "Non definito");
    struct Case {
        const char* text;
        SqlSyntax expected;
    } cases[] = {{"SQLite", SqlSyntax::Access2000},
                 {"sqlite", SqlSyntax::Access2000},
                 {"ACCESS", SqlSyntax::Access2000},
                 {"PostgreSQL", SqlSyntax::SqlServer},
                 {"SQLSERVER", SqlSyntax::SqlServer},
                 {"sqlserver", SqlSyntax::SqlServer},
                 {"", SqlSyntax::nondefinito},
                 {"Oracle", SqlSyntax::nondefinito},
                 {"Non definito", SqlSyntax::nondefinito}};
    for (const Case& c : cases)
        EXPECT_EQ(Database::lookUp_DataBaseName_Rev(c.text), c.expected) << c.text;

    EXPECT_EQ(Database::HidePassword(""), "");
    EXPECT_EQ(Database::HidePassword("abc"), "***");
    EXPECT_EQ(Database::CorreggiApice("l'a''b"), "l''a''''b");
    EXPECT_EQ(Database::CorreggiApice(""), "");
    EXPECT_EQ(Database::removeNul(QString("a") + QChar(0) + "b" + QChar(0)), "ab");
    EXPECT_EQ(Database::get_DataBaseStatementTranslation_SeparatoreOra(), ":");
}

TEST(DatabaseHelpers, DialectWordsFollowTheCurrentDatabase) {
    Database db;
    EXPECT_EQ(Database::convert_BooleanToDataBase(true), "1");
    EXPECT_EQ(Database::convert_BooleanToDataBase(false), "0");
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    EXPECT_EQ(Database::convert_BooleanToDataBase(true), "1");
    EXPECT_EQ(Database::get_DataBaseStatementTranslation_Day(), "day");
    db.set_DBPredefinito(SqlSyntax::nondefinito);
    EXPECT_EQ(Database::convert_BooleanToDataBase(true), "");
    EXPECT_EQ(Database::get_DataBaseStatementTranslation_Date(), "");
}

TEST(DatabaseHelpers, SqlStateNumbersAreStable) {
    for (const char* state : {"23505", "42P01", "08006", "57014", "XX000"}) {
        const qint32 n = Database::sqlStateToNumber(state);
        EXPECT_GT(n, 0) << state;
        EXPECT_EQ(Database::numberToSqlState(n), state);
    }
    EXPECT_NE(Database::sqlStateToNumber("23505"), Database::sqlStateToNumber("23503"));
}

TEST(DatabaseHelpers, WaitReturnsAtOnceForNothing) {
    QElapsedTimer t;
    t.start();
    Database::WaitAndDoEventsMill(0);
    Database::WaitAndDoEventsMill(-5);
    EXPECT_LT(t.elapsed(), 20);
    Database::WaitAndDoEventsMill(30);
    EXPECT_GE(t.elapsed(), 30);
}
