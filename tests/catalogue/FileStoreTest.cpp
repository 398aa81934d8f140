#include "CatalogueFixture.h"

#include "foundation/BatchScope.h"
#include "foundation/SchemaUpgrade.h"

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

class FileStoreTest : public CatalogueTest {};

TEST_P(FileStoreTest, StoresAndReadsBackAFile) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    FileQuorvane f =
        makeFile(media, QStringLiteral("/music/it's/"), QStringLiteral("Bob's song.MP3"),
                 5368709120.0); // 5 GB
    f.Extension = QStringLiteral("MP3");
    f.Properties = QStringLiteral(" RA ");
    f.OptionalDescription = QStringLiteral("note 'one'");
    f.Flag = -2;
    main().set_Files(f);
    const qint32 id = main().get_LastIDFile();
    ASSERT_GT(id, 0);

    const FileQuorvane back = main().get_File(id);
    EXPECT_EQ(back.id, id);
    EXPECT_EQ(back.Name, QStringLiteral("Bob's song.MP3"));
    EXPECT_EQ(back.FolderName, QStringLiteral("/music/it's/"));
    EXPECT_EQ(back.Extension, QStringLiteral("mp3")); // lower-cased on read
    EXPECT_EQ(back.Size, 5368709120.0);
    EXPECT_EQ(back.DateCreated, f.DateCreated);
    EXPECT_EQ(back.DateLastAccessed, f.DateLastAccessed);
    EXPECT_EQ(back.DateModified, f.DateModified);
    EXPECT_EQ(back.Properties, QStringLiteral(" RA ")); // not cleaned
    EXPECT_EQ(back.Description, QStringLiteral("Text document"));
    EXPECT_EQ(back.OptionalDescription, f.OptionalDescription);
    EXPECT_EQ(back.Flag, -2);
    EXPECT_EQ(back.Media.id, media);
    EXPECT_EQ(back.Media.Label, QStringLiteral("Disc"));
    EXPECT_TRUE(back.FullName.isEmpty());
    // Only the type text (in the Extension field) and the icon are carried over.
    const Extension looked = main().get_Extension(QStringLiteral(".mp3"));
    EXPECT_EQ(back.ExtensionInfo.Extension, looked.ExtType);
    EXPECT_TRUE(back.ExtensionInfo.ExtensionDescription.isEmpty());
    EXPECT_TRUE(back.ExtensionInfo.ExtType.isEmpty());
    EXPECT_EQ(back.ExtensionInfo.SmallIcon, looked.SmallIcon);
}

TEST_P(FileStoreTest, NamesAreCleanedAndOldDatesClamped) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    FileQuorvane f = makeFile(media, QStringLiteral("\t/a/ "), QStringLiteral(" \tname\r\n.txt "));
    f.DateCreated = Date::fromParts(1601, 1, 1); // an unset file time
    f.DateLastAccessed = Date::fromParts(1899, 12, 31, 23, 59, 59);
    f.DateModified = Date::fromParts(1900, 1, 1, 0, 0, 1); // kept
    f.Description.clear();
    main().set_Files(f);
    const FileQuorvane back = main().get_File(main().get_LastIDFile());
    EXPECT_EQ(back.Name, QStringLiteral("name.txt"));
    EXPECT_EQ(back.FolderName, QStringLiteral("/a/"));
    EXPECT_EQ(back.DateCreated, Date::fromParts(1900, 1, 1));
    EXPECT_EQ(back.DateLastAccessed, Date::fromParts(1900, 1, 1));
    EXPECT_EQ(back.DateModified, Date::fromParts(1900, 1, 1, 0, 0, 1));
    EXPECT_EQ(back.Description, QStringLiteral("**no type**"));
}

TEST_P(FileStoreTest, MissingFileGivesAnEmptyRecord) {
    const FileQuorvane none = main().get_File(424242);
    EXPECT_EQ(none.id, 0);
    EXPECT_TRUE(none.Name.isEmpty());
    EXPECT_EQ(none.Media.id, 0);
}

TEST_P(FileStoreTest, LastIdIsTheKeyOfThisObjectsOwnInsert) {
    EXPECT_EQ(main().get_LastIDFile(), 0); // no files yet
    const qint32 media = addMedia(QStringLiteral("Disc"));
    const qint32 mine = addFile(media, QStringLiteral("/"), QStringLiteral("mine"));
    ASSERT_GT(mine, 0);

    // Another writer appends afterwards: this object still knows its own.
    Main other;
    FileQuorvane f = makeFile(media, QStringLiteral("/"), QStringLiteral("theirs"));
    other.set_Files(f);
    const qint32 theirs = other.get_LastIDFile();
    EXPECT_GT(theirs, mine);
    EXPECT_EQ(main().get_LastIDFile(), mine);
    EXPECT_EQ(main().get_File(mine).Name, QStringLiteral("mine"));

    // An object that appended nothing asks the catalogue for its newest key.
    Main reader;
    EXPECT_EQ(reader.get_LastIDFile(), theirs);

    // A failed insert (no such medium) leaves 0, so nothing hangs on an older file.
    FileQuorvane orphan = makeFile(987654, QStringLiteral("/"), QStringLiteral("orphan"));
    main().set_Files(orphan);
    EXPECT_EQ(main().get_LastIDFile(), 0);
}

TEST_P(FileStoreTest, RolledBackBatchForgetsTheLastKey) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    {
        BatchScope batch(db());
        ASSERT_TRUE(batch.isActive());
        EXPECT_GT(addFile(media, QStringLiteral("/"), QStringLiteral("lost")), 0);
    } // rolled back
    EXPECT_EQ(main().get_LastIDFile(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files")), 0);

    BatchScope batch(db());
    const qint32 kept = addFile(media, QStringLiteral("/"), QStringLiteral("kept"));
    ASSERT_TRUE(batch.commit());
    EXPECT_EQ(main().get_LastIDFile(), kept);
    EXPECT_EQ(main().get_File(kept).Name, QStringLiteral("kept"));
}

TEST_P(FileStoreTest, MediumIsReusedForTwentySecondsAndReloadedForAnotherMedium) {
    qint64 now = 1000;
    main().setTickSource([&now] { return now; });
    const qint32 a = addMedia(QStringLiteral("A"));
    const qint32 b = addMedia(QStringLiteral("B"));
    const qint32 fa = addFile(a, QStringLiteral("/"), QStringLiteral("fa"));
    const qint32 fa2 = addFile(a, QStringLiteral("/"), QStringLiteral("fa2"));
    const qint32 fb = addFile(b, QStringLiteral("/"), QStringLiteral("fb"));

    EXPECT_EQ(main().get_File(fa).Media.Label, QStringLiteral("A"));
    // Changed behind the object's back: within 20 s the cached medium serves.
    ASSERT_EQ(main()
                  .execute_Sql(
                      QStringLiteral("UPDATE Media SET MediaName = 'A2' WHERE IDMedia = %1").arg(a))
                  .Number,
              0);
    now += 20000;
    EXPECT_EQ(main().get_File(fa2).Media.Label, QStringLiteral("A"));
    now += 1; // more than 20 s after the load
    EXPECT_EQ(main().get_File(fa2).Media.Label, QStringLiteral("A2"));
    // Another medium is loaded at once, and then the first again.
    EXPECT_EQ(main().get_File(fb).Media.Label, QStringLiteral("B"));
    const FileQuorvane backToA = main().get_File(fa);
    EXPECT_EQ(backToA.Media.id, a);
    EXPECT_EQ(backToA.Media.Label, QStringLiteral("A2"));
    EXPECT_EQ(backToA.Media.Statistics.NumberOfFiles, 2); // loaded with its statistics
}

TEST_P(FileStoreTest, DeletionsRemoveExactlyTheirRows) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    const qint32 other = addMedia(QStringLiteral("Other"));
    addFile(media, QStringLiteral("/a/"), QStringLiteral("##nullfile##"));
    addFile(media, QStringLiteral("/a/"), QStringLiteral("x.txt"));
    addFile(media, QStringLiteral("/a/b/"), QStringLiteral("y.txt"));
    addFile(media, QStringLiteral("/a/b/"), QStringLiteral("it's.txt"));
    addFile(other, QStringLiteral("/a/"), QStringLiteral("z.txt"));
    const qint32 single = addFile(media, QStringLiteral("/c/"), QStringLiteral("single"));

    main().delete_FolderFiles(media, QStringLiteral("/a/"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE FolderName = '/a/'")), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE FolderName = '/a/b/'")), 2);

    main().delete_File(media, QStringLiteral("/a/b/"), QStringLiteral("it's.txt"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE FolderName = '/a/b/'")), 1);

    main().delete_Files(single);
    EXPECT_EQ(main().get_File(single).id, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files")), 2);
}

TEST_P(FileStoreTest, RenameKeepsApostrophes) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    const qint32 id = addFile(media, QStringLiteral("/"), QStringLiteral("old.txt"));
    FileQuorvane f = main().get_File(id);
    f.Name = QStringLiteral("Bob's new.txt");
    main().rename_Files(f);
    EXPECT_EQ(main().get_File(id).Name, QStringLiteral("Bob's new.txt"));
}

TEST_P(FileStoreTest, CountsContainedFilesAndRunsFreeStatements) {
    const qint32 media = addMedia(QStringLiteral("Disc"));
    const qint32 zip = addFile(media, QStringLiteral("/"), QStringLiteral("a.zip"));
    EXPECT_EQ(main().get_NumberOfContainedFiles(zip), 0);
    addEntry(zip, QStringLiteral("1"));
    addEntry(zip, QStringLiteral("2"));
    EXPECT_EQ(main().get_NumberOfContainedFiles(zip), 2);

    EXPECT_EQ(main().execute_Sql(QStringLiteral("DELETE FROM FilesContained")).Number, 0);
    EXPECT_EQ(main().get_NumberOfContainedFiles(zip), 0);
    EXPECT_NE(main().execute_Sql(QStringLiteral("DELETE FROM NoSuchTable")).Number, 0);
}

TEST_P(FileStoreTest, FailedQueriesReachTheCaller) {
    dropTable(QStringLiteral("FilesContained"));
    EXPECT_THROW(main().get_NumberOfContainedFiles(1), CatalogueError);
    dropTable(QStringLiteral("Files"));
    EXPECT_THROW(main().get_File(1), CatalogueError);
    EXPECT_THROW(main().get_LastIDFile(), CatalogueError);
    FileQuorvane f = makeFile(1, QStringLiteral("/"), QStringLiteral("x"));
    EXPECT_NO_THROW(main().set_Files(f)); // reported; the key becomes 0
    EXPECT_EQ(main().get_LastIDFile(), 0);
    EXPECT_NO_THROW(main().delete_FolderFiles(1, QStringLiteral("/")));
}

QUORVANE_ENGINE_TEST_SUITE(FileStoreTest);

} // namespace

namespace {

// A catalogue of its own with the schema and one medium; returns the medium's key.
qint32 prepareCatalogue(EngineDatabase& catalogue, Main& main) {
    EXPECT_TRUE(catalogue.ready());
    EXPECT_TRUE(SchemaUpgrade(catalogue.db()).run().ok());
    Media m;
    m.Label = QStringLiteral("disc");
    m.SerialNumber = QStringLiteral("S");
    EXPECT_TRUE(main.set_Media(m));
    return main.get_Media(QStringLiteral("S")).id;
}

TEST(FileStoreDatabases, FollowsTheCurrentDatabase) {
    Main main;
    auto first = std::make_unique<EngineDatabase>(Engine::SQLite);
    const qint32 m1 = prepareCatalogue(*first, main);
    for (int i = 0; i < 3; ++i) {
        FileQuorvane f = CatalogueTest::makeFile(m1, QStringLiteral("/"), QStringLiteral("one"));
        main.set_Files(f);
    }
    const qint32 inFirst = main.get_LastIDFile();
    EXPECT_EQ(inFirst, 3);
    {
        // A second catalogue becomes current: nothing appended there yet.
        EngineDatabase second(Engine::SQLite);
        const qint32 m2 = prepareCatalogue(second, main);
        EXPECT_EQ(main.get_LastIDFile(), 0);
        FileQuorvane f = CatalogueTest::makeFile(m2, QStringLiteral("/"), QStringLiteral("two"));
        main.set_Files(f);
        EXPECT_EQ(main.get_LastIDFile(), 1);
        EXPECT_EQ(main.get_File(1).Name, QStringLiteral("two"));
    }
    // The first is current again; its statements are prepared anew.
    FileQuorvane f = CatalogueTest::makeFile(m1, QStringLiteral("/"), QStringLiteral("again"));
    main.set_Files(f);
    EXPECT_EQ(main.get_LastIDFile(), inFirst + 1);
    EXPECT_EQ(main.get_File(inFirst + 1).Name, QStringLiteral("again"));

    // A database made after the first is gone (maybe at its address) is a new one.
    first.reset();
    EngineDatabase third(Engine::SQLite);
    const qint32 m3 = prepareCatalogue(third, main);
    EXPECT_EQ(main.get_LastIDFile(), 0);
    FileQuorvane g = CatalogueTest::makeFile(m3, QStringLiteral("/"), QStringLiteral("three"));
    main.set_Files(g);
    EXPECT_EQ(main.get_File(main.get_LastIDFile()).Name, QStringLiteral("three"));
}

} // namespace
