// The database layer against both engines: statements, queries, NULLs,
// errors, batches, blobs and text round trips.
#include "SdkTestSupport.h"

#include "foundation/BatchScope.h"
#include "foundation/Errors.h"
#include "foundation/PreparedStatement.h"

#include <QRandomGenerator>

using namespace QuorvaneSDK;
using QuorvaneTest::Engine;

namespace {

class DatabaseEngineTest : public QuorvaneTest::EngineTest {
protected:
    QString keyType() const {
        return isPostgres() ? QStringLiteral("SERIAL PRIMARY KEY")
                            : QStringLiteral("INTEGER PRIMARY KEY");
    }
    QString blobType() const {
        return isPostgres() ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    }

    void createPeople() {
        ASSERT_EQ(
            db().execute_Sql(
                    "CREATE TABLE People (IDPerson " + keyType() +
                        ", Name VARCHAR(255) NOT NULL UNIQUE, Age INTEGER, Note VARCHAR(255))",
                    "test.create")
                .Number,
            0);
    }

    int count(const QString& table = QStringLiteral("People")) {
        auto rs = db().get_Recordset("SELECT Count(*) AS n FROM " + table, "test.count");
        return rs ? static_cast<int>(rs->toLongLong("N")) : -1;
    }

    QString nameOf(int id) {
        auto rs = db().get_Recordset(
            QStringLiteral("SELECT Name FROM People WHERE IDPerson = %1").arg(id), "test.name");
        return rs && !rs->Eof() ? rs->text("name") : QStringLiteral("<none>");
    }

    qint32 uniqueViolationNumber() const {
        // SQLITE_CONSTRAINT_UNIQUE; SQLSTATE 23505
        return isPostgres() ? Database::sqlStateToNumber("23505") : 2067;
    }
};

TEST_P(DatabaseEngineTest, StatementsAndQueries) {
    createPeople();
    for (const char* sql : {"INSERT INTO People (Name, Age) VALUES ('Ada', 36)",
                            "INSERT INTO People (Name, Age) VALUES ('Bob', 7)",
                            "INSERT INTO People (Name, Age) VALUES ('Cy', 70)"})
        ASSERT_EQ(db().execute_Sql(sql, "test.insert").Number, 0) << sql;
    ASSERT_EQ(
        db().execute_Sql("UPDATE People SET Age = Age + 1 WHERE Name = 'Bob'", "test.update", false)
            .Number,
        0);

    auto rs =
        db().get_Recordset("SELECT IDPerson, Name, Age FROM People ORDER BY Name", "test.query");
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->FieldCount(), 3);
    QStringList names;
    QList<qint64> ages;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        names << rs->text("NAME"); // field names are found without regard to case
        ages << rs->Fields("age").toLongLong();
    }
    EXPECT_EQ(names, QStringList({"Ada", "Bob", "Cy"}));
    EXPECT_EQ(ages, QList<qint64>({36, 8, 70}));
    EXPECT_FALSE(rs->Fields("missing").isValid());

    auto empty = db().get_Recordset("SELECT Name FROM People WHERE Age > 1000", "test.none");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_TRUE(empty->Eof());

    // floating-point division, as the catalogue's statistics expect
    auto avg = db().get_Recordset("SELECT Sum(Age)/1024000.0 AS s FROM People", "test.sum");
    ASSERT_TRUE(avg.has_value());
    EXPECT_NEAR(avg->toDouble("s"), 114 / 1024000.0, 1e-12);
}

TEST_P(DatabaseEngineTest, FailingStatementIsRolledBackWithTheEngineNumber) {
    createPeople();
    ASSERT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Ada')", "test.insert").Number,
              0);
    QuorvaneTest::MessageRecorder recorder;
    const qint64 before = Errors::shared().totalPushed();

    // the first row is fine, the second breaks the unique name: neither stays
    const QString sql = "INSERT INTO People (Name) VALUES ('Zed'), ('Ada')";
    const ErrorObject e = db().execute_Sql(sql, "QuorvaneSDK.test_insert");
    EXPECT_EQ(e.Number, uniqueViolationNumber()) << e.Description.toStdString();
    EXPECT_FALSE(e.Description.isEmpty());
    if (isPostgres()) {
        EXPECT_TRUE(e.Description.contains("23505"));
    }
    EXPECT_FALSE(e.OccuredOn.isNull());
    EXPECT_EQ(count(), 1);

    ASSERT_EQ(recorder.errors.size(), 1);
    const auto& event = recorder.errors.first();
    EXPECT_EQ(event.routine, "QuorvaneSDK.test_insert");
    EXPECT_EQ(event.className, "QuorvaneSDK");
    EXPECT_TRUE(event.additionalInformation.endsWith("::" + sql));
    EXPECT_TRUE(event.showInstanceInfo);
    EXPECT_EQ(event.error.DBUsed, isPostgres() ? "PostgreSQL" : "SQLite");
    EXPECT_EQ(Errors::shared().totalPushed(), before + 1);
    EXPECT_EQ(Errors::shared().get_LastError().Number, e.Number);

    // a query the engine rejects: no recordset, reported with the caller's flag
    EXPECT_FALSE(db().get_Recordset("SELECT Nope FROM People", "test.bad", true).has_value());
    ASSERT_EQ(recorder.errors.size(), 2);
    EXPECT_FALSE(recorder.errors.last().showInstanceInfo);
    // the connection is still usable afterwards
    EXPECT_EQ(count(), 1);
}

TEST_P(DatabaseEngineTest, NullsAreVisible) {
    createPeople();
    ASSERT_EQ(db().execute_Sql("INSERT INTO People (Name, Age, Note) VALUES ('Ada', NULL, '')", "t")
                  .Number,
              0);
    auto rs = db().get_Recordset("SELECT Age, Note FROM People", "t");
    ASSERT_TRUE(rs.has_value());
    EXPECT_TRUE(rs->isNull("Age"));
    EXPECT_TRUE(rs->Fields("Age").isValid());
    EXPECT_FALSE(rs->isNull("Note")); // an empty text is not NULL
    EXPECT_EQ(rs->toLongLong("Age"), 0);
    EXPECT_EQ(rs->text("Age"), "");
}

TEST_P(DatabaseEngineTest, BatchCommitsAndRollsBack) {
    createPeople();
    int rollbacks = 0;
    const int listener = db().addRollbackListener([&] { ++rollbacks; });
    {
        BatchScope batch(db());
        ASSERT_TRUE(batch.isActive());
        EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Ada')", "t").Number, 0);
        EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Bob')", "t").Number, 0);
        EXPECT_EQ(count(), 2); // visible inside the batch
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(rollbacks, 0);
    {
        BatchScope batch(db());
        EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Cy')", "t").Number, 0);
        // no commit: the scope rolls back
    }
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(rollbacks, 1);
    EXPECT_FALSE(db().inBatch());
    db().removeRollbackListener(listener);
}

TEST_P(DatabaseEngineTest, FailingStatementInsideABatchFailsAlone) {
    createPeople();
    QuorvaneTest::MessageRecorder recorder;
    BatchScope batch(db());
    EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Ada')", "t").Number, 0);
    EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Ada'), ('Eve')", "t").Number,
              uniqueViolationNumber());
    EXPECT_FALSE(db().get_Recordset("SELECT Nope FROM People", "t").has_value());
    EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Bob')", "t").Number, 0);
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(recorder.errors.size(), 2);

    auto rs = db().get_Recordset("SELECT Name FROM People ORDER BY Name", "t");
    ASSERT_TRUE(rs.has_value());
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->valueAt(0, "Name").toString(), "Ada");
    EXPECT_EQ(rs->valueAt(1, "Name").toString(), "Bob");
}

TEST_P(DatabaseEngineTest, NestedBatchRollsBackOnlyItsOwnWork) {
    createPeople();
    BatchScope outer(db());
    EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Ada')", "t").Number, 0);
    {
        BatchScope inner(db());
        EXPECT_EQ(db().batchDepth(), 2);
        EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Bob')", "t").Number, 0);
    }
    {
        BatchScope inner(db());
        EXPECT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('Cy')", "t").Number, 0);
        EXPECT_TRUE(inner.commit());
    }
    EXPECT_TRUE(outer.commit());
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(nameOf(1), "Ada");
    EXPECT_FALSE(db().commitBatch()); // nothing open
}

TEST_P(DatabaseEngineTest, BlobsOfSomeMegabytes) {
    ASSERT_EQ(
        db().execute_Sql("CREATE TABLE Blobs (ID " + keyType() + ", Data " + blobType() + ")", "t")
            .Number,
        0);
    QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char& c : data)
        c = static_cast<char>(gen.bounded(256));
    data[5] = '\0';
    PreparedStatement insert = db().prepare("INSERT INTO Blobs (Data) VALUES (?)", "t", "ID");
    insert.bind(0, data);
    ASSERT_EQ(insert.exec().Number, 0);
    EXPECT_GT(insert.insertedKey(), 0);
    insert.bind(0, QVariant(QByteArray()));
    ASSERT_EQ(insert.exec().Number, 0);

    auto rs = db().get_Recordset("SELECT Data FROM Blobs ORDER BY ID", "t");
    ASSERT_TRUE(rs.has_value());
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->toBytes("Data").size(), data.size());
    EXPECT_TRUE(rs->toBytes("Data") == data);
    rs->MoveNext();
    EXPECT_TRUE(rs->toBytes("Data").isEmpty());
}

TEST_P(DatabaseEngineTest, TextsRoundTripIntact) {
    createPeople();
    const QStringList texts = {QStringLiteral("l'albero dell'anno"),
                               QStringLiteral("''"),
                               QStringLiteral("àèìòù ÄÖÜß €"),
                               QStringLiteral("日本語のテキスト"),
                               QString::fromUtf8("emoji \xF0\x9F\x98\x80 and \xF0\x9D\x84\x9E"),
                               QStringLiteral("back\\slash %_"),
                               QStringLiteral(" leading and trailing ")};
    int id = 0;
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        // through a literal, quoted with CorreggiApice
        ASSERT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('" +
                                       Database::CorreggiApice(text) + "')",
                                   "t")
                      .Number,
                  0);
        EXPECT_EQ(nameOf(++id), text);
        // bound as a parameter: never quoted
        PreparedStatement update =
            db().prepare("UPDATE People SET Note = ? WHERE IDPerson = ?", "t");
        update.bind(0, text);
        update.bind(1, id);
        ASSERT_EQ(update.exec().Number, 0);
        auto rs = db().get_Recordset(
            QStringLiteral("SELECT Note FROM People WHERE IDPerson = %1").arg(id), "t");
        ASSERT_TRUE(rs.has_value());
        EXPECT_EQ(rs->text("Note"), text);
    }
}

TEST_P(DatabaseEngineTest, NulCharactersAreRemoved) {
    createPeople();
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    ASSERT_EQ(db().execute_Sql("INSERT INTO People (Name) VALUES ('" + withNul + "')", "t").Number,
              0);
    EXPECT_EQ(nameOf(1), "ab");
    PreparedStatement insert =
        db().prepare("INSERT INTO People (Name) VALUES (?)", "t", "IDPerson");
    insert.bind(0, QString(withNul + "c"));
    ASSERT_EQ(insert.exec().Number, 0);
    EXPECT_EQ(nameOf(static_cast<int>(insert.insertedKey())), "abc");
}

TEST_P(DatabaseEngineTest, PreparedStatementsGiveTheirOwnKeys) {
    createPeople();
    ASSERT_EQ(
        db().execute_Sql("CREATE TABLE Notes (IDNote " + keyType() + ", Txt VARCHAR(50))", "t")
            .Number,
        0);
    PreparedStatement person =
        db().prepare("INSERT INTO People (Name, Age) VALUES (?, ?)", "t", "IDPerson");
    PreparedStatement note = db().prepare("INSERT INTO Notes (Txt) VALUES (?)", "t", "IDNote");
    BatchScope batch(db());
    for (int i = 0; i < 50; ++i) {
        person.bind(0, QStringLiteral("p%1").arg(i));
        person.bind(1, i);
        ASSERT_EQ(person.exec().Number, 0);
        EXPECT_EQ(person.insertedKey(), i + 1);
        note.bind(0, QStringLiteral("n%1").arg(i));
        ASSERT_EQ(note.exec().Number, 0);
        note.bind(0, QStringLiteral("m%1").arg(i));
        ASSERT_EQ(note.exec().Number, 0);
    }
    // a failing insert gives key 0 and leaves the batch going
    person.bind(0, QStringLiteral("p1"));
    EXPECT_EQ(person.exec().Number, uniqueViolationNumber());
    EXPECT_EQ(person.insertedKey(), 0);
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(count(), 50);
    EXPECT_EQ(count("Notes"), 100);

    PreparedStatement select =
        db().prepare("SELECT Name FROM People WHERE Age >= ? ORDER BY Age", "t");
    select.bind(0, 48);
    auto rs = select.query();
    ASSERT_TRUE(rs.has_value());
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->text("Name"), "p48");
}

TEST_P(DatabaseEngineTest, DatesAndBooleansThroughHelpersAndBinding) {
    ASSERT_EQ(
        db().execute_Sql("CREATE TABLE D (ID " + keyType() + ", At TIMESTAMP, Flag SMALLINT)", "t")
            .Number,
        0);
    const Date when = Date::fromParts(2010, 1, 17, 13, 5, 9);
    const SqlSyntax dialect = db().get_DBPredefinito();
    ASSERT_EQ(db().execute_Sql("INSERT INTO D (At, Flag) VALUES (" +
                                   Database::FormattaDataSQLSyntax(when, dialect) + ", " +
                                   Database::convert_BooleanToDataBase(true) + ")",
                               "t")
                  .Number,
              0);
    PreparedStatement insert = db().prepare("INSERT INTO D (At, Flag) VALUES (?, ?)", "t", "ID");
    insert.bind(0, Date::fromParts(2011, 2, 3, 4, 5, 6));
    insert.bind(1, false);
    ASSERT_EQ(insert.exec().Number, 0);

    auto rs = db().get_Recordset(
        "SELECT At, Flag FROM D WHERE At >= " + Database::FormattaDataSQLSyntax(when, dialect) +
            " ORDER BY At",
        "t");
    ASSERT_TRUE(rs.has_value());
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->toDate("At"), when);
    EXPECT_TRUE(rs->toBool("Flag"));
    rs->MoveNext();
    EXPECT_EQ(rs->toDate("At"), Date::fromParts(2011, 2, 3, 4, 5, 6));
    EXPECT_FALSE(rs->toBool("Flag"));

    auto now = db().get_Recordset(
        "SELECT " + Database::get_DataBaseStatementTranslation_Date() + " AS n", "t");
    ASSERT_TRUE(now.has_value());
    EXPECT_NEAR(now->toDate("n").toDouble(), Date::now().toDouble(), 1.0 / 24 / 60);
}

TEST_P(DatabaseEngineTest, IsDatabaseReadyForReportsNothing) {
    createPeople();
    QuorvaneTest::MessageRecorder recorder;
    EXPECT_TRUE(db().IsDatabaseReadyFor("SELECT Name FROM People"));
    EXPECT_FALSE(db().IsDatabaseReadyFor("SELECT Nope FROM People"));
    EXPECT_TRUE(recorder.errors.isEmpty());
}

TEST_P(DatabaseEngineTest, TestConnectionRunsTheTestQuery) {
    EXPECT_FALSE(db().test_Connection()); // no Media table yet
    ASSERT_EQ(db().execute_Sql("CREATE TABLE Media (IDMedia INTEGER)", "t").Number, 0);
    EXPECT_TRUE(db().test_Connection());
    EXPECT_TRUE(db().get_EmptyRecordSet().has_value());
}

QUORVANE_ENGINE_TEST_SUITE(DatabaseEngineTest);

} // namespace
