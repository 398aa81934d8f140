// The text rules of a run and the batch pacing.

#include "ScanText.h"
#include "ScanBatch.h"
#include "ScanEngine.h"
#include "ScanFixture.h"

#include "foundation/Database.h"

#include <QThread>
#include <tuple>

using namespace QuorvaneCataloguing;
using QuorvaneSDK::MediaType;

namespace {

TEST(ScanText, FileAttributeLetterByWholeWord) {
    const QList<QPair<quint32, QString>> table = {
        {1, "R"},  {2, "H"}, {4, "S"},       {16, "D"},  {32, "A"},   {33, "N"},
        {34, "N"}, {0, "N"}, {167, "RHSAN"}, {256, "T"}, {2048, "C"}, {48, "N"}};
    for (const auto& [word, letter] : table)
        EXPECT_EQ(fileAttributeLetter(word), letter) << word;
}

TEST(ScanText, ContainedAttributeLetterByWholeWord) {
    const QList<QPair<qint64, QString>> table = {{0, "N"}, {1, "R"},  {2, "H"},  {4, "S"},
                                                 {8, "V"}, {16, "D"}, {32, "A"}, {2048, "C"},
                                                 {33, ""}, {48, ""}};
    for (const auto& [word, letter] : table)
        EXPECT_EQ(containedAttributeLetter(word), letter) << word;
}

TEST(ScanText, Extensions) {
    EXPECT_EQ(fileExtension("README"), "");
    EXPECT_EQ(fileExtension(".profile"), "profile");
    EXPECT_EQ(fileExtension("a.tar.gz"), "gz");
    EXPECT_EQ(fileExtension("trailing."), "");
    EXPECT_EQ(containedExtension("a." + QString(60, 'x')), QString(47, 'x') + "...");
    EXPECT_EQ(containedExtension("a." + QString(50, 'x')), QString(50, 'x'));
    EXPECT_EQ(containedExtension("README"), "");
}

TEST(ScanText, CatalogueFolderNameFromTheMountPoint) {
    const QList<std::tuple<QString, QString, QString>> table = {
        {"/", "/", "/"},
        {"/", "/home/ann/Music", "/home/ann/Music/"},
        {"/mnt/usb", "/mnt/usb", "/"},
        {"/mnt/usb/", "/mnt/usb/a/b", "/a/b/"},
        {"/mnt/usb", "/mnt/usbother/x", "/mnt/usbother/x/"},
    };
    for (const auto& [mount, folder, name] : table)
        EXPECT_EQ(catalogueFolderName(mount, folder), name) << folder.toStdString();
}

TEST(ScanText, VolumeTypesMapToMediaTypes) {
    EXPECT_EQ(mediaTypeOfVolume("Fixed"), MediaType::FixedHD);
    EXPECT_EQ(mediaTypeOfVolume("CD-ROM"), MediaType::CDRom);
    EXPECT_EQ(mediaTypeOfVolume("Network"), MediaType::NETWORK);
    EXPECT_EQ(mediaTypeOfVolume("Removable"), MediaType::Removable);
    EXPECT_EQ(mediaTypeOfVolume("RAM Disk"), MediaType::Unknow);
    EXPECT_EQ(mediaTypeOfVolume(""), MediaType::Unknow);
}

TEST(ScanText, ProgressTextsAreShortened) {
    const QString path80 = "/" + QString(68, 'p') + "/report.txt";
    ASSERT_EQ(path80.size(), 80);
    EXPECT_EQ(shortenedFilePath(path80), path80);
    EXPECT_EQ(shortenedFilePath("/q" + path80), ".../report.txt");
    EXPECT_EQ(shortenedFilePath(QString("/a/b") + QChar(0) + "rest"), "/a/b");
    EXPECT_EQ(shortenedArchivedName(QString(80, 'n')), QString(80, 'n'));
    EXPECT_EQ(shortenedArchivedName(QString(81, 'n')), QString(80, 'n') + "...");
}

TEST(ScanText, FileSizeFromTwoWords) {
    EXPECT_EQ(ScanEngine::FileSizeWFD(0, 0xFFFFFFFFu), 4294967295.0);
    EXPECT_EQ(ScanEngine::FileSizeWFD(1, 5), 4294967301.0);
}

class ScanBatchTest : public QuorvaneTest::EngineTest {};

TEST_P(ScanBatchTest, CommitsEveryFiveThousandRowsOrAfterAQuarterSecond) {
    ScanBatch batch(db());
    EXPECT_TRUE(db().inBatch());
    batch.wrote(ScanBatch::kMaxRows - 1);
    EXPECT_EQ(batch.commits(), 0);
    batch.wrote(1);
    EXPECT_EQ(batch.commits(), 1);
    EXPECT_TRUE(db().inBatch());
    QThread::msleep(ScanBatch::kMaxMs + 20);
    batch.wrote(1);
    EXPECT_EQ(batch.commits(), 2);
    batch.finish();
    EXPECT_EQ(batch.commits(), 3);
    EXPECT_FALSE(db().inBatch());
}

TEST_P(ScanBatchTest, RowsOfAFinishedBatchAreCommitted) {
    ASSERT_EQ(db().execute_Sql("CREATE TABLE t (a INTEGER)", "test").Number, 0);
    {
        ScanBatch batch(db());
        ASSERT_EQ(db().execute_Sql("INSERT INTO t VALUES (1)", "test").Number, 0);
    } // ends as a stopped run ends: what was written stays
    const auto rs = db().get_Recordset("SELECT count(*) AS n FROM t", "test");
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->toLongLong("n"), 1);
}

QUORVANE_ENGINE_TEST_SUITE(ScanBatchTest);

} // namespace
