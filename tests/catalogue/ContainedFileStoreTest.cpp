#include "CatalogueFixture.h"

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

class ContainedFileStoreTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        media = addMedia(QStringLiteral("Disc"));
        archive = addFile(media, QStringLiteral("/arc/"), QStringLiteral("pack.zip"), 4096);
    }

    qint32 media = 0;
    qint32 archive = 0;
};

TEST_P(ContainedFileStoreTest, StoresAndReadsBackAnEntryWithItsArchive) {
    FileQuorvaneCompressed c;
    c.ParentFile.id = archive;
    c.IDParentFile = 777; // ignored by the write
    c.Name = QStringLiteral(" Bob's notes.TXT\t");
    c.Extension = QStringLiteral("TXT");
    c.FolderName = QStringLiteral("docs/it's/");
    c.FileCompressedSize = 3000000000.0;
    c.FileCompressionRatio = 42;
    c.DateModified = Date::fromParts(2020, 5, 6, 7, 8, 9);
    c.DateCreated = Date::fromParts(1700, 1, 1); // before 1900
    c.DateLastAccessed = Date::fromParts(2021, 1, 2);
    c.Properties = QStringLiteral("A");
    c.Comment = QStringLiteral("line one\r\nline 'two'\n");
    c.Size = 6000000000.0;
    c.CompressionType = CompressorType::RAR;
    c.OptionalDescription = QStringLiteral("opt");
    c.Flag = 7;
    main().set_FilesCompressed(c);
    const qint32 id = main().get_LastIDFileCompressed();
    ASSERT_GT(id, 0);

    const FileQuorvaneCompressed back = main().get_FileCompressed(id);
    EXPECT_EQ(back.id, id);
    EXPECT_EQ(back.IDParentFile, archive);
    EXPECT_EQ(back.Name, QStringLiteral("Bob's notes.TXT"));
    EXPECT_EQ(back.Extension, QStringLiteral("TXT")); // as stored
    EXPECT_EQ(back.FolderName, QStringLiteral("docs/it's/"));
    EXPECT_EQ(back.FileCompressedSize, 3000000000.0);
    EXPECT_EQ(back.FileCompressionRatio, 42);
    EXPECT_EQ(back.DateModified, c.DateModified);
    EXPECT_EQ(back.DateCreated, Date::fromParts(1900, 1, 1));
    EXPECT_EQ(back.DateLastAccessed, c.DateLastAccessed);
    EXPECT_EQ(back.Properties, QStringLiteral("A"));
    EXPECT_EQ(back.Comment, QStringLiteral("line oneline 'two'"));
    EXPECT_EQ(back.Size, 6000000000.0);
    EXPECT_EQ(back.CompressionType, CompressorType::RAR);
    EXPECT_EQ(back.OptionalDescription, QStringLiteral("opt"));
    EXPECT_EQ(back.Flag, 7);
    EXPECT_EQ(back.ParentFile.id, archive);
    EXPECT_EQ(back.ParentFile.Name, QStringLiteral("pack.zip"));
    EXPECT_EQ(back.Media.id, media);
    EXPECT_EQ(back.Media.Label, QStringLiteral("Disc"));
    EXPECT_TRUE(back.ArchiveFileName.isEmpty());
}

TEST_P(ContainedFileStoreTest, WithoutItsParentOnlyTheParentKeyIsFilled) {
    const qint32 id = addEntry(archive, QStringLiteral("a.txt"));
    bool loadParent = false;
    const FileQuorvaneCompressed back = main().get_FileCompressed(id, loadParent);
    EXPECT_EQ(back.IDParentFile, archive);
    EXPECT_EQ(back.ParentFile.id, 0);
    EXPECT_TRUE(back.ParentFile.Name.isEmpty());
    EXPECT_EQ(back.Media.id, 0);
    EXPECT_EQ(main().get_FileCompressed(999999).id, 0);
}

TEST_P(ContainedFileStoreTest, EntryWithoutNameIsNotStored) {
    const qint32 before = addEntry(archive, QStringLiteral("first"));
    ASSERT_GT(before, 0);
    EXPECT_EQ(addEntry(archive, QString()), 0);
    EXPECT_EQ(addEntry(archive, QStringLiteral(" \t ")), 0);
    EXPECT_EQ(main().get_NumberOfContainedFiles(archive), 1);
}

TEST_P(ContainedFileStoreTest, LastIdIsThisObjectsOwnOrTheNewest) {
    EXPECT_EQ(main().get_LastIDFileCompressed(), 0);
    const qint32 mine = addEntry(archive, QStringLiteral("mine"));
    Main other;
    FileQuorvaneCompressed c;
    c.ParentFile.id = archive;
    c.Name = QStringLiteral("theirs");
    other.set_FilesCompressed(c);
    EXPECT_GT(other.get_LastIDFileCompressed(), mine);
    EXPECT_EQ(main().get_LastIDFileCompressed(), mine);
    Main reader;
    EXPECT_EQ(reader.get_LastIDFileCompressed(), other.get_LastIDFileCompressed());
    // An entry of an archive that is not catalogued fails: 0.
    EXPECT_EQ(addEntry(555555, QStringLiteral("orphan")), 0);
}

TEST_P(ContainedFileStoreTest, CompressedSumIsExactBeyondThirtyTwoBits) {
    EXPECT_EQ(main().get_SumOfCompressedContainedFiles(archive), 0);
    addEntry(archive, QStringLiteral("1"), QString(), 1500000000.0);
    addEntry(archive, QStringLiteral("2"), QString(), 1500000000.0);
    addEntry(archive, QStringLiteral("3"), QString(), 1500000001.0);
    EXPECT_EQ(main().get_SumOfCompressedContainedFiles(archive), Q_INT64_C(4500000001));
    EXPECT_TRUE(errorEvents().isEmpty());
}

TEST_P(ContainedFileStoreTest, ListIsOrderedByNameOnly) {
    EXPECT_TRUE(main().get_ListOfCompressedContainedFiles(archive).isEmpty());
    addEntry(archive, QStringLiteral("c.txt"), QStringLiteral("a/"));
    addEntry(archive, QStringLiteral("a.txt"), QStringLiteral("z/"));
    addEntry(archive, QStringLiteral("b.txt"), QStringLiteral("m/"));
    const qint32 otherArchive = addFile(media, QStringLiteral("/"), QStringLiteral("other.zip"));
    addEntry(otherArchive, QStringLiteral("0.txt"));

    const QList<FileQuorvaneCompressed> list = main().get_ListOfCompressedContainedFiles(archive);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).Name, QStringLiteral("a.txt"));
    EXPECT_EQ(list.at(1).Name, QStringLiteral("b.txt"));
    EXPECT_EQ(list.at(2).Name, QStringLiteral("c.txt"));
    for (const FileQuorvaneCompressed& c : list) {
        EXPECT_EQ(c.IDParentFile, archive);
        EXPECT_EQ(c.ParentFile.Name, QStringLiteral("pack.zip"));
        EXPECT_EQ(c.Media.id, media);
    }
}

TEST_P(ContainedFileStoreTest, OperationsThatCatchTheirErrorsRaiseTheEvent) {
    addEntry(archive, QStringLiteral("a"));
    dropTable(QStringLiteral("FilesContained"));
    EXPECT_EQ(main().get_SumOfCompressedContainedFiles(archive), 0);
    ASSERT_EQ(errorEvents().size(), 1);
    EXPECT_TRUE(
        errorEvents().at(0).endsWith(QStringLiteral("\r\nget_SumOfCompressedContainedFiles")));
    EXPECT_TRUE(main().get_ListOfCompressedContainedFiles(archive).isEmpty());
    ASSERT_EQ(errorEvents().size(), 2);
    EXPECT_TRUE(
        errorEvents().at(1).endsWith(QStringLiteral("\r\nget_ListOfCompressedContainedFiles")));
    // Those without handling of their own raise to the caller.
    EXPECT_THROW(main().get_FileCompressed(1), CatalogueError);
    Main appendedNone;
    EXPECT_THROW(appendedNone.get_LastIDFileCompressed(), CatalogueError);
}

QUORVANE_ENGINE_TEST_SUITE(ContainedFileStoreTest);

} // namespace
