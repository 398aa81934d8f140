// The run and the walk on both engines: rows of a fixture tree, append and
// clean rescans, stops, walk switches and the medium's identity.

#include "ScanFixture.h"

#include "foundation/Recordset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace QuorvaneSDK;

namespace QuorvaneTest {
namespace {

class ScanEngineTest : public ScanTest {
protected:
    // root/ a.txt, it's a file.dat, .profile, README, ro.bin (read-only),
    //       sub/ b.bin, sub/nested/ c.txt, empty/
    void makeTree() {
        writeFile(root + "/a.txt", "alpha beta");
        writeFile(root + "/it's a file.dat", QByteArray(1234, 'x'));
        writeFile(root + "/.profile", "p");
        writeFile(root + "/README", "r");
        writeFile(root + "/ro.bin", "12345");
        ::chmod(QFile::encodeName(root + "/ro.bin").constData(), 0444);
        writeFile(root + "/sub/b.bin", QByteArray(70000, 'b'));
        writeFile(root + "/sub/nested/c.txt", "gamma");
        QDir().mkpath(root + "/empty");
    }
    qint32 mediaId() { return engine().media().id; }
};

const QStringList kTreeRows = {
    "/|##nullfile##||0|",
    "/|.profile|profile|1|N",
    "/|README||1|A",
    "/|a.txt|txt|10|A",
    "/|it's a file.dat|dat|1234|A",
    "/|ro.bin|bin|5|N",
    "/empty/|##nullfile##||0|",
    "/sub/|##nullfile##||0|",
    "/sub/|b.bin|bin|70000|A",
    "/sub/nested/|##nullfile##||0|",
    "/sub/nested/|c.txt|txt|5|A",
};

TEST_P(ScanEngineTest, WritesVirtualRowsAndFileRowsOfTheWholeTree) {
    makeTree();
    scan(QStringLiteral("My disk"));
    ASSERT_NE(mediaId(), 0);
    EXPECT_EQ(rows(mediaId()), kTreeRows);
    EXPECT_EQ(engine().filesScanned(), 7);
    EXPECT_FALSE(engine().ScanningInProcess());
    EXPECT_EQ(host().finishedCalls, 1);
    EXPECT_TRUE(host().finishCaption.startsWith("Finish at "));
    EXPECT_EQ(host().progressSeen.last().Label_FileCounter, "Count of processed files: 7");

    const Media m = main().get_Media(QString(), QString(), mediaId(), false);
    EXPECT_EQ(m.Label, "My disk");
    EXPECT_EQ(m.SerialNumber, serial);
    EXPECT_EQ(m.Type, MediaType::FixedHD);
    EXPECT_EQ(m.Group, "Group");
    EXPECT_EQ(m.PartitionType, "ext4");
    EXPECT_EQ(m.EAN13.size(), 13);
}

TEST_P(ScanEngineTest, RunLeavesTheNameIndexCaughtUpWithTheRowsItWrote) {
    if (GetParam() != Engine::SQLite)
        GTEST_SKIP() << "the server keeps its trigram index in step by itself";
    makeTree();
    scan(QStringLiteral("Indexed"));
    auto value = [&](const QString& sql) {
        auto rs = db().get_Recordset(sql, "test");
        return rs && rs->RecordCount() == 1 ? rs->value(0).toLongLong() : -1;
    };
    const qint64 top = value("SELECT max(IDFile) FROM Files");
    ASSERT_GT(top, 0);
    EXPECT_EQ(value("SELECT LastID FROM SearchIndexState WHERE TableName = 'Files'"), top);
}

TEST_P(ScanEngineTest, FileRowCarriesLocalTimesInWholeSecondsAndTypeDescription) {
    writeFile(root + "/dated.txt", "x");
    const QDateTime when(QDate(2010, 1, 17), QTime(13, 5, 9));
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = when.toSecsSinceEpoch();
    times[0].tv_nsec = times[1].tv_nsec = 400000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(root + "/dated.txt").constData(), times, 0),
              0);
    scan();
    const qint32 id = static_cast<qint32>(
        scalar(QStringLiteral("select IDFile from Files where FileName = 'dated.txt'")));
    const FileQuorvane f = main().get_File(id);
    EXPECT_EQ(f.DateModified, Date::fromParts(2010, 1, 17, 13, 5, 9));
    EXPECT_FALSE(f.DateCreated.isNull());
    EXPECT_FALSE(f.Description.isEmpty()); // the MIME comment of .txt
}

TEST_P(ScanEngineTest, RecordsLinksFifosAndOddNamesWithoutFollowingOrOpeningThem) {
    QDir().mkpath(root + "/d");
    ASSERT_EQ(::symlink(QFile::encodeName(root).constData(),
                        QFile::encodeName(root + "/d/loop").constData()),
              0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + "/d/pipe").constData(), 0644), 0);
    const QByteArray odd = QFile::encodeName(root + "/d/") + QByteArray("caf\xe9 \tx.txt");
    {
        FILE* out = std::fopen(odd.constData(), "wb");
        ASSERT_NE(out, nullptr);
        std::fputs("odd words here", out);
        std::fclose(out);
    }
    RecordingStores stores;
    settings.CreateWordIndex = true;
    scan(QString(), false, 0, &stores);
    const QStringList got = rowsWhere(mediaId(), "and FolderName = '/d/'");
    ASSERT_EQ(got.size(), 4) << got.join("\n").toStdString();
    EXPECT_EQ(got[0], "/d/|##nullfile##||0|");
    // Tab removed, the invalid byte replaced; the file was still read.
    EXPECT_EQ(got[1], QString("/d/|caf") + QChar(0xFFFD) + " x.txt|txt|14|A");
    EXPECT_TRUE(got[2].startsWith("/d/|loop||")) << got[2].toStdString();
    EXPECT_TRUE(got[2].endsWith("|N"));
    EXPECT_EQ(got[3], "/d/|pipe||0|N");
    ASSERT_EQ(stores.calls.size(), 1) << stores.kinds().join("\n").toStdString();
    EXPECT_EQ(stores.calls[0].detail, "odd,words,here");
    // The loop was not followed: the tree's rows appear once.
    EXPECT_EQ(scalar("select count(*) from Files where FileName = '##nullfile##'"), 2);
}

TEST_P(ScanEngineTest, AppendRescanReplacesRowsInsteadOfDoublingThem) {
    makeTree();
    scan();
    const qint32 id = mediaId();
    QFile::remove(root + "/a.txt");
    writeFile(root + "/new.txt", "n");
    host().answerYes = false;
    scan(QString(), true, id);
    ASSERT_EQ(host().questions.size(), 1);
    EXPECT_EQ(host().questions[0],
              "The unity FIXTURE is already archived: do you want to clean previous archived "
              "info (Yes) or just apppend newer (No)?");
    QStringList expected = kTreeRows;
    expected.removeAll("/|a.txt|txt|10|A");
    expected.insert(4, "/|new.txt|txt|1|A");
    EXPECT_EQ(rows(id), expected);
    EXPECT_EQ(scalar("select count(*) from Media"), 1);
}

TEST_P(ScanEngineTest, AppendLeavesFoldersThatAreNotReadAgainUntouched) {
    makeTree();
    scan();
    const qint32 id = mediaId();
    QFile::remove(root + "/sub/b.bin");
    settings.ScanSubFolders = false;
    scan(QString(), true, id);
    EXPECT_EQ(rows(id), kTreeRows);
}

TEST_P(ScanEngineTest, CleanRescanStartsAfreshAndSparesOtherMediaWithoutSerial) {
    serial.clear(); // both media carry "[noserialnumber]"
    volumeLabel = "OTHER";
    writeFile(root + "/other.txt", "o");
    scan();
    const qint32 other = mediaId();
    QFile::remove(root + "/other.txt");
    volumeLabel = "MINE";
    makeTree();
    scan();
    const qint32 mine = mediaId();
    ASSERT_NE(mine, other);
    EXPECT_EQ(main().get_Media(QString(), QString(), mine, false).SerialNumber, "[noserialnumber]");
    const QStringList otherRows = rows(other);
    QFile::remove(root + "/a.txt");
    host().answerYes = true;
    scan(QString(), true, mine);
    QStringList expected = kTreeRows;
    expected.removeAll("/|a.txt|txt|10|A");
    EXPECT_EQ(rows(mine), expected);
    EXPECT_EQ(rows(other), otherRows);
    EXPECT_EQ(otherRows.size(), 2);
}

TEST_P(ScanEngineTest, UpdateOfAnUnknownMediumWritesNothing) {
    makeTree();
    scan(QString(), true, 4711);
    EXPECT_EQ(host().popUps, QStringList{"Please select a catalog before updating"});
    EXPECT_EQ(scalar("select count(*) from Files"), 0);
    EXPECT_FALSE(engine().ScanningInProcess());
}

TEST_P(ScanEngineTest, SecondMediumWithTheSameSerialGetsANumberInBrackets) {
    makeTree();
    scan();
    const qint32 first = mediaId();
    scan();
    const qint32 second = mediaId();
    ASSERT_NE(first, second);
    const QString sn = main().get_Media(QString(), QString(), second, false).SerialNumber;
    EXPECT_TRUE(QRegularExpression(R"(^ABCD-1234\[\d{1,4}\]$)").match(sn).hasMatch())
        << sn.toStdString();
    EXPECT_EQ(rows(first), kTreeRows);
    EXPECT_EQ(rows(second), kTreeRows);
}

TEST_P(ScanEngineTest, MediumWithoutSerialAndKnownLabelGetsNumberedIdentity) {
    serial.clear();
    makeTree();
    scan();
    const qint32 first = mediaId();
    scan();
    const qint32 second = mediaId();
    ASSERT_NE(first, second);
    const QString sn = main().get_Media(QString(), QString(), second, false).SerialNumber;
    EXPECT_TRUE(QRegularExpression(R"(^\[noserialnumber\]\[\d{1,4}\]$)").match(sn).hasMatch())
        << sn.toStdString();
    // Each medium holds its own files, none attached to the other.
    EXPECT_EQ(rows(first), kTreeRows);
    EXPECT_EQ(rows(second), kTreeRows);
}

TEST_P(ScanEngineTest, VolumeTypeTextsBecomeMediaTypes) {
    const QList<QPair<QString, MediaType>> table = {
        {"Fixed", MediaType::FixedHD},   {"CD-ROM", MediaType::CDRom},
        {"Network", MediaType::NETWORK}, {"Removable", MediaType::Removable},
        {"RAM Disk", MediaType::Unknow}, {"Unknown", MediaType::Unknow}};
    for (const auto& [text, type] : table) {
        volumeType = text;
        serial = "SN-" + text;
        scan();
        EXPECT_EQ(main().get_Media(QString(), QString(), mediaId(), false).Type, type)
            << text.toStdString();
    }
}

TEST_P(ScanEngineTest, OnlyFoldersWritesVirtualRowsOnly) {
    makeTree();
    settings.ScanOnlyFolders = true;
    scan();
    EXPECT_EQ(rows(mediaId()),
              (QStringList{"/|##nullfile##||0|", "/empty/|##nullfile##||0|",
                           "/sub/|##nullfile##||0|", "/sub/nested/|##nullfile##||0|"}));
}

TEST_P(ScanEngineTest, WithoutSubFoldersOnlyTheStartFolderIsRead) {
    makeTree();
    settings.ScanSubFolders = false;
    scan();
    EXPECT_EQ(rows(mediaId()), kTreeRows.mid(0, 6));
}

TEST_P(ScanEngineTest, StartBelowTheMountPointKeepsItsPathFromThere) {
    makeTree();
    mountPoint = root;
    root = root + "/sub";
    scan();
    EXPECT_EQ(rows(mediaId()),
              (QStringList{"/sub/|##nullfile##||0|", "/sub/|b.bin|bin|70000|A",
                           "/sub/nested/|##nullfile##||0|", "/sub/nested/|c.txt|txt|5|A"}));
}

TEST_P(ScanEngineTest, StopMidTreeKeepsWhatWasWrittenAndEndsTheRun) {
    makeTree();
    host().onProgress = [this](const QuorvaneCataloguing::ScanProgress& p) {
        if (p.files == 2) {
            engine().set_ScanningInProcess(false);
            engine().set_AddingProcess(false);
        }
    };
    scan();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Files where FileName <> '##nullfile##' "
                                    "and IDMedia = %1")
                         .arg(mediaId())),
              2);
    EXPECT_EQ(engine().filesScanned(), 2);
    EXPECT_EQ(host().finishedCalls, 1);
    EXPECT_NE(main().get_Media(QString(), QString(), mediaId(), false).id, 0);
}

TEST_P(ScanEngineTest, StopInAppendModeClearsNoFolderItDoesNotWriteAgain) {
    makeTree();
    scan();
    const qint32 id = mediaId();
    host().onProgress = [this](const QuorvaneCataloguing::ScanProgress& p) {
        if (p.files == 1) {
            engine().set_ScanningInProcess(false);
            engine().set_AddingProcess(false);
        }
    };
    scan(QString(), true, id);
    // The folder of the one file met before the stop was cleared and holds
    // that file again; every other row is kept.
    ASSERT_FALSE(host().progressSeen.isEmpty());
    const QString firstPath = host().progressSeen.first().LabelProgress;
    const QString firstFolder =
        "/" + QDir(root).relativeFilePath(QFileInfo(firstPath).path()) + "/";
    const QString folder = firstFolder == "/./" ? QStringLiteral("/") : firstFolder;
    QStringList expected;
    for (const QString& row : kTreeRows) {
        const QStringList parts = row.split('|');
        if (parts[0] == folder && parts[1] != "##nullfile##" &&
            parts[1] != QFileInfo(firstPath).fileName())
            continue;
        expected.append(row);
    }
    EXPECT_EQ(rows(id), expected) << firstPath.toStdString();
}

} // namespace

QUORVANE_ENGINE_TEST_SUITE(ScanEngineTest);

} // namespace QuorvaneTest
