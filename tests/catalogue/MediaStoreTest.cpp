#include "CatalogueFixture.h"

#include "catalogue/MediaStore.h"

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

class MediaStoreTest : public CatalogueTest {
protected:
    Media fullMedia() {
        Media m;
        m.Label = QStringLiteral("Bob's disc");
        m.SerialNumber = QStringLiteral("1A2B-3C4D");
        m.IsNetworkDrive = true;
        m.EAN13 = QStringLiteral("4006381333931");
        m.Space_Capacity = 6e12; // a 6 TB disc
        m.Space_Used = 5999999999999.0;
        m.Space_Free = 1;
        m.Type = MediaType::Removable;
        m.PartitionType = QStringLiteral("ext4");
        m.Description = QStringLiteral("it's 'quoted' — ünïcödé 🎵");
        m.Group = QStringLiteral("Holidays '09");
        m.Letter = QStringLiteral("/media/stick");
        return m;
    }
};

TEST_P(MediaStoreTest, StoresAndReadsBackEveryField) {
    Media m = fullMedia();
    ASSERT_TRUE(main().set_Media(m));
    const Media back = main().get_Media(m.SerialNumber, QString(), 0, false);
    ASSERT_GT(back.id, 0);
    EXPECT_EQ(back.Label, m.Label);
    EXPECT_EQ(back.SerialNumber, m.SerialNumber);
    EXPECT_TRUE(back.IsNetworkDrive);
    EXPECT_EQ(back.EAN13, m.EAN13);
    EXPECT_EQ(back.Space_Capacity, 6e12);
    EXPECT_EQ(back.Space_Used, 5999999999999.0);
    EXPECT_EQ(back.Space_Free, 1);
    EXPECT_EQ(back.Type, MediaType::Removable);
    EXPECT_EQ(back.PartitionType, m.PartitionType);
    EXPECT_EQ(back.Description, m.Description);
    EXPECT_EQ(back.Group, m.Group);
    EXPECT_EQ(back.Letter, QString()); // not stored
    EXPECT_EQ(back.Statistics.NumberOfFiles, 0);
    EXPECT_TRUE(main().exists_Media(m));
}

TEST_P(MediaStoreTest, BlankSerialNumberWritesNothing) {
    Media m = fullMedia();
    m.SerialNumber = QStringLiteral("   ");
    EXPECT_FALSE(main().set_Media(m));
    m.SerialNumber.clear();
    EXPECT_FALSE(main().set_Media(m));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Media")), 0);
}

TEST_P(MediaStoreTest, UpdateChangesTheRowOfTheCallersId) {
    const qint32 a = addMedia(QStringLiteral("A"), QStringLiteral("S1"));
    const qint32 b = addMedia(QStringLiteral("B"), QStringLiteral("S2"));
    Media m = main().get_Media(QString(), QString(), a, false);
    m.id = b; // serial S1 exists, but the caller holds b
    m.Label = QStringLiteral("changed");
    ASSERT_TRUE(main().set_Media(m));
    EXPECT_EQ(main().get_Media(QString(), QString(), a, false).Label, QStringLiteral("A"));
    const Media changedB = main().get_Media(QString(), QString(), b, false);
    EXPECT_EQ(changedB.Label, QStringLiteral("changed"));
    EXPECT_EQ(changedB.SerialNumber, QStringLiteral("S1"));

    m.id = 0; // updates no row, still a success
    m.Label = QStringLiteral("nowhere");
    EXPECT_TRUE(main().set_Media(m));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Media WHERE MediaName = 'nowhere'")), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Media")), 2);
}

TEST_P(MediaStoreTest, MediaWithoutSerialNumberAreMatchedByLabel) {
    const QString none = MediaStore::noSerialNumber();
    const qint32 first = addMedia(QStringLiteral("Disk"), none);
    ASSERT_GT(first, 0);
    Media same;
    same.Label = QStringLiteral("Disk");
    same.SerialNumber = none;
    EXPECT_TRUE(main().exists_Media(same));
    Media other = same;
    other.Label = QStringLiteral("Other disk");
    EXPECT_FALSE(main().exists_Media(other));
    // A serial number equal to another medium's label does not match it.
    Media bySerial;
    bySerial.SerialNumber = QStringLiteral("Disk");
    EXPECT_FALSE(main().exists_Media(bySerial));
    // Stored again under the same label: an update, not a second row.
    same.id = first;
    same.Description = QStringLiteral("second visit");
    ASSERT_TRUE(main().set_Media(same));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Media")), 1);
}

TEST_P(MediaStoreTest, GetMediaPrefersTheLabelAndGivesAnEmptyRecordWhenNotFound) {
    const qint32 a = addMedia(QStringLiteral("Alpha"), QStringLiteral("SA"));
    const qint32 b = addMedia(QStringLiteral("Beta"), QStringLiteral("SB"));
    EXPECT_EQ(main().get_Media(QStringLiteral("SA"), QStringLiteral("Beta")).id, b);
    EXPECT_EQ(main().get_Media(QStringLiteral("SA"), QStringLiteral("   ")).id, a);
    EXPECT_EQ(main().get_Media(QString(), QString(), b).Label, QStringLiteral("Beta"));
    const Media missing = main().get_Media(QStringLiteral("nope"));
    EXPECT_EQ(missing.id, 0);
    EXPECT_TRUE(missing.Label.isEmpty());
    EXPECT_TRUE(missing.Group.isEmpty());
}

TEST_P(MediaStoreTest, StatisticsCountFilesFoldersAndSizes) {
    const qint32 id = addMedia(QStringLiteral("Stats"));
    const qint32 other = addMedia(QStringLiteral("Other"));
    addFile(id, QStringLiteral("/"), QStringLiteral("##nullfile##"), 0);
    addFile(id, QStringLiteral("/"), QStringLiteral("a.txt"), 1024000);
    addFile(id, QStringLiteral("/d/"), QStringLiteral("##nullfile##"), 0);
    addFile(id, QStringLiteral("/d/"), QStringLiteral("b.txt"), 512000);
    addFile(other, QStringLiteral("/"), QStringLiteral("c.txt"), 999);

    EXPECT_EQ(main().get_Media(QString(), QString(), id, false).Statistics.NumberOfFiles, 0);
    const MediaStatistics s = main().get_Media(QString(), QString(), id, true).Statistics;
    EXPECT_EQ(s.NumberOfFiles, 4); // folder rows count
    EXPECT_EQ(s.NumberOfDirectories, 2);
    EXPECT_DOUBLE_EQ(s.FilesSize, 1.5); // units of 1,024,000 bytes
    EXPECT_DOUBLE_EQ(s.FilesSizeAverage, 1536000.0 / 4);

    // A file smaller than the unit still counts (no integer division).
    const qint32 small = addMedia(QStringLiteral("Small"));
    addFile(small, QStringLiteral("/"), QStringLiteral("tiny"), 10240);
    EXPECT_DOUBLE_EQ(main().get_Media(QString(), QString(), small).Statistics.FilesSize, 0.01);
}

TEST_P(MediaStoreTest, BlankGroupsReadAsNotYetGroupedAndAreNotListed) {
    addMedia(QStringLiteral("G1"), QString(), QStringLiteral("Zeta"));
    addMedia(QStringLiteral("G2"), QString(), QStringLiteral("Alpha"));
    addMedia(QStringLiteral("G3"), QString(), QStringLiteral("Zeta"));
    const qint32 empty = addMedia(QStringLiteral("G4"), QString(), QString());
    const qint32 blank = addMedia(QStringLiteral("G5"), QString(), QStringLiteral("   "));
    const qint32 null = addMedia(QStringLiteral("G6"));
    ASSERT_EQ(
        db().execute_Sql(
                QStringLiteral("UPDATE Media SET MediaGroup = NULL WHERE IDMedia = %1").arg(null),
                QStringLiteral("test"))
            .Number,
        0);
    for (qint32 id : {empty, blank, null})
        EXPECT_EQ(main().get_Media(QString(), QString(), id, false).Group,
                  MediaStore::notGroupedText());

    EXPECT_EQ(main().get_MediaGroups(),
              QStringList({QStringLiteral("Alpha"), QStringLiteral("Zeta")}));

    // Writing the record back stores the text it was read with.
    Media m = main().get_Media(QString(), QString(), null, false);
    ASSERT_TRUE(main().set_Media(m));
    EXPECT_EQ(main().get_MediaGroups(),
              QStringList(
                  {MediaStore::notGroupedText(), QStringLiteral("Alpha"), QStringLiteral("Zeta")}));
}

TEST_P(MediaStoreTest, LabelsAndMediaListInNameOrder) {
    QStringList labels = {QStringLiteral("untouched")};
    EXPECT_EQ(main().get_MediasLabel(labels), 0);
    EXPECT_EQ(labels, QStringList({QStringLiteral("untouched")}));
    EXPECT_TRUE(main().get_Medias().isEmpty());

    const qint32 c = addMedia(QStringLiteral("charlie"), QStringLiteral("S3"));
    const qint32 a = addMedia(QStringLiteral("Alpha"), QStringLiteral("S1"));
    const qint32 b = addMedia(QStringLiteral("Bravo"), QStringLiteral("S2"));
    addMedia(QStringLiteral("Bravo"), QStringLiteral("S4"));
    EXPECT_EQ(main().get_MediasLabel(labels), 3);
    EXPECT_EQ(labels, QStringList({QStringLiteral("Alpha"), QStringLiteral("Bravo"),
                                   QStringLiteral("charlie")}));

    addFile(b, QStringLiteral("/"), QStringLiteral("f"), 2048000);
    const MediaList list = main().get_Medias(true);
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list.at(0).id, a);
    EXPECT_EQ(list.at(1).id, b);
    EXPECT_EQ(list.at(3).id, c);
    ASSERT_NE(list.find(b), nullptr);
    EXPECT_EQ(list.find(b)->Label, QStringLiteral("Bravo"));
    EXPECT_DOUBLE_EQ(list.find(b)->Statistics.FilesSize, 2);
    EXPECT_EQ(list.find(9999), nullptr);
    EXPECT_EQ(list.value(9999).id, 0);
    EXPECT_EQ(main().get_Medias(false).find(b)->Statistics.FilesSize, 0);
}

TEST_P(MediaStoreTest, TotalCapacity) {
    FormattedSize total = main().get_QuorvaneTotalCapacity();
    EXPECT_EQ(total.Size, 0);
    EXPECT_EQ(total.Formatted, QStringLiteral(" B"));

    const qint32 a = addMedia(QStringLiteral("A"));
    const qint32 b = addMedia(QStringLiteral("B"));
    addFile(a, QStringLiteral("/"), QStringLiteral("big"), 5e9); // a 5 GB file
    addFile(b, QStringLiteral("/"), QStringLiteral("half"), 512000);
    total = main().get_QuorvaneTotalCapacity();
    EXPECT_EQ(total.UnityEnum, SizeType::GBytes);
    EXPECT_EQ(total.Formatted, main().FormatSize(5e9 + 512000).Formatted);

    dropTable(QStringLiteral("Files"));
    total = main().get_QuorvaneTotalCapacity();
    EXPECT_EQ(total.Formatted, QStringLiteral("-1"));
    EXPECT_EQ(total.Unity, QStringLiteral(" B"));
}

TEST_P(MediaStoreTest, DeleteMediaTakesEverythingThatHangsOnIt) {
    const qint32 gone = addMedia(QStringLiteral("gone"));
    const qint32 kept = addMedia(QStringLiteral("kept"));
    const qint32 archive = addFile(gone, QStringLiteral("/"), QStringLiteral("a.zip"), 100);
    addEntry(archive, QStringLiteral("inside.txt"));
    const qint32 keptArchive = addFile(kept, QStringLiteral("/"), QStringLiteral("b.zip"), 100);
    addEntry(keptArchive, QStringLiteral("inside.txt"));

    main().delete_Media(gone);
    EXPECT_EQ(main().get_Media(QString(), QString(), gone).id, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE IDMedia = %1").arg(gone)), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM FilesContained")), 1);
    EXPECT_EQ(main().get_NumberOfContainedFiles(keptArchive), 1);
    EXPECT_EQ(main().get_Media(QString(), QString(), kept).Statistics.NumberOfFiles, 1);
}

TEST_P(MediaStoreTest, DeleteMediaFilesBySerialNumber) {
    const qint32 a = addMedia(QStringLiteral("A"), QStringLiteral("SA"));
    const qint32 b = addMedia(QStringLiteral("B"), QStringLiteral("SB"));
    addFile(a, QStringLiteral("/"), QStringLiteral("1"));
    addFile(a, QStringLiteral("/x/"), QStringLiteral("2"));
    addFile(b, QStringLiteral("/"), QStringLiteral("3"));
    main().delete_MediaFiles(QStringLiteral("unknown"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files")), 3);
    main().delete_MediaFiles(QStringLiteral("SA"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE IDMedia = %1").arg(a)), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files WHERE IDMedia = %1").arg(b)), 1);
    EXPECT_EQ(main().get_Media(QStringLiteral("SA")).id, a); // the medium stays
}

TEST_P(MediaStoreTest, FailedQueriesReachTheCallerAfterBeingReported) {
    dropTable(QStringLiteral("Media"));
    MessageRecorder recorder;
    Media m;
    m.SerialNumber = QStringLiteral("S");
    try {
        main().exists_Media(m);
        FAIL() << "exists_Media did not throw";
    } catch (const CatalogueError& error) {
        EXPECT_NE(error.error().Number, 0);
        EXPECT_EQ(error.routine(), QStringLiteral("QuorvaneSDK.exists_Media"));
    }
    ASSERT_FALSE(recorder.errors.isEmpty());
    EXPECT_EQ(recorder.errors.last().routine, QStringLiteral("QuorvaneSDK.exists_Media"));
    EXPECT_THROW(main().set_Media(m), CatalogueError);
    EXPECT_THROW(main().get_Media(QStringLiteral("S")), CatalogueError);
    EXPECT_THROW(main().get_Medias(), CatalogueError);
    EXPECT_THROW(main().get_MediaGroups(), CatalogueError);
    QStringList labels;
    EXPECT_THROW(main().get_MediasLabel(labels), CatalogueError);
    EXPECT_NO_THROW(main().delete_Media(1)); // a failed write is reported, not raised
}

QUORVANE_ENGINE_TEST_SUITE(MediaStoreTest);

} // namespace
