// What the upgrade scripts build, read back from each engine's own
// metadata: every table and column of the catalogue, the column kinds,
// the indexes the catalogue statements rely on, and the cascades.
#include "foundation/Database.h"
#include "foundation/SchemaUpgrade.h"

#include "SchemaTestSupport.h"

#include <QMap>
#include <QRegularExpression>

#include <functional>

using namespace QuorvaneSDK;

namespace {

QStringList lowerSorted(QStringList names) {
    for (QString& n : names)
        n = n.toLower();
    names.sort();
    return names;
}

const QStringList kMp3Columns{"Title",    "Artist",      "Album",         "Year",      "Comment",
                              "Genre",    "MPEGVersion", "Layer",         "BitRate",   "SampleRate",
                              "Padding",  "ChannelMode", "ModeExtension", "Copyright", "Original",
                              "Emphasis", "FrameLength", "TotalFrames",   "PlayTime",  "IDMP3Tag"};

const QMap<QString, QStringList>& expectedTables() {
    static const QMap<QString, QStringList> tables{
        {"Media",
         {"IDMedia", "MediaName", "MediaSerialNumber", "MediaisNetwork", "MediaEan13", "MediaSize",
          "MediaUsedSpace", "MediaFreeSpace", "MediaType", "MediaPartitionType", "MediaDescription",
          "MediaGroup"}},
        {"Files",
         {"IDFile", "IDMedia", "FolderName", "FileName", "FileExtension", "FileSize",
          "FileDateCreated", "FileDateAccessed", "FileDateModified", "FileProperties",
          "FileDescription", "OptionalDescription", "Flag", "FileEan13"}},
        {"FilesContained",
         {"IDFileContained", "IDFile", "FileName", "FileExtension", "FilePath",
          "FileCompressedSize", "FileCompressionRatio", "FileDateLastModified", "FileProperties",
          "Comment", "FileSize", "FileDateCreated", "FileDateAccessed", "CompressorType",
          "OptionalDescription", "Flag"}},
        {"Mp3TagsFile", kMp3Columns + QStringList{"IDFile"}},
        {"Mp3TagsFileContained", kMp3Columns + QStringList{"IDFileContained"}},
        {"PreviewFile", {"IDFile", "PreviewText", "PreviewBinary", "Type"}},
        {"PreviewFileContained", {"IDFileContained", "PreviewText", "PreviewBinary", "Type"}},
        {"Words", {"IDWord", "Word"}},
        {"WordsFileIndex", {"IDIndex", "IDWord", "IDFile"}},
        {"WordsFileContainedIndex", {"IDIndex", "IDWord", "IDFileContained"}},
        {"Istanze", {"ID", "Identita"}},
        {"t3", {"ID", "t3_1", "t3_3", "t3_4"}},
    };
    return tables;
}

class SchemaContentTest : public QuorvaneTest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        catalogue = std::make_unique<QuorvaneTest::SchemaInspector>(engineDatabase());
        const SchemaUpgrade::Outcome outcome = SchemaUpgrade(db()).run();
        ASSERT_TRUE(outcome.ok()) << outcome.failedScript.toStdString() << ": "
                                  << outcome.error.toStdString();
    }
    void TearDown() override {
        catalogue.reset();
        EngineTest::TearDown();
    }
    bool sqlite() const { return !isPostgres(); }
    void exec(const QString& sql) {
        const ErrorObject e = db().execute_Sql(sql, "QuorvaneTest.Schema");
        ASSERT_FALSE(e.isError()) << sql.toStdString() << ": " << e.Description.toStdString();
    }

    std::unique_ptr<QuorvaneTest::SchemaInspector> catalogue;
};

TEST_P(SchemaContentTest, EveryTableHasExactlyItsColumns) {
    for (auto it = expectedTables().begin(); it != expectedTables().end(); ++it)
        EXPECT_EQ(catalogue->columns(it.key()), lowerSorted(it.value())) << it.key().toStdString();
}

TEST_P(SchemaContentTest, ColumnKinds) {
    const QString int64 = "bigint";
    const QString date = sqlite() ? "text" : "timestamp without time zone";
    const QString small = "smallint";
    const QString real = "double precision";
    const QString binary = sqlite() ? "blob" : "bytea";
    const struct {
        const char* table;
        const char* column;
        QString type;
    } cases[] = {
        {"Media", "MediaSize", int64},
        {"Media", "MediaUsedSpace", int64},
        {"Media", "MediaFreeSpace", int64},
        {"Media", "MediaisNetwork", small},
        {"Files", "FileSize", int64},
        {"Files", "FileDateCreated", date},
        {"Files", "FileDateAccessed", date},
        {"Files", "FileDateModified", date},
        {"Files", "Flag", small},
        {"FilesContained", "FileSize", int64},
        {"FilesContained", "FileCompressedSize", int64},
        {"FilesContained", "FileCompressionRatio", real},
        {"FilesContained", "FileDateLastModified", date},
        {"FilesContained", "Flag", small},
        {"Mp3TagsFile", "Copyright", small},
        {"Mp3TagsFile", "Original", small},
        {"Mp3TagsFile", "Padding", small},
        {"Mp3TagsFile", "FrameLength", small},
        {"Mp3TagsFile", "TotalFrames", "integer"},
        {"Mp3TagsFile", "PlayTime", real},
        {"Mp3TagsFileContained", "PlayTime", real},
        {"PreviewFile", "PreviewBinary", binary},
        {"PreviewFile", "PreviewText", "text"},
        {"PreviewFileContained", "PreviewBinary", binary},
        {"t3", "t3_1", date},
        {"t3", "t3_4", "integer"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(catalogue->columnType(c.table, c.column), c.type) << c.table << "." << c.column;

    const struct {
        const char* table;
        const char* key;
    } keys[] = {{"Media", "IDMedia"},
                {"Files", "IDFile"},
                {"FilesContained", "IDFileContained"},
                {"Mp3TagsFile", "IDMP3Tag"},
                {"Mp3TagsFileContained", "IDMP3Tag"},
                {"Words", "IDWord"},
                {"WordsFileIndex", "IDIndex"},
                {"WordsFileContainedIndex", "IDIndex"},
                {"Istanze", "ID"},
                {"t3", "ID"}};
    for (const auto& k : keys)
        EXPECT_TRUE(catalogue->isGeneratedKey(k.table, k.key)) << k.table << "." << k.key;
}

TEST_P(SchemaContentTest, TextSortsAndFoldsAsOnSqlite) {
    if (!sqlite()) {
        // Binary order whatever the server's locale.
        for (const char* column : {"FileName", "FolderName", "FileExtension"})
            EXPECT_EQ(catalogue->columnCollation("Files", column), "C") << column;
        EXPECT_EQ(catalogue->columnCollation("Words", "Word"), "C");
        EXPECT_EQ(catalogue->columnCollation("Media", "MediaName"), "C");
    }
    for (const char* name : {"b", "B", "\xc3\xa4", "a", "A", "\xc3\x84"})
        exec(QString("INSERT INTO Media (MediaName) VALUES ('%1')").arg(QString::fromUtf8(name)));
    const std::optional<Recordset> rs =
        db().get_Recordset("SELECT MediaName FROM Media ORDER BY MediaName", "QuorvaneTest.Schema");
    ASSERT_TRUE(rs);
    QStringList order;
    for (const QVariantList& row : rs->rows())
        order << row.first().toString();
    // Byte order of the UTF-8 text, as SQLite sorts.
    EXPECT_EQ(order, (QStringList{"A", "B", "a", "b", QString::fromUtf8("\xc3\x84"),
                                  QString::fromUtf8("\xc3\xa4")}));
    // lower() folds ASCII letters only, as SQLite's does.
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Media WHERE lower(MediaName) = 'a'"), 2);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Media WHERE lower(MediaName) = MediaName"),
              4);
}

TEST_P(SchemaContentTest, WordsAreUniqueWithoutRegardToCase) {
    exec("INSERT INTO Words (Word) VALUES ('Quorvane')");
    const ErrorObject e =
        db().execute_Sql("INSERT INTO Words (Word) VALUES ('QUORVANE')", "QuorvaneTest.Schema");
    EXPECT_TRUE(e.isError());
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Words"), 1);
}

TEST_P(SchemaContentTest, IndexesTheCatalogueStatementsNeed) {
    const QStringList have = catalogue->indexes();
    for (const char* name :
         {"media_serialnumber", "media_name", "files_media_folder_name", "filescontained_file",
          "mp3tagsfile_file", "mp3tagsfilecontained_file", "previewfile_file_type",
          "previewfilecontained_file_type", "words_word_lower", "wordsfileindex_file_word",
          "wordsfileindex_word", "wordsfilecontainedindex_file_word",
          "wordsfilecontainedindex_word", "t3_script"})
        EXPECT_TRUE(have.contains(name)) << name;

    // The per-file statements of the catalogue find their rows through an
    // index, never by reading a whole table.
    const char* statements[] = {
        "SELECT IDMedia FROM Media WHERE MediaSerialNumber = 'x'",
        "SELECT IDMedia FROM Media WHERE MediaName = 'x'",
        "SELECT IDFile FROM Files WHERE IDMedia = 1 AND FolderName = 'x' AND FileName = 'y'",
        "SELECT IDFile FROM Files WHERE IDMedia = 1 AND FolderName = 'x'",
        "SELECT count(FileSize) FROM Files WHERE IDMedia = 1",
        "SELECT count(IDFile) FROM FilesContained WHERE IDFile = 1",
        "SELECT * FROM Mp3TagsFile WHERE IDFile = 1",
        "SELECT * FROM Mp3TagsFileContained WHERE IDFileContained = 1",
        "SELECT PreviewText FROM PreviewFile WHERE IDFile = 1 AND Type = 1",
        "SELECT PreviewText FROM PreviewFileContained WHERE IDFileContained = 1 AND Type = 1",
        "SELECT IDWord FROM Words WHERE lower(Word) = 'x'",
        "SELECT IDIndex FROM WordsFileIndex WHERE IDWord = 1 AND IDFile = 2",
        "SELECT IDIndex FROM WordsFileIndex WHERE IDWord = 1",
        "SELECT IDIndex FROM WordsFileContainedIndex WHERE IDWord = 1 AND IDFileContained = 2",
        "SELECT IDIndex FROM WordsFileContainedIndex WHERE IDWord = 1",
        "SELECT ID FROM t3 WHERE t3_3 = 'upgrade01.sql' AND t3_4 = 0",
    };
    for (const char* sql : statements) {
        const QString plan = catalogue->queryPlan(sql).join(" | ");
        EXPECT_FALSE(plan.contains("<failed")) << sql << ": " << plan.toStdString();
        if (sqlite())
            EXPECT_FALSE(QRegularExpression("(^|\\| )SCAN ").match(plan).hasMatch())
                << sql << ": " << plan.toStdString();
        else
            EXPECT_FALSE(plan.contains("Seq Scan")) << sql << ": " << plan.toStdString();
    }
}

TEST_P(SchemaContentTest, EveryRelationCascades) {
    const QString cascade = "cascade";
    const QStringList expected = lowerSorted({
        "Files.IDMedia->Media.IDMedia:" + cascade,
        "FilesContained.IDFile->Files.IDFile:" + cascade,
        "Mp3TagsFile.IDFile->Files.IDFile:" + cascade,
        "Mp3TagsFileContained.IDFileContained->FilesContained.IDFileContained:" + cascade,
        "PreviewFile.IDFile->Files.IDFile:" + cascade,
        "PreviewFileContained.IDFileContained->FilesContained.IDFileContained:" + cascade,
        "WordsFileIndex.IDFile->Files.IDFile:" + cascade,
        "WordsFileIndex.IDWord->Words.IDWord:" + cascade,
        "WordsFileContainedIndex.IDFileContained->FilesContained.IDFileContained:" + cascade,
        "WordsFileContainedIndex.IDWord->Words.IDWord:" + cascade,
    });
    EXPECT_EQ(catalogue->foreignKeys(), expected);
}

// One medium with a file, an archive entry and every kind of dependent row.
void fillMedium(const std::function<void(const QString&)>& exec, int media, int file, int contained,
                int word) {
    exec(QString("INSERT INTO Media (IDMedia, MediaName, MediaSize) VALUES (%1, 'disc%1', "
                 "'6000000000000')")
             .arg(media));
    exec(QString("INSERT INTO Files (IDFile, IDMedia, FolderName, FileName, FileSize) VALUES "
                 "(%1, %2, '/a/', 'f.zip', '5000000000')")
             .arg(file)
             .arg(media));
    exec(QString("INSERT INTO FilesContained (IDFileContained, IDFile, FileName) VALUES (%1, %2, "
                 "'x.mp3')")
             .arg(contained)
             .arg(file));
    exec(QString("INSERT INTO Mp3TagsFile (IDFile, Title) VALUES (%1, 't')").arg(file));
    exec(QString("INSERT INTO Mp3TagsFileContained (IDFileContained, Title) VALUES (%1, 't')")
             .arg(contained));
    exec(QString("INSERT INTO PreviewFile (IDFile, PreviewText, Type) VALUES (%1, 'p', 1)")
             .arg(file));
    exec(QString("INSERT INTO PreviewFileContained (IDFileContained, PreviewText, Type) VALUES "
                 "(%1, 'p', 1)")
             .arg(contained));
    exec(QString("INSERT INTO Words (IDWord, Word) VALUES (%1, 'w%1')").arg(word));
    exec(
        QString("INSERT INTO WordsFileIndex (IDWord, IDFile) VALUES (%1, %2)").arg(word).arg(file));
    exec(QString("INSERT INTO WordsFileContainedIndex (IDWord, IDFileContained) VALUES (%1, %2)")
             .arg(word)
             .arg(contained));
}

TEST_P(SchemaContentTest, DeletingAMediumRemovesEverythingThatHangsOnIt) {
    const auto run = [this](const QString& sql) { exec(sql); };
    fillMedium(run, 1, 10, 100, 1000);
    fillMedium(run, 2, 20, 200, 2000);
    EXPECT_EQ(catalogue->scalar("SELECT FileSize FROM Files WHERE IDFile = 10"), 5000000000LL);
    EXPECT_EQ(catalogue->scalar("SELECT MediaSize FROM Media WHERE IDMedia = 1"), 6000000000000LL);

    exec("delete from Media where IDMedia = 1");

    const struct {
        const char* table;
        const char* key;
        int first, second;
    } dependents[] = {{"Files", "IDFile", 10, 20},
                      {"FilesContained", "IDFileContained", 100, 200},
                      {"Mp3TagsFile", "IDFile", 10, 20},
                      {"Mp3TagsFileContained", "IDFileContained", 100, 200},
                      {"PreviewFile", "IDFile", 10, 20},
                      {"PreviewFileContained", "IDFileContained", 100, 200},
                      {"WordsFileIndex", "IDFile", 10, 20},
                      {"WordsFileContainedIndex", "IDFileContained", 100, 200}};
    for (const auto& d : dependents) {
        EXPECT_EQ(
            catalogue->scalar(
                QString("SELECT count(*) FROM %1 WHERE %2 = %3").arg(d.table, d.key).arg(d.first)),
            0)
            << d.table << " kept rows of the deleted medium";
        EXPECT_EQ(
            catalogue->scalar(
                QString("SELECT count(*) FROM %1 WHERE %2 = %3").arg(d.table, d.key).arg(d.second)),
            1)
            << d.table << " lost rows of the other medium";
    }
    // The vocabulary stays: words are shared between media.
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Words"), 2);
}

TEST_P(SchemaContentTest, DeletingAFileOrAWordRemovesItsLinks) {
    const auto run = [this](const QString& sql) { exec(sql); };
    fillMedium(run, 1, 10, 100, 1000);
    exec("delete from FilesContained where IDFileContained = 100");
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Mp3TagsFileContained"), 0);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM PreviewFileContained"), 0);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM WordsFileContainedIndex"), 0);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Mp3TagsFile"), 1);
    exec("delete from Words where IDWord = 1000");
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM WordsFileIndex"), 0);
    exec("delete from Files where IDFile = 10");
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Mp3TagsFile"), 0);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM PreviewFile"), 0);
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Media"), 1);
}

TEST_P(SchemaContentTest, RowsOfAMissingParentAreRefused) {
    const ErrorObject e = db().execute_Sql(
        "INSERT INTO Files (IDMedia, FolderName, FileName) VALUES (999, '/', 'orphan')",
        "QuorvaneTest.Schema");
    EXPECT_TRUE(e.isError());
    EXPECT_EQ(catalogue->scalar("SELECT count(*) FROM Files"), 0);
}

TEST_P(SchemaContentTest, OptionalFeatures) {
    if (sqlite()) {
        EXPECT_FALSE(SchemaUpgrade::trigramSearchAvailable(db()));
        return;
    }
    // The test server has the contrib extensions: the optional step of
    // run() installed pg_trgm, and a second attempt is harmless.
    EXPECT_TRUE(SchemaUpgrade::trigramSearchAvailable(db()));
    EXPECT_TRUE(SchemaUpgrade(db()).installOptionalFeatures());
}

QUORVANE_ENGINE_TEST_SUITE(SchemaContentTest);

} // namespace
