// Archives met by the walk: ZIP and RAR entries stored as contained files,
// small entries extracted into the run's own work folder and analysed, the
// stop honoured inside an archive.

#include "RarTestWriter.h"
#include "ScanFixture.h"
#include "ZipTestWriter.h"

#include "foundation/Helpers.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace QuorvaneSDK;

namespace QuorvaneTest {
namespace {

class ArchiveScanTest : public ScanTest {
protected:
    void SetUp() override {
        ScanTest::SetUp();
        settings.ScanCompressedFiles = true;
        settings.ScanCompressedFilesMaxSize = 1; // 1,000 bytes
        settings.CreateWordIndex = true;
    }
    qint32 mediaId() { return engine().media().id; }
    qint32 fileId(const QString& name) {
        return static_cast<qint32>(
            scalar(QStringLiteral("select IDFile from Files where FileName = '%1'").arg(name)));
    }
    qint32 containedId(const QString& name) {
        return static_cast<qint32>(scalar(
            QStringLiteral("select IDFileContained from FilesContained where FileName = '%1'")
                .arg(name)));
    }
};

QByteArray sampleZip() {
    RawZipEntry folder = rawEntry("docs/", "");
    folder.external = 0x10;
    RawZipEntry note = rawEntry("docs/note.txt", "zip words inside");
    note.comment = "a comment";
    RawZipEntry big = rawEntry("big.txt", QByteArray(1001, 'a'));
    RawZipEntry exact = rawEntry("exact.txt", QByteArray(1000, 'e'));
    RawZipEntry both = rawEntry("both.dat", "x");
    both.external = 0x21; // read-only and archive
    return makeRawZip({folder, note, big, exact, both});
}

TEST_P(ArchiveScanTest, ZipEntriesAreStoredAndSmallOnesAnalysedAsContainedFiles) {
    writeFile(root + "/pack.zip", sampleZip());
    RecordingStores stores;
    scan(QString(), false, 0, &stores);
    EXPECT_EQ(containedRows(mediaId()),
              (QStringList{"docs/|note.txt|txt|16|A|a comment|0", "|big.txt|txt|1001|A||0",
                           "|exact.txt|txt|1000|A||0", "|both.dat|dat|1|||0"}));
    EXPECT_EQ(engine().archivedFilesScanned(), 4);
    // Up to 1,000 bytes the entry is extracted and its words are stored
    // under the contained file; 1,001 bytes is not extracted.
    QStringList words;
    for (const auto& call : stores.calls)
        if (call.what == "words")
            words.append(QString::number(call.id) + ":" + call.detail.left(20));
    EXPECT_EQ(words, (QStringList{QString::number(containedId("note.txt")) + ":zip,words,inside",
                                  QString::number(containedId("exact.txt")) + ":" +
                                      QString(1000, 'e').left(20),
                                  QString::number(containedId("both.dat")) + ":x"}));
    for (const auto& call : stores.calls) {
        if (call.what == "words") {
            EXPECT_EQ(call.target, Targets::FileContained);
        }
    }
    // Every entry hangs on the archive's own row.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from FilesContained where IDFile = %1")
                         .arg(fileId("pack.zip"))),
              4);
}

TEST_P(ArchiveScanTest, RarEntriesCommentWordsAndEntriesInFolders) {
    const QByteArray rar = makeRar4({rarFile("top.txt", "top level words"), rarFolder("inner"),
                                     rarFile("inner/deep.txt", "deep rar words")},
                                    "comment words");
    writeFile(root + "/pack.rar", rar);
    RecordingStores stores;
    settings.ImportPreviewText = true;
    settings.ImportPreviewMaxSize = 4;
    scan(QString(), false, 0, &stores);
    const QStringList got = containedRows(mediaId());
    ASSERT_EQ(got.size(), 2) << got.join("\n").toStdString();
    EXPECT_TRUE(got[0].startsWith("|top.txt|txt|15|A|")) << got[0].toStdString();
    EXPECT_TRUE(got[0].endsWith("|1")) << got[0].toStdString();
    EXPECT_TRUE(got[1].startsWith("inner/|deep.txt|txt|14|A|")) << got[1].toStdString();
    const qint32 archive = fileId("pack.rar");
    QStringList seen;
    for (const auto& call : stores.calls)
        seen.append(call.what + ":" + QString::number(call.id) + ":" + call.detail);
    EXPECT_TRUE(seen.contains("words:" + QString::number(archive) + ":comment,words"))
        << seen.join("\n").toStdString();
    EXPECT_TRUE(seen.contains("preview-text:" + QString::number(archive) + ":comment words"))
        << seen.join("\n").toStdString();
    EXPECT_TRUE(
        seen.contains("words:" + QString::number(containedId("top.txt")) + ":top,level,words"))
        << seen.join("\n").toStdString();
    // An entry inside a folder of the archive is extracted by its whole path.
    EXPECT_TRUE(
        seen.contains("words:" + QString::number(containedId("deep.txt")) + ":deep,rar,words"));
}

TEST_P(ArchiveScanTest, MP3InsideAnArchiveGetsItsTagsUnderTheContainedFile) {
    writeFile(root + "/music.zip",
              makeRawZip({rawEntry("song.mp3", QByteArray("ID3\x03\x00") + QByteArray(100, 1))}));
    RecordingStores stores;
    scan(QString(), false, 0, &stores);
    ASSERT_EQ(stores.calls.size(), 1);
    EXPECT_EQ(stores.calls[0].what, "tags");
    EXPECT_EQ(stores.calls[0].target, Targets::FileContained);
    EXPECT_EQ(stores.calls[0].id, containedId("song.mp3"));
    EXPECT_NE(stores.calls[0].id, 0);
}

TEST_P(ArchiveScanTest, ArchiveWithAnOddNameIsReadThroughItsRealBytes) {
    const QByteArray zip = makeRawZip(
        {rawEntry("one.txt", "first entry words"), rawEntry("two.txt", "second entry words")});
    const QByteArray path = QFile::encodeName(root) + QByteArray("/arch\xe9.zip");
    FILE* out = std::fopen(path.constData(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(zip.constData(), 1, size_t(zip.size()), out);
    std::fclose(out);
    RecordingStores stores;
    scan(QString(), false, 0, &stores);
    EXPECT_EQ(containedRows(mediaId()).size(), 2);
    QStringList words;
    for (const auto& call : stores.calls)
        words.append(call.detail);
    EXPECT_EQ(words, (QStringList{"first,entry,words", "second,entry,words"}));
}

TEST_P(ArchiveScanTest, WithoutArchiveScanningAnArchiveIsAPlainRow) {
    writeFile(root + "/pack.zip", sampleZip());
    settings.ScanCompressedFiles = false;
    scan();
    EXPECT_TRUE(containedRows(mediaId()).isEmpty());
    EXPECT_EQ(rows(mediaId()).size(), 2);
}

TEST_P(ArchiveScanTest, StopInsideAnArchiveEndsItsEntriesAndTheWalk) {
    QList<RawZipEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.append(rawEntry(QByteArray("e") + QByteArray::number(i) + ".bin", "x"));
    writeFile(root + "/a/many.zip", makeRawZip(entries));
    writeFile(root + "/b/after1.txt", "1");
    writeFile(root + "/b/after2.txt", "2");
    int filesAtStop = -1;
    host().onProgress = [&](const QuorvaneCataloguing::ScanProgress& p) {
        if (p.archivedFiles == 5 && filesAtStop < 0) {
            filesAtStop = p.files;
            engine().set_ScanningInProcess(false);
            engine().set_AddingProcess(false);
        }
    };
    scan();
    EXPECT_EQ(containedRows(mediaId()).size(), 5);
    // No file entry is processed after the stop, whatever the listing order.
    ASSERT_GE(filesAtStop, 1);
    EXPECT_EQ(engine().filesScanned(), filesAtStop);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Files where FileName <> '##nullfile##' "
                                    "and IDMedia = %1")
                         .arg(mediaId())),
              filesAtStop);
}

TEST_P(ArchiveScanTest, EachRunWorksInItsOwnFolderAndRemovesIt) {
    writeFile(root + "/pack.zip", sampleZip());
    const QString work = get_AppFolder(AppFolder::Uncompress);
    writeFile(work + "/note.txt", "stale words"); // never to be taken for an entry
    RecordingStores stores;
    scan(QString(), false, 0, &stores);
    for (const auto& call : stores.calls)
        EXPECT_NE(call.detail, "stale,words");
    EXPECT_EQ(QDir(work).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    EXPECT_TRUE(QFile::exists(work + "/note.txt"));
}

} // namespace

QUORVANE_ENGINE_TEST_SUITE(ArchiveScanTest);

} // namespace QuorvaneTest
