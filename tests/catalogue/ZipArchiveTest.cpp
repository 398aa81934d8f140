// The ZIP lister and single-entry extraction, on archives made by libzip and
// by hand.

#include "catalogue/ZipArchive.h"
#include "RarTestWriter.h" // writeFile
#include "TestEnvironment.h"
#include "ZipTestWriter.h"
#include "catalogue/ArchiveText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <zip.h>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

// Builds an archive with libzip; each add() returns the entry's index.
class LibzipMaker {
public:
    explicit LibzipMaker(const QString& path) {
        int err = 0;
        m_za = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    }
    ~LibzipMaker() {
        if (m_za)
            zip_discard(m_za);
    }
    zip_int64_t add(const QByteArray& name, const QByteArray& data, zip_flags_t flags = 0) {
        m_keep.append(data);
        zip_source_t* src =
            zip_source_buffer(m_za, m_keep.last().constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t i = zip_file_add(m_za, name.constData(), src, flags);
        if (i < 0)
            zip_source_free(src);
        return i;
    }
    zip_int64_t dir(const QByteArray& name) { return zip_dir_add(m_za, name.constData(), 0); }
    void attrs(zip_int64_t i, quint8 opsys, quint32 external) {
        zip_file_set_external_attributes(m_za, zip_uint64_t(i), 0, opsys, external);
    }
    void mtime(zip_int64_t i, time_t t) { zip_file_set_mtime(m_za, zip_uint64_t(i), t, 0); }
    void comment(zip_int64_t i, const QByteArray& c) {
        zip_file_set_comment(m_za, zip_uint64_t(i), c.constData(), zip_uint16_t(c.size()), 0);
    }
    void store(zip_int64_t i) { zip_set_file_compression(m_za, zip_uint64_t(i), ZIP_CM_STORE, 0); }
    bool encrypt(zip_int64_t i) {
        return zip_file_set_encryption(m_za, zip_uint64_t(i), ZIP_EM_TRAD_PKWARE, "pw") == 0;
    }
    bool close() {
        const bool ok = zip_close(m_za) == 0;
        if (ok)
            m_za = nullptr;
        return ok;
    }

private:
    zip_t* m_za = nullptr;
    QList<QByteArray> m_keep;
};

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = makeTempFolder("qv-zip");
        m_dest = m_dir + "/out";
        ASSERT_TRUE(QDir().mkpath(m_dest));
    }
    QString path(const QString& name) const { return m_dir + "/" + name; }
    static QList<ZipListingEntry> list(const QString& zip, bool* ok = nullptr) {
        QList<ZipListingEntry> out;
        ZipArchive z;
        z.set_ZipFilename(zip);
        const bool listed = z.ListZipContents([&](const ZipListingEntry& e) {
            out.append(e);
            return true;
        });
        if (ok)
            *ok = listed;
        return out;
    }
    bool unzip(const QString& zip, const QString& entry, qint64 limit = ZipArchive::kDefaultLimit) {
        ZipArchive z;
        z.set_ZipFilename(zip);
        z.set_UnzipToFolder(m_dest);
        z.set_FilesToProcess(entry);
        z.set_MaxBytes(limit);
        return z.Unzip();
    }
    QStringList destEntries() const {
        return QDir(m_dest).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    static QByteArray read(const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString m_dir, m_dest;
};

QString sampleZip(const QString& file) {
    LibzipMaker m(file);
    const auto root = m.add("root.txt", QByteArray(10000, 'a'));
    m.attrs(root, ZIP_OPSYS_UNIX, 0100644u << 16);
    m.mtime(root, QDateTime(QDate(2009, 7, 14), QTime(10, 20, 30)).toSecsSinceEpoch());
    m.attrs(m.dir("docs/"), ZIP_OPSYS_UNIX, (040755u << 16) | 0x10);
    const auto readme = m.add("docs/readme.txt", "read me");
    m.attrs(readme, ZIP_OPSYS_DOS, 0x20);
    m.comment(readme, "entry note");
    m.store(readme);
    m.attrs(m.add("docs/locked.txt", "ro"), ZIP_OPSYS_WINDOWS_NTFS, 0x21);
    m.attrs(m.add("link", "root.txt"), ZIP_OPSYS_UNIX, 0120777u << 16);
    m.add("a.txt.bak", "backup");
    EXPECT_TRUE(m.close());
    return file;
}

} // namespace

TEST_F(ZipArchiveTest, ReportsEveryEntryWithItsValues) {
    bool ok = false;
    const auto entries = list(sampleZip(path("s.zip")), &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(entries.size(), 6);
    const ZipListingEntry& root = entries[0];
    EXPECT_EQ(root.FileName, "root.txt");
    EXPECT_EQ(root.Size, 10000.0);
    EXPECT_GT(root.CompressedSize, 0.0);
    EXPECT_LT(root.CompressedSize, 200.0);
    EXPECT_GE(root.CompressionRatio, 98);
    EXPECT_LT(root.CompressionRatio, 100);
    EXPECT_EQ(root.Attributes, 32);
    EXPECT_EQ(root.LastModified.toDateTime(), QDateTime(QDate(2009, 7, 14), QTime(10, 20, 30)));
    EXPECT_TRUE(entries[1].IsFolder);
    EXPECT_EQ(entries[1].FileName, "docs/");
    EXPECT_EQ(entries[1].Attributes, 16);
    EXPECT_EQ(entries[2].Comment, "entry note");
    EXPECT_EQ(entries[2].CompressionRatio, 0); // stored
    EXPECT_EQ(entries[2].Attributes, 32);
    EXPECT_EQ(entries[3].Attributes, 33);
    EXPECT_EQ(entries[4].Attributes, 0); // a link is no plain file
    EXPECT_FALSE(entries[0].IsEncrypted);
}

TEST(ZipAttributes, HostDecidesHowTheWordIsRead) {
    struct Case {
        quint8 host;
        quint32 external;
        bool folder;
        qint32 expected;
    };
    const Case cases[] = {
        {ZIP_OPSYS_DOS, 0x20, false, 32},
        {ZIP_OPSYS_DOS, 0x21, false, 33},
        {ZIP_OPSYS_DOS, 0x00, false, 0},
        {ZIP_OPSYS_WINDOWS_NTFS, 0x2020, false, 0x2020},
        {ZIP_OPSYS_DOS, 0x00, true, 16},
        {ZIP_OPSYS_UNIX, 0100600u << 16 | 0x01, false, 32},
        {ZIP_OPSYS_UNIX, 040700u << 16, false, 16},
        {ZIP_OPSYS_UNIX, 0, false, 0},     // no mode recorded: the DOS half
        {ZIP_OPSYS_UNIX, 0x20, false, 32}, // idem
        {ZIP_OPSYS_OS_X, 0100644u << 16, false, 32},
        {ZIP_OPSYS_UNIX, 0060660u << 16, false, 0}, // block device
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZipArchive::attributeValue(c.host, c.external, c.folder), c.expected)
            << int(c.host) << " " << std::hex << c.external;
}

TEST_F(ZipArchiveTest, NamesWithoutTheUtf8FlagAreCodePage437) {
    const QString file = path("names.zip");
    ASSERT_TRUE(writeFile(file, makeRawZip({rawEntry("M\x81ller \x9c.txt", "1"),
                                            [] {
                                                auto e = rawEntry("\xd0\x96.txt", "2");
                                                e.utf8Flag = true;
                                                return e;
                                            }(),
                                            rawEntry("win\\sub\\file.txt", "3")})));
    const auto entries = list(file);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].FileName, QString::fromUtf8("M\xc3\xbcller \xc2\xa3.txt"));
    EXPECT_EQ(entries[1].FileName, QString::fromUtf8("\xd0\x96.txt"));
    EXPECT_EQ(entries[2].FileName, "win/sub/file.txt");
    EXPECT_TRUE(entries[0].LastModified.toDateTime() ==
                QDateTime(QDate(2025, 4, 11), QTime(13, 27, 2)));
}

TEST_F(ZipArchiveTest, NameFlaggedUtf8ThatIsNotIsAClearError) {
    // libzip refuses such an archive as inconsistent: nothing is listed and
    // the reason is reported.
    const QString file = path("bad.zip");
    RawZipEntry bad = rawEntry("bad\xff.txt", "4");
    bad.utf8Flag = true;
    ASSERT_TRUE(writeFile(file, makeRawZip({rawEntry("good.txt", "1"), bad})));
    ZipArchive z;
    z.set_ZipFilename(file);
    int seen = 0;
    EXPECT_FALSE(z.ListZipContents([&](const ZipListingEntry&) { return ++seen > 0; }));
    EXPECT_EQ(seen, 0);
    EXPECT_FALSE(z.LastError().isEmpty());
}

TEST_F(ZipArchiveTest, Zip64SizesAndZipBombClaims) {
    const QString file = path("z64.zip");
    RawZipEntry big = rawEntry("claims-100GB.bin", QByteArray(64, 'z'));
    big.zip64 = true;
    big.claimedSize = 100ull * 1000 * 1000 * 1000;
    ASSERT_TRUE(writeFile(file, makeRawZip({big})));
    bool ok = false;
    const auto entries = list(file, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].Size, 1e11);
    EXPECT_EQ(entries[0].CompressedSize, 64.0);
    EXPECT_FALSE(unzip(file, "claims-100GB.bin", 1000000));
    EXPECT_TRUE(destEntries().isEmpty());
}

TEST_F(ZipArchiveTest, HighlyCompressedEntryStopsAtTheLimit) {
    const QString file = path("bomb.zip");
    LibzipMaker m(file);
    m.add("zeros.bin", QByteArray(4 * 1024 * 1024, '\0'));
    ASSERT_TRUE(m.close());
    EXPECT_FALSE(unzip(file, "zeros.bin", 1024 * 1024));
    EXPECT_TRUE(destEntries().isEmpty());
    EXPECT_TRUE(unzip(file, "zeros.bin", 4 * 1024 * 1024));
    EXPECT_EQ(QFileInfo(m_dest + "/zeros.bin").size(), 4 * 1024 * 1024);
}

TEST_F(ZipArchiveTest, ExtractsOneEntryByItsFullPathWithoutTheFolders) {
    const QString file = sampleZip(path("s.zip"));
    EXPECT_TRUE(unzip(file, "DOCS\\README.TXT"));
    EXPECT_EQ(read(m_dest + "/README.TXT"), "read me");
    EXPECT_EQ(destEntries(), QStringList{"README.TXT"});
    EXPECT_FALSE(unzip(file, "readme.txt"));
    EXPECT_FALSE(unzip(file, "a.txt"));
    EXPECT_FALSE(unzip(file, "docs/"));
    EXPECT_FALSE(unzip(file, ""));
    EXPECT_EQ(destEntries(), QStringList{"README.TXT"});
}

TEST_F(ZipArchiveTest, HostileNamesStayInsideTheFolder) {
    const QString file = path("evil.zip");
    ASSERT_TRUE(writeFile(file, makeRawZip({rawEntry("../../evil.txt", "x"),
                                            rawEntry("/etc/abs.txt", "y"), rawEntry("..", "z")})));
    EXPECT_EQ(list(file).size(), 3);
    EXPECT_TRUE(unzip(file, "../../evil.txt"));
    EXPECT_TRUE(unzip(file, "/etc/abs.txt"));
    EXPECT_FALSE(unzip(file, ".."));
    EXPECT_EQ(read(m_dest + "/evil.txt"), "x");
    EXPECT_EQ(read(m_dest + "/abs.txt"), "y");
    EXPECT_FALSE(QFileInfo::exists(m_dir + "/evil.txt"));
}

TEST_F(ZipArchiveTest, EncryptedEntryIsListedButNotExtracted) {
    const QString file = path("enc.zip");
    LibzipMaker m(file);
    const auto i = m.add("secret.txt", "top secret");
    if (!m.encrypt(i))
        GTEST_SKIP() << "this libzip cannot write encrypted entries";
    ASSERT_TRUE(m.close());
    const auto entries = list(file);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].IsEncrypted);
    EXPECT_FALSE(unzip(file, "secret.txt"));
    EXPECT_TRUE(destEntries().isEmpty());
}

TEST_F(ZipArchiveTest, DamagedDataLeavesNoFile) {
    const QString file = path("crc.zip");
    QByteArray bytes = makeRawZip({rawEntry("data.txt", "0123456789")});
    bytes[bytes.indexOf("0123456789")] = 'X';
    ASSERT_TRUE(writeFile(file, bytes));
    EXPECT_EQ(list(file).size(), 1);
    EXPECT_FALSE(unzip(file, "data.txt"));
    EXPECT_TRUE(destEntries().isEmpty());
}

TEST_F(ZipArchiveTest, DamagedOrForeignFilesFailCleanly) {
    const QString file = sampleZip(path("s.zip"));
    const QByteArray whole = read(file);
    const QString cut = path("cut.zip");
    for (qsizetype n = 0; n < whole.size(); n += 7) {
        ASSERT_TRUE(writeFile(cut, whole.left(n)));
        bool ok = true;
        const auto entries = list(cut, &ok);
        EXPECT_FALSE(ok && entries.isEmpty() && n > 100) << n;
    }
    bool ok = true;
    ZipArchive z;
    z.set_ZipFilename(path("missing.zip"));
    EXPECT_FALSE(z.ListZipContents([](const ZipListingEntry&) { return true; }));
    EXPECT_FALSE(z.LastError().isEmpty());
    list(m_dir, &ok);
    EXPECT_FALSE(ok);
}

TEST_F(ZipArchiveTest, ArchiveInMemoryListsLikeTheFile) {
    const QByteArray bytes = read(sampleZip(path("s.zip")));
    QStringList names;
    EXPECT_TRUE(ZipArchive::ListZipBuffer(bytes, [&](const ZipListingEntry& e) {
        names << e.FileName;
        return true;
    }));
    EXPECT_EQ(names, QStringList({"root.txt", "docs/", "docs/readme.txt", "docs/locked.txt", "link",
                                  "a.txt.bak"}));
    QString error;
    EXPECT_FALSE(ZipArchive::ListZipBuffer(
        "not a zip", [](const ZipListingEntry&) { return true; }, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ZipArchiveTest, CallbackCanStopTheListing) {
    ZipArchive z;
    z.set_ZipFilename(sampleZip(path("s.zip")));
    int seen = 0;
    EXPECT_TRUE(z.ListZipContents([&](const ZipListingEntry&) { return ++seen < 2; }));
    EXPECT_EQ(seen, 2);
}

TEST_F(ZipArchiveTest, HundredThousandEntries) {
    const QString file = path("many.zip");
    {
        const ArchiveText::StableLocalTimeZone zone; // libzip converts a time per entry
        LibzipMaker m(file);
        for (int i = 0; i < 100000; ++i)
            m.store(m.add(QByteArray("f/") + QByteArray::number(i), QByteArray::number(i)));
        ASSERT_TRUE(m.close());
    }
    qint64 total = 0;
    int count = 0;
    ZipArchive z;
    z.set_ZipFilename(file);
    ASSERT_TRUE(z.ListZipContents([&](const ZipListingEntry& e) {
        if (e.FileName != "f/" + QString::number(count))
            return false;
        total += qint64(e.Size);
        ++count;
        return true;
    }));
    EXPECT_EQ(count, 100000);
    EXPECT_EQ(total, 488890); // digits of 0..99999
}
