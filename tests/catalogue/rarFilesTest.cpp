// rarFiles: the listing rules of the catalogue and single-entry extraction
// confined to the destination folder, on archives of both formats.

#include "catalogue/rarFiles.h"
#include "RarTestWriter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

using Maker = QByteArray (*)(const QList<RarTestEntry>&, const QByteArray&);
QByteArray make4(const QList<RarTestEntry>& e, const QByteArray& c) {
    return makeRar4(e, c);
}
QByteArray make5(const QList<RarTestEntry>& e, const QByteArray& c) {
    return makeRar5(e, c);
}

struct Format {
    const char* label;
    Maker make;
};

class RarFilesTest : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override {
        m_dir = makeTempFolder("qv-rar");
        m_dest = m_dir + "/out";
        ASSERT_TRUE(QDir().mkpath(m_dest));
    }
    QString archive(const QList<RarTestEntry>& entries, const QByteArray& comment = {}) {
        const QString path = m_dir + "/a" + QString::number(m_count++) + ".rar";
        EXPECT_TRUE(writeFile(path, GetParam().make(entries, comment)));
        return path;
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList destEntries() const {
        return QDir(m_dest).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                      QDir::System);
    }
    QString m_dir, m_dest;
    int m_count = 0;
};

QList<RarTestEntry> catalogueSample() {
    return {rarFile("root.txt", QByteArray(200, 'x')),
            rarFolder("docs"),
            rarFile("docs/readme.txt", "read me please"),
            rarFile("docs/locked.txt", "read only").attrs(33),
            rarFile("docs/hidden.txt", "hidden").attrs(0x22),
            rarFile("dup.txt", "first"),
            rarFile("dup.txt", "second copy"),
            rarFile("empty.txt", {}),
            rarFile("after.txt", "after the empty one"),
            rarFile("unix/tool", "elf").unixMode(0100755),
            rarFile("unix/link", "tool").unixMode(0120777)};
}

} // namespace

TEST_P(RarFilesTest, ListsFilesWithAttributeExactly32) {
    const QString path = archive(catalogueSample(), "\n  Backup of 2009  \n");
    const RarFile r = rarFiles().get_FilesList(path);
    EXPECT_EQ(r.ArcName, path);
    EXPECT_EQ(r.Comment, "Backup of 2009");
    QStringList names;
    for (const auto& f : r.CompressedFiles)
        names << f.Name;
    EXPECT_EQ(names, QStringList({"root.txt", "docs/readme.txt", "dup.txt", "empty.txt",
                                  "after.txt", "unix/tool"}));
    ASSERT_EQ(r.CompressedFiles.size(), 6);
    const FileQuorvaneCompressed& root = r.CompressedFiles[0];
    EXPECT_EQ(root.FolderName, "");
    EXPECT_EQ(root.Size, 200.0);
    EXPECT_EQ(root.FileCompressedSize, 200.0);
    EXPECT_EQ(root.FileCompressionRatio, 100);
    EXPECT_EQ(root.Properties, "32");
    EXPECT_EQ(root.ArchiveFileName, path);
    EXPECT_FALSE(root.DateCreated.isNull());
    EXPECT_TRUE(root.DateModified.isNull());
    EXPECT_TRUE(root.DateLastAccessed.isNull());
    EXPECT_EQ(r.CompressedFiles[1].FolderName, "docs/");
    EXPECT_EQ(r.CompressedFiles[2].Size, 5.0); // the first of the two headers
    EXPECT_EQ(r.CompressedFiles[3].FileCompressionRatio, 0);
    EXPECT_EQ(r.CompressedFiles[5].Properties, "32");
}

TEST_P(RarFilesTest, NoCommentGivesEmptyText) {
    const RarFile r = rarFiles().get_FilesList(archive(catalogueSample()));
    EXPECT_EQ(r.Comment, "");
}

TEST_P(RarFilesTest, RepeatedNameIsListedOnceOnlyWhenConsecutive) {
    const RarFile r = rarFiles().get_FilesList(
        archive({rarFile("a", "1"), rarFile("b", "2"), rarFile("a", "3"), rarFile("a", "4")}));
    ASSERT_EQ(r.CompressedFiles.size(), 3);
    EXPECT_EQ(r.CompressedFiles[2].Name, "a");
}

TEST_P(RarFilesTest, ZipBombLikeSizeIsReportedInFull) {
    const RarFile r = rarFiles().get_FilesList(
        archive({rarFile("bomb.iso", "tiny").claim(100ull * 1000 * 1000 * 1000)}));
    ASSERT_EQ(r.CompressedFiles.size(), 1);
    EXPECT_EQ(r.CompressedFiles[0].Size, 1e11);
    EXPECT_EQ(r.CompressedFiles[0].FileCompressionRatio, 0);
}

TEST_P(RarFilesTest, UnreadableArchivesListNothing) {
    const QString garbage = m_dir + "/garbage.rar";
    ASSERT_TRUE(writeFile(garbage, QByteArray(1000, '\x7f')));
    for (const QString& path : {garbage, m_dir + "/missing.rar", m_dir}) {
        const RarFile r = rarFiles().get_FilesList(path);
        EXPECT_EQ(r.ArcName, path);
        EXPECT_TRUE(r.CompressedFiles.isEmpty());
        EXPECT_EQ(r.Comment, "");
    }
}

TEST_P(RarFilesTest, TruncatedArchiveKeepsTheEntriesBeforeTheDamage) {
    const QByteArray whole = GetParam().make(catalogueSample(), {});
    const qsizetype cut = whole.indexOf("after.txt");
    const QString path = m_dir + "/cut.rar";
    ASSERT_TRUE(writeFile(path, whole.left(cut)));
    const RarFile r = rarFiles().get_FilesList(path);
    ASSERT_EQ(r.CompressedFiles.size(), 4);
    EXPECT_EQ(r.CompressedFiles.last().Name, "empty.txt");
}

TEST_P(RarFilesTest, ExtractsTheEntryNamedByItsFullPathIntoTheFolder) {
    const QString path = archive(catalogueSample());
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, "docs\\readme.txt"));
    EXPECT_EQ(read(m_dest + "/readme.txt"), "read me please");
    QFile::remove(m_dest + "/readme.txt");
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, " DOCS/README.TXT "));
    EXPECT_EQ(read(m_dest + "/README.TXT"), "read me please");
    EXPECT_EQ(destEntries(), QStringList{"README.TXT"});
}

TEST_P(RarFilesTest, BareNameOrPrefixExtractsNothing) {
    const QString path = archive({rarFile("docs/readme.txt", "r"), rarFile("a.txt.bak", "backup")});
    EXPECT_FALSE(rarFiles().ExtractRarFiles(path, m_dest, "readme.txt"));
    EXPECT_FALSE(rarFiles().ExtractRarFiles(path, m_dest, "a.txt"));
    EXPECT_TRUE(destEntries().isEmpty());
}

TEST_P(RarFilesTest, HostileNamesStayInsideTheFolder) {
    const QString path =
        archive({rarFile("../../escape.txt", "out"), rarFile("/abs/olute.txt", "abs"),
                 rarFile("C:/win/drive.txt", "drive")});
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, "../../escape.txt"));
    EXPECT_EQ(read(m_dest + "/escape.txt"), "out");
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest + "/all"));
    EXPECT_EQ(read(m_dest + "/all/escape.txt"), "out");
    EXPECT_EQ(read(m_dest + "/all/abs/olute.txt"), "abs");
    EXPECT_EQ(read(m_dest + "/all/win/drive.txt"), "drive");
    EXPECT_FALSE(QFileInfo::exists(m_dir + "/escape.txt"));
    EXPECT_FALSE(QFileInfo::exists(QDir(m_dir).absoluteFilePath("../escape.txt")));
}

TEST_P(RarFilesTest, PlantedLinkIsReplacedNotFollowed) {
    const QString victim = m_dir + "/victim.txt";
    ASSERT_TRUE(writeFile(victim, "precious"));
    ASSERT_TRUE(QFile::link(victim, m_dest + "/readme.txt"));
    ASSERT_TRUE(QDir().mkpath(m_dir + "/elsewhere"));
    ASSERT_TRUE(QFile::link(m_dir + "/elsewhere", m_dest + "/docs"));
    const QString path = archive({rarFile("docs/readme.txt", "new")});
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, "docs/readme.txt"));
    EXPECT_EQ(read(victim), "precious");
    EXPECT_FALSE(QFileInfo(m_dest + "/readme.txt").isSymLink());
    EXPECT_EQ(read(m_dest + "/readme.txt"), "new");
    // Extracting everything must not write through the linked folder either.
    EXPECT_FALSE(rarFiles().ExtractRarFiles(path, m_dest));
    EXPECT_TRUE(QDir(m_dir + "/elsewhere").isEmpty());
}

TEST_P(RarFilesTest, SizeLimitsLeaveNothingBehind) {
    const QString path = archive({rarFile("big.bin", QByteArray(100000, 'b')),
                                  rarFile("liar.bin", QByteArray(5000, 'l')).claim(10)});
    EXPECT_FALSE(rarFiles().ExtractRarFiles(path, m_dest, "big.bin", 99999));
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, "big.bin", 100000));
    EXPECT_EQ(QFileInfo(m_dest + "/big.bin").size(), 100000);
    rarFiles().ExtractRarFiles(path, m_dest, "liar.bin");
    EXPECT_LE(QFileInfo(m_dest + "/liar.bin").size(), 10);
    for (const QString& name : destEntries())
        EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
}

TEST_P(RarFilesTest, EncryptedEntryIsListedButNotExtracted) {
    const QString path = archive({rarFile("secret.txt", QByteArray(32, 's')).secret()});
    EXPECT_EQ(rarFiles().get_FilesList(path).CompressedFiles.size(), 1);
    EXPECT_FALSE(rarFiles().ExtractRarFiles(path, m_dest, "secret.txt"));
    EXPECT_TRUE(destEntries().isEmpty());
}

TEST_P(RarFilesTest, NonAsciiNamesAreListedAndExtractedByTheListedName) {
    const QString wide = QString::fromUtf8("caf\xc3\xa9/\xd0\x96urnal.txt");
    const QString oem = QString::fromUtf8("M\xc3\xbcller.txt");
    const QString path = archive({rarFile(wide, "wide").wide("caf\x82\\?urnal.txt"),
                                  rarFile(oem, "oem").raw("M\x81ller.txt")});
    const RarFile r = rarFiles().get_FilesList(path);
    ASSERT_EQ(r.CompressedFiles.size(), 2);
    EXPECT_EQ(r.CompressedFiles[0].Name, wide);
    EXPECT_EQ(r.CompressedFiles[1].Name, oem);
    for (const auto& f : r.CompressedFiles)
        EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, f.Name)) << f.Name.toStdString();
    EXPECT_EQ(read(m_dest + QString::fromUtf8("/\xd0\x96urnal.txt")), "wide");
    EXPECT_EQ(read(m_dest + "/" + oem), "oem");
}

TEST_P(RarFilesTest, ExtractAllKeepsTheArchivePaths) {
    const QString path = archive(catalogueSample());
    EXPECT_TRUE(rarFiles().ExtractRarFiles(path, m_dest, "  "));
    EXPECT_EQ(read(m_dest + "/docs/readme.txt"), "read me please");
    EXPECT_EQ(read(m_dest + "/unix/tool"), "elf");
    EXPECT_EQ(read(m_dest + "/empty.txt"), "");
}

INSTANTIATE_TEST_SUITE_P(Formats, RarFilesTest,
                         ::testing::Values(Format{"rar4", make4}, Format{"rar5", make5}),
                         [](const auto& info) { return std::string(info.param.label); });
