// The three searches on both engines: name parts, folder rule, words (any
// for files, all on one word row for contained files), dates, size, limits
// with archives, MP3 tags, archive listings, literal criteria, and the name
// index giving the rows of the plain scan.

#include "CatalogueFixture.h"

#include "foundation/SchemaUpgrade.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

class SearchTest : public QuorvaneTest::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        media = addMedia(QStringLiteral("Disk A"));
    }

    void exec(const QString& sql) {
        ASSERT_EQ(db().execute_Sql(sql, QStringLiteral("test.search")).Number, 0)
            << sql.toStdString();
    }
    qint32 wordKey(const QString& word) {
        qint64 key = scalar(QStringLiteral("SELECT IDWord FROM Words WHERE Word = '%1'").arg(word));
        if (key < 0) {
            exec(QStringLiteral("INSERT INTO Words (Word) VALUES ('%1')").arg(word));
            key = scalar(QStringLiteral("SELECT IDWord FROM Words WHERE Word = '%1'").arg(word));
        }
        return static_cast<qint32>(key);
    }
    void indexWord(qint32 file, const QString& word) {
        exec(QStringLiteral("INSERT INTO WordsFileIndex (IDWord, IDFile) VALUES (%1, %2)")
                 .arg(wordKey(word))
                 .arg(file));
    }
    void indexContainedWord(qint32 entry, const QString& word) {
        exec(QStringLiteral(
                 "INSERT INTO WordsFileContainedIndex (IDWord, IDFileContained) VALUES (%1, %2)")
                 .arg(wordKey(word))
                 .arg(entry));
    }
    void tag(qint32 file, const QString& title, const QString& artist, const QString& album) {
        exec(QStringLiteral("INSERT INTO Mp3TagsFile (IDFile, Title, Artist, Album) "
                            "VALUES (%1, '%2', '%3', '%4')")
                 .arg(file)
                 .arg(title, artist, album));
    }

    static SearchCriteria criteria(const QString& name = QString(),
                                   const QString& folder = QString()) {
        SearchCriteria c;
        c.FileName = name;
        c.FolderName = folder;
        c.Date.IgnoreThis = true;
        c.Size.IgnoreThis = true;
        return c;
    }
    QStringList names(SearchCriteria c, bool inCompressed = false, bool inMp3 = false) {
        QStringList list;
        for (const FileQuorvane& f : main().search(c, inCompressed, inMp3))
            list << f.Name;
        return list;
    }
    QStringList containedNames(SearchCriteriaCompressed c) {
        QStringList list;
        for (const FileQuorvaneCompressed& f : main().search_Compressed(c))
            list << f.Name;
        return list;
    }

    qint32 media = 0;
};

TEST_P(SearchTest, NamePartsMustAllOccurAndOneOrTwoBlanksGiveTheSameRows) {
    addFile(media, "/", "holiday-photos-2004.jpg");
    addFile(media, "/", "holiday.jpg");
    addFile(media, "/", "2004.txt");
    addFile(media, "/", "HOLIDAY 2004.png");
    const QStringList both{"HOLIDAY 2004.png", "holiday-photos-2004.jpg"};
    EXPECT_EQ(names(criteria("holiday 2004")), both);
    EXPECT_EQ(names(criteria("holiday  2004")), both);
    SearchCriteria padded = criteria("  holiday 2004 ");
    EXPECT_EQ(names(padded), both);
    main().search(padded);
    EXPECT_EQ(padded.FileName, "holiday 2004"); // the caller's record is trimmed
    EXPECT_EQ(names(criteria("2004")),
              (QStringList{"2004.txt", "HOLIDAY 2004.png", "holiday-photos-2004.jpg"}));
}

TEST_P(SearchTest, FolderIsASubstringUnlessItNamesOneFolder) {
    addFile(media, "/2004/photos/", "a.jpg");
    addFile(media, "/photos/", "b.jpg");
    addFile(media, "/photos/sub/", "c.jpg");
    addFile(media, "/", "d.jpg");
    EXPECT_EQ(names(criteria("", "photos")), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(names(criteria("", "/photos/")), QStringList{"b.jpg"});
    EXPECT_EQ(names(criteria("", "/")), QStringList{"d.jpg"});
    EXPECT_EQ(names(criteria("", " / ")), QStringList{}); // exact, as given
}

TEST_P(SearchTest, FolderRowsNeverAppear) {
    addFile(media, "/docs/", "##nullfile##");
    addFile(media, "/docs/", "notes.txt");
    EXPECT_EQ(names(criteria("", "/docs/")), QStringList{"notes.txt"});
    EXPECT_EQ(names(criteria("null")), QStringList{});
}

TEST_P(SearchTest, WordsAreAnyForFilesAndAllOnOneWordRowForContainedFiles) {
    const qint32 f1 = addFile(media, "/", "one.txt");
    const qint32 f2 = addFile(media, "/", "two.txt");
    const qint32 f3 = addFile(media, "/", "three.txt");
    indexWord(f1, "alpha");
    indexWord(f2, "betamax");
    indexWord(f3, "gamma");
    SearchCriteria c = criteria();
    c.WordsContained = "alpha beta";
    EXPECT_EQ(names(c), (QStringList{"one.txt", "two.txt"}));

    const qint32 zip = addFile(media, "/", "pack.zip");
    const qint32 joined = addEntry(zip, "joined.txt");
    const qint32 apart = addEntry(zip, "apart.txt");
    indexContainedWord(joined, "alphabeta");
    indexContainedWord(apart, "alpha");
    indexContainedWord(apart, "beta");
    SearchCriteriaCompressed cc;
    cc.SearchCriteria = c;
    EXPECT_EQ(containedNames(cc), QStringList{"joined.txt"});
    cc.SearchCriteria.WordsContained = "alpha";
    EXPECT_EQ(containedNames(cc), (QStringList{"apart.txt", "joined.txt"}));
}

TEST_P(SearchTest, TwelveWordsUseOnlyTheFirstTen) {
    const qint32 tenth = addFile(media, "/", "tenth.txt");
    const qint32 eleventh = addFile(media, "/", "eleventh.txt");
    indexWord(tenth, "jjj");
    indexWord(eleventh, "kkk");
    SearchCriteria c = criteria();
    c.WordsContained = "aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk lll";
    EXPECT_EQ(names(c), QStringList{"tenth.txt"});
}

TEST_P(SearchTest, SizeBoundIsInKilobytes) {
    addFile(media, "/", "empty.txt", 0);
    addFile(media, "/", "exact.txt", 1024);
    addFile(media, "/", "over.txt", 1025);
    SearchCriteria c = criteria();
    c.Size.IgnoreThis = false;
    c.Size.Size = 1;
    c.Size.AtMost = true;
    EXPECT_EQ(names(c), (QStringList{"empty.txt", "exact.txt"}));
    c.Size.AtLeast = true;
    EXPECT_EQ(names(c), (QStringList{"exact.txt", "over.txt"}));
    c.Size.Size = 1.0009; // 1024.9 bytes: the whole part counts
    EXPECT_EQ(names(c), (QStringList{"exact.txt", "over.txt"}));
}

TEST_P(SearchTest, DateRangeUsesTheChosenColumn) {
    FileQuorvane old = makeFile(media, "/", "old.txt");
    old.DateCreated = Date::fromParts(2001, 5, 1, 0, 0, 0);
    old.DateModified = Date::fromParts(2020, 5, 1, 0, 0, 0);
    old.DateLastAccessed = Date::fromParts(2025, 5, 1, 0, 0, 0);
    main().set_Files(old);
    addFile(media, "/", "new.txt"); // created 2010, modified 2012
    SearchCriteria c = criteria();
    c.Date.IgnoreThis = false;
    c.Date.ModifiedFrom = Date::fromParts(2000, 1, 1, 0, 0, 0);
    c.Date.ModifiedTo = Date::fromParts(2005, 1, 1, 0, 0, 0);
    c.Date.DateType = DateType::CreatedDate;
    EXPECT_EQ(names(c), QStringList{"old.txt"});
    c.Date.DateType = DateType::ModifiedDate;
    EXPECT_EQ(names(c), QStringList{});
    c.Date.ModifiedTo = Date::fromParts(2012, 12, 31, 23, 59, 58); // inclusive bound
    EXPECT_EQ(names(c), QStringList{"new.txt"});
    c.Date.DateType = DateType::AccessedDate; // accessed 2011
    EXPECT_EQ(names(c), QStringList{"new.txt"});
}

TEST_P(SearchTest, LimitIsSharedWithTheArchivesAndFilledLimitSkipsThem) {
    for (const char* n : {"report-1.doc", "report-2.doc", "report-3.doc"})
        addFile(media, "/docs/", n);
    const qint32 zip = addFile(media, "/", "bundle.zip");
    for (const char* n : {"report-a.txt", "report-b.txt", "report-c.txt", "report-d.txt"})
        addEntry(zip, n);
    const QStringList files{"report-1.doc", "report-2.doc", "report-3.doc"};
    struct Case {
        qint32 maxRows;
        int archives;
    };
    for (const Case& k : {Case{0, 4}, Case{5, 2}, Case{4, 1}, Case{3, 0}}) {
        SearchCriteria c = criteria("report");
        c.MaxRows = k.maxRows;
        QStringList expected = files;
        for (int i = 0; i < k.archives; ++i)
            expected << "bundle.zip"; // once per matching entry
        EXPECT_EQ(names(c, true), expected) << "MaxRows " << k.maxRows;
    }
    SearchCriteria two = criteria("report");
    two.MaxRows = 2;
    EXPECT_EQ(names(two, true), (QStringList{"report-1.doc", "report-2.doc"}));
    EXPECT_EQ(names(criteria("report")), files);
}

TEST_P(SearchTest, ArchiveListingIgnoresOtherCriteriaAndIsOrderedByPathAndName) {
    const qint32 zip = addFile(media, "/", "pack.zip");
    const qint32 other = addFile(media, "/", "other.zip");
    addEntry(zip, "b.txt", "docs/");
    addEntry(zip, "a.txt", "docs/");
    addEntry(zip, "z.txt", "");
    addEntry(other, "a.txt", "");
    SearchCriteriaCompressed cc;
    cc.IDParent = zip;
    cc.SearchCriteria = criteria("nothing-like-this", "nowhere");
    cc.SearchCriteria.WordsContained = "absent";
    cc.SearchCriteria.Size.IgnoreThis = false;
    const QList<FileQuorvaneCompressed> list = main().search_Compressed(cc);
    QStringList got;
    for (const FileQuorvaneCompressed& e : list) {
        got << e.FolderName + e.Name;
        EXPECT_EQ(e.ParentFile.id, zip);
        EXPECT_EQ(e.ParentFile.Name, "pack.zip");
        EXPECT_EQ(e.Media.id, media);
    }
    EXPECT_EQ(got, (QStringList{"z.txt", "docs/a.txt", "docs/b.txt"}));
    bool noParent = false;
    for (const FileQuorvaneCompressed& e : main().search_Compressed(cc, noParent))
        EXPECT_EQ(e.ParentFile.id, 0);
}

TEST_P(SearchTest, ContainedFilesByNameAndExactPath) {
    const qint32 zip = addFile(media, "/", "pack.zip");
    addEntry(zip, "holiday 2004.jpg", "pics/");
    addEntry(zip, "holiday-2004.jpg", "pics/");
    addEntry(zip, "holiday 2004.jpg", "pics/old/");
    SearchCriteriaCompressed cc;
    cc.SearchCriteria = criteria("holiday 2004");
    EXPECT_EQ(containedNames(cc), (QStringList{"holiday 2004.jpg", "holiday 2004.jpg"}));
    cc.SearchCriteria.FolderName = "pics/";
    EXPECT_EQ(containedNames(cc), QStringList{"holiday 2004.jpg"});
}

TEST_P(SearchTest, Mp3SearchWithEmptyFieldsReturnsEveryTaggedFile) {
    const qint32 a = addFile(media, "/music/", "a.mp3");
    const qint32 b = addFile(media, "/music/", "b.mp3");
    addFile(media, "/music/", "c.mp3");
    tag(a, "Song A", "Band", "First");
    tag(b, "Song B", "Other", "Second");
    SearchCriteria c = criteria("no such name");
    EXPECT_EQ(names(c, true, true), (QStringList{"a.mp3", "b.mp3"}));
    c.MP3.Artist = "band";
    EXPECT_EQ(names(c, false, true), QStringList{"a.mp3"});
    c.MP3 = CriteriaMP3{};
    c.MP3.Title = "song";
    c.MP3.Album = "sec";
    EXPECT_EQ(names(c, false, true), QStringList{"b.mp3"});
    SearchCriteria limited = criteria();
    limited.MaxRows = 1;
    EXPECT_EQ(main().search_MP3(limited).size(), 1);
}

TEST_P(SearchTest, CriteriaAreMatchedLiterally) {
    for (const char* n : {"O'Brien.txt", "100% done.txt", "1000 done.txt", "a_b.txt", "axb.txt",
                          "back\\slash.txt", "backslash.txt"})
        addFile(media, "/", n);
    struct Case {
        const char* criterion;
        QStringList expected;
    };
    const Case cases[] = {{"O'Brien", {"O'Brien.txt"}}, {"100%", {"100% done.txt"}},
                          {"a_b", {"a_b.txt"}},         {"k\\s", {"back\\slash.txt"}},
                          {"%", {"100% done.txt"}},     {"_", {"a_b.txt"}}};
    for (const Case& k : cases) {
        EXPECT_EQ(names(criteria(k.criterion)), k.expected) << k.criterion;
        SearchCriteria folder = criteria("", QString::fromUtf8(k.criterion));
        EXPECT_NO_THROW(main().search(folder));
    }
    addFile(media, "/it's/", "x.txt");
    EXPECT_EQ(names(criteria("", "/it's/")), QStringList{"x.txt"});
    const qint32 zip = addFile(media, "/", "q.zip");
    addEntry(zip, "Rock'n'Roll 50%.mp3", "it's/");
    SearchCriteriaCompressed cc;
    cc.SearchCriteria = criteria("'n'Roll 50%", "it's/");
    EXPECT_EQ(containedNames(cc), QStringList{"Rock'n'Roll 50%.mp3"});
    SearchCriteria tags = criteria();
    tags.MP3.Artist = "O'Br%";
    EXPECT_NO_THROW(main().search_MP3(tags));
}

TEST_P(SearchTest, CaseFoldsAsciiLettersOnlyAndOrderIsTheSameOnBothEngines) {
    const qint32 other = addMedia("Disk B");
    addFile(other, "/", "Zeta.txt");
    addFile(media, "/b/", "alpha.txt");
    addFile(media, "/B/", "ALPHA.txt");
    addFile(media, "/", "été.txt");
    addFile(media, "/", "ÉTÉ.txt");
    addFile(media, "/", "Alpha.txt");
    EXPECT_EQ(names(criteria("ALPHA")), (QStringList{"Alpha.txt", "ALPHA.txt", "alpha.txt"}));
    EXPECT_EQ(names(criteria("été")), QStringList{"été.txt"});
    EXPECT_EQ(names(criteria("t")), (QStringList{"Alpha.txt", "ÉTÉ.txt", "été.txt", "ALPHA.txt",
                                                 "alpha.txt", "Zeta.txt"}));
}

TEST_P(SearchTest, RecordsAreThoseOfGetFile) {
    const qint32 a = addFile(media, "/x/", "a.txt", 10);
    const qint32 b = addFile(media, "/x/", "b.txt", 20);
    SearchCriteria all = criteria(".txt");
    const QList<FileQuorvane> found = main().search(all);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], main().get_File(a));
    EXPECT_EQ(found[1], main().get_File(b));
    const qint32 zip = addFile(media, "/", "z.zip");
    const qint32 entry = addEntry(zip, "in.txt");
    SearchCriteriaCompressed cc;
    cc.SearchCriteria = criteria("in.txt");
    const QList<FileQuorvaneCompressed> entries = main().search_Compressed(cc);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0], main().get_FileCompressed(entry));
}

TEST_P(SearchTest, IndexGivesTheRowsOfThePlainScan) {
    // Names from a fixed pseudo-random sequence, some indexed before a
    // refresh, some appended after it, one renamed, one deleted.
    quint32 seed = 12345;
    const QString letters = QStringLiteral("abcdeéXY_%' .");
    auto name = [&] {
        QString n;
        for (int i = 0; i < 8; ++i) {
            seed = seed * 1103515245u + 12345u;
            n += letters[(seed >> 16) % letters.size()];
        }
        return n;
    };
    const qint32 zip = addFile(media, "/", "archive.zip");
    QList<qint32> keys;
    for (int i = 0; i < 150; ++i) {
        keys << addFile(media, QStringLiteral("/f%1/").arg(i % 7), name());
        addEntry(zip, name(), "p/");
        if (i == 100) {
            EXPECT_TRUE(main().refresh_SearchIndex());
        }
    }
    FileQuorvane renamed = main().get_File(keys[3]);
    renamed.Name = QStringLiteral("renamed-cab");
    main().rename_Files(renamed);
    main().delete_Files(keys[4]);
    if (!isPostgres()) {
        EXPECT_GT(scalar("SELECT count(*) FROM FilesNameIndex"), 90);
    } else if (SchemaUpgrade::trigramSearchAvailable(db())) {
        EXPECT_EQ(scalar("SELECT count(*) FROM pg_indexes WHERE indexname IN "
                         "('files_filename_trgm', 'filescontained_filename_trgm')"),
                  2);
    }

    const QStringList patterns{"abc", "cab",   "ab",    "éXY",     "exy", "a_b", "%'",
                               "b c", "ab cd", "abcde", "renamed", "X",   "Y.'"};
    for (int pass = 0; pass < 2; ++pass) {
        for (const QString& p : patterns) {
            SearchCriteria c = criteria(p);
            SearchCriteriaCompressed cc;
            cc.SearchCriteria = c;
            main().setSearchIndexEnabled(true);
            const QList<FileQuorvane> indexed = main().search(c, true);
            const QList<FileQuorvaneCompressed> indexedEntries = main().search_Compressed(cc);
            main().setSearchIndexEnabled(false);
            EXPECT_EQ(main().search(c, true), indexed) << p.toStdString();
            EXPECT_EQ(main().search_Compressed(cc), indexedEntries) << p.toStdString();
        }
        EXPECT_TRUE(main().refresh_SearchIndex());
    }
    EXPECT_EQ(names(criteria("renamed-cab")), QStringList{"renamed-cab"});
}

TEST_P(SearchTest, CatalogueWithoutTheIndexTablesIsSearchedByPlainScan) {
    if (isPostgres())
        GTEST_SKIP() << "the server catalogue needs no tables for its index";
    for (const char* trigger :
         {"Files_NameIndex_Rename", "Files_NameIndex_Delete", "FilesContained_NameIndex_Rename",
          "FilesContained_NameIndex_Delete"})
        exec(QStringLiteral("DROP TRIGGER %1").arg(trigger));
    for (const char* table : {"FilesNameIndex", "FilesContainedNameIndex", "SearchIndexState"})
        dropTable(table);
    addFile(media, "/", "holiday-2004.jpg");
    EXPECT_EQ(names(criteria("holiday")), QStringList{"holiday-2004.jpg"});
    EXPECT_FALSE(main().refresh_SearchIndex());
}

QUORVANE_ENGINE_TEST_SUITE(SearchTest);

} // namespace
