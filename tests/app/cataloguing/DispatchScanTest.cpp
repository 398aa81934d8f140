// Content dispatch of plain files met by the walk: text to words and text
// previews, pictures to image previews, MP3 files to tags, keyed by the
// row just written.

#include "ScanFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "ZipTestWriter.h"

using namespace QuorvaneSDK;

namespace QuorvaneTest {
namespace {

class DispatchScanTest : public ScanTest {
protected:
    qint32 fileId(const QString& name) {
        return static_cast<qint32>(
            scalar(QStringLiteral("select IDFile from Files where FileName = '%1'").arg(name)));
    }
    QStringList callsById() const {
        QStringList out;
        for (const auto& c : stores.calls)
            out.append(c.what + ":" + QString::number(c.id) + ":" + c.detail);
        out.sort();
        return out;
    }
    RecordingStores stores;
};

TEST_P(DispatchScanTest, EachKindOfFileGetsItsAnalysisUnderItsOwnRow) {
    writeFile(root + "/song.mp3", QByteArray("ID3\x03\x00") + QByteArray(200, '\x01'));
    writeFile(root + "/pic.gif", QByteArray("GIF89a") + QByteArray(40, '\x02'));
    writeFile(root + "/doc.txt", "hello there");
    writeFile(root + "/blank.txt", "   ");
    settings.CreateWordIndex = true;
    settings.CreateWordMaxWords = 100;
    settings.ImportPreviewText = true;
    settings.ImportPreviewImage = true;
    scan(QString(), false, 0, &stores);
    const auto id = [this](const char* name) { return QString::number(fileId(name)); };
    QStringList expected = {
        "tags:" + id("song.mp3") + ":song.mp3",
        "preview-image:" + id("pic.gif") + ":" + root + "/pic.gif",
        "words:" + id("doc.txt") + ":hello,there",
        "preview-text:" + id("doc.txt") + ":doc.txt",
        // A text without words gets a preview but no word call.
        "preview-text:" + id("blank.txt") + ":blank.txt",
    };
    expected.sort();
    EXPECT_EQ(callsById(), expected);
    for (const auto& c : stores.calls)
        EXPECT_EQ(c.target, Targets::File);
    EXPECT_TRUE(QFile::exists(root + "/pic.gif")); // the picture itself is never removed
}

TEST_P(DispatchScanTest, ThumbnailMadeAsideIsRemovedAfterItsPreview) {
    writeFile(root + "/pic.gif", QByteArray("GIF89a") + QByteArray(40, '\x02'));
    const QString thumbnail = makeTempFolder() + "/thumb.jpg";
    stores.thumbnailToMake = thumbnail;
    settings.ImportPreviewImage = true;
    scan(QString(), false, 0, &stores);
    ASSERT_EQ(stores.calls.size(), 1);
    EXPECT_EQ(stores.calls[0].detail, thumbnail);
    EXPECT_FALSE(QFile::exists(thumbnail));
    EXPECT_TRUE(QFile::exists(root + "/pic.gif"));
}

TEST_P(DispatchScanTest, MP3TagsAreStoredWhateverTheSettingsSay) {
    writeFile(root + "/song.mp3", QByteArray("ID3\x03\x00") + QByteArray(200, '\x01'));
    writeFile(root + "/doc.txt", "hello there");
    writeFile(root + "/pic.gif", QByteArray("GIF89a") + QByteArray(40, '\x02'));
    scan(QString(), false, 0, &stores);
    EXPECT_EQ(callsById(),
              QStringList{"tags:" + QString::number(fileId("song.mp3")) + ":song.mp3"});
}

TEST_P(DispatchScanTest, CatalogueStoresReceiveWordsPreviewsAndTags) {
    writeFile(root + "/doc.txt", "hello there general");
    writeFile(root + "/song.mp3", QByteArray("ID3\x03\x00") + QByteArray(200, '\x01'));
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(root + "/pic.bmp"));
    ASSERT_TRUE(picture.save(root + "/photo.jpg", "JPEG"));
    const QString wordDocument = QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                                 "/../../TextExtractor/fixtures/simple.doc";
    ASSERT_TRUE(QFile::copy(wordDocument, root + "/letter.doc"));
    writeFile(root + "/music.zip",
              makeRawZip({rawEntry("inner.mp3", QByteArray("ID3\x03\x00") + QByteArray(90, 1))}));
    settings.CreateWordIndex = true;
    settings.CreateWordMaxWords = 100;
    settings.ImportPreviewText = true;
    settings.ImportPreviewMaxSize = 4;
    settings.ImportPreviewImage = true;
    settings.ScanCompressedFiles = true;
    settings.ScanCompressedFilesMaxSize = 100;
    catalogueStores = true;
    scan();
    const auto count = [this](const QString& table, const QString& key, qint32 id) {
        return scalar(
            QStringLiteral("select count(*) from %1 where %2 = %3").arg(table, key).arg(id));
    };
    EXPECT_EQ(count("WordsFileIndex", "IDFile", fileId("doc.txt")), 3);
    EXPECT_EQ(count("PreviewFile", "IDFile", fileId("doc.txt")), 1);
    EXPECT_EQ(count("PreviewFile", "IDFile", fileId("pic.bmp")), 1);
    EXPECT_EQ(count("PreviewFile", "IDFile", fileId("photo.jpg")), 1);
    EXPECT_GT(count("WordsFileIndex", "IDFile", fileId("letter.doc")), 0);
    EXPECT_EQ(count("Mp3TagsFile", "IDFile", fileId("song.mp3")), 1);
    const qint32 inner = static_cast<qint32>(
        scalar("select IDFileContained from FilesContained where FileName = 'inner.mp3'"));
    ASSERT_GT(inner, 0);
    EXPECT_EQ(count("Mp3TagsFileContained", "IDFileContained", inner), 1);
    EXPECT_EQ(scalar("select count(*) from Mp3TagsFile"), 1);
    EXPECT_TRUE(QFile::exists(root + "/pic.bmp"));
}

} // namespace

QUORVANE_ENGINE_TEST_SUITE(DispatchScanTest);

} // namespace QuorvaneTest
