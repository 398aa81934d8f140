#include "CatalogueFixture.h"

#include "analysis/cDIBSection.h"
#include "catalogue/PreviewStore.h"
#include "foundation/BatchScope.h"
#include "foundation/Helpers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

// A JPEG picture followed by filler bytes of every value up to `size`
// bytes; decoders stop at the end-of-picture marker.
QByteArray pictureBytes(QSize picture, qsizetype size, QColor colour = Qt::red) {
    QImage image(picture, QImage::Format_RGB888);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    for (qsizetype i = 0; bytes.size() < size; ++i)
        bytes.append(static_cast<char>(i % 256));
    return bytes;
}

class PreviewStoreTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(folder.isValid());
        media = addMedia(QStringLiteral("Pictures"));
        file = addFile(media, QStringLiteral("/p/"), QStringLiteral("a.jpg"));
    }

    QString write(const QString& name, const QByteArray& bytes) {
        QFile f(folder.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return f.fileName();
    }

    void postText(qint32 id, const QString& text, qint16 maxKB = 0,
                  Targets target = Targets::File) {
        ItemPreview item;
        item.Post.Preview = Preview::Text;
        (target == Targets::File ? item.Post.IDFile : item.Post.IDFileContained) = id;
        item.Post.TextToParse = text;
        item.Post.TextMaxSizeKB = maxKB;
        EXPECT_EQ(main().handle_Preview(item), ItemPreview{});
    }
    void postImage(qint32 id, const QString& path, Targets target = Targets::File) {
        ItemPreview item;
        item.Post.Preview = Preview::Image;
        (target == Targets::File ? item.Post.IDFile : item.Post.IDFileContained) = id;
        item.Post.ImageFileName = path;
        main().handle_Preview(item);
    }
    QString readText(qint32 id, Targets target = Targets::File) {
        ItemPreview item;
        item.Get.Preview = Preview::Text;
        (target == Targets::File ? item.Get.IDFile : item.Get.IDFileContained) = id;
        const ItemPreview copy = main().handle_Preview(item);
        EXPECT_EQ(copy.Get.Text, item.Get.Text);
        return item.Get.Text;
    }
    QImage readImage(qint32 id, Targets target = Targets::File) {
        ItemPreview item;
        item.Get.Preview = Preview::Image;
        (target == Targets::File ? item.Get.IDFile : item.Get.IDFileContained) = id;
        main().handle_Preview(item);
        return item.Get.Image;
    }
    QByteArray storedBytes(qint32 id, Targets target = Targets::File) {
        const QString sql = target == Targets::File
                                ? QStringLiteral("select PreviewBinary from PreviewFile where "
                                                 "IDFile = %1 and Type = 0")
                                : QStringLiteral("select PreviewBinary from PreviewFileContained "
                                                 "where IDFileContained = %1 and Type = 0");
        const std::optional<Recordset> rs = db().get_Recordset(sql.arg(id), QStringLiteral("t"));
        EXPECT_TRUE(rs && rs->RecordCount() == 1);
        return rs && rs->RecordCount() > 0 ? rs->toBytes(QStringLiteral("PreviewBinary"))
                                           : QByteArray();
    }
    qint64 rowsOf(qint32 id) {
        return scalar(QStringLiteral("select count(*) from PreviewFile where IDFile = %1").arg(id));
    }

    QTemporaryDir folder;
    qint32 media = 0;
    qint32 file = 0;
};

TEST_P(PreviewStoreTest, PictureIsStoredByteForByteAndReadBackAsAnImage) {
    const qint32 entry = addEntry(file, QStringLiteral("inner.jpg"));
    for (const qsizetype size : {qsizetype(4096), qsizetype(5000)}) {
        const QByteArray bytes = pictureBytes(QSize(40, 30), size);
        ASSERT_EQ(bytes.size(), size);
        const QString path = write(QStringLiteral("p%1.jpg").arg(size), bytes);
        for (const Targets target : {Targets::File, Targets::FileContained}) {
            const qint32 id = target == Targets::File ? file : entry;
            postImage(id, path, target);
            EXPECT_EQ(storedBytes(id, target), bytes) << size;
            const QImage image = readImage(id, target);
            EXPECT_EQ(image.size(), QSize(40, 30)) << size;
        }
    }
    // The newer picture replaced the older one of each key.
    EXPECT_EQ(rowsOf(file), 1);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("p4096.jpg"))));
}

TEST_P(PreviewStoreTest, NewerPictureReplacesTheOlderAndKeepsTheText) {
    postText(file, QStringLiteral("caption"));
    postImage(file, write(QStringLiteral("red.jpg"), pictureBytes(QSize(8, 8), 0, Qt::red)));
    postImage(file, write(QStringLiteral("blue.jpg"), pictureBytes(QSize(16, 4), 0, Qt::blue)));
    EXPECT_EQ(readImage(file).size(), QSize(16, 4));
    EXPECT_EQ(readText(file), QStringLiteral("caption"));
    EXPECT_EQ(rowsOf(file), 2);
}

TEST_P(PreviewStoreTest, MissingOrUnreadablePicturesStoreNothing) {
    postImage(file, folder.filePath(QStringLiteral("missing.jpg")));
    postImage(file, folder.path()); // a folder
    EXPECT_EQ(rowsOf(file), 0);
    EXPECT_TRUE(readImage(file).isNull());
    // Bytes that are no picture are stored but read back as no picture.
    postImage(file, write(QStringLiteral("junk.jpg"), QByteArray(300, 'x')));
    EXPECT_EQ(rowsOf(file), 1);
    EXPECT_TRUE(readImage(file).isNull());
}

TEST_P(PreviewStoreTest, TextLimitsAndTheTruncationMarker) {
    const QString letters = QStringLiteral("abcdefghij").repeated(3000); // 30,000 characters
    const struct {
        qint16 maxKB;
        qint16 after;
        QString stored;
    } cases[] = {
        {2, 2, letters.left(2048) + QStringLiteral("\r\n##########TRUNCATED##########")},
        {0, 0, letters},
        {20000, 10, letters.left(10240) + PreviewStore::truncationMarker()},
        {-5, 10, letters.left(10240) + PreviewStore::truncationMarker()},
        {30, 30, letters},
    };
    for (const auto& c : cases) {
        ItemPreview item;
        item.Post.Preview = Preview::Text;
        item.Post.IDFile = file;
        item.Post.TextToParse = letters;
        item.Post.TextMaxSizeKB = c.maxKB;
        main().handle_Preview(item);
        EXPECT_EQ(item.Post.TextMaxSizeKB, c.after) << c.maxKB;
        EXPECT_EQ(readText(file), c.stored) << c.maxKB;
        EXPECT_EQ(rowsOf(file), 1) << c.maxKB;
    }
}

TEST_P(PreviewStoreTest, TextFromAFileIsMarkedWhenCut) {
    const QByteArray body = QByteArray("It's a line of text.\n").repeated(150); // 3150 bytes
    const QString path = write(QStringLiteral("notes.txt"), body);
    ItemPreview item;
    item.Post.Preview = Preview::Text;
    item.Post.IDFile = file;
    item.Post.TextFileName = path;
    item.Post.TextToParse = QStringLiteral("ignored when a file is named");
    item.Post.TextMaxSizeKB = 2;
    main().handle_Preview(item);
    EXPECT_EQ(readText(file),
              QString::fromLatin1(body.left(2048)) + PreviewStore::truncationMarker());
    item.Post.TextMaxSizeKB = 4;
    main().handle_Preview(item);
    EXPECT_EQ(readText(file), QString::fromLatin1(body));
}

TEST_P(PreviewStoreTest, TextWithoutLettersIsNotStoredAndNulsAreRemoved) {
    postText(file, QStringLiteral("12 345, 6.7 -- ; 89"));
    EXPECT_EQ(rowsOf(file), 0);
    postText(file, QStringLiteral("\u00e9\u00e8 123")); // letters, but none of A to Z
    EXPECT_EQ(rowsOf(file), 0);
    postText(file, QStringLiteral("a\u0000b 'quoted'"));
    EXPECT_EQ(readText(file), QStringLiteral("ab 'quoted'"));
}

TEST_P(PreviewStoreTest, TextReplacesEveryOlderPreviewOfTheKey) {
    const qint32 entry = addEntry(file, QStringLiteral("inner.txt"));
    postImage(file, write(QStringLiteral("p.jpg"), pictureBytes(QSize(8, 8), 0)));
    postText(file, QStringLiteral("first"));
    postText(file, QStringLiteral("second"));
    postText(entry, QStringLiteral("inner"), 0, Targets::FileContained);
    EXPECT_EQ(rowsOf(file), 1);
    EXPECT_EQ(readText(file), QStringLiteral("second"));
    EXPECT_TRUE(readImage(file).isNull());
    EXPECT_EQ(readText(entry, Targets::FileContained), QStringLiteral("inner"));
}

TEST_P(PreviewStoreTest, RecordReturnedOnlyWhenSomethingWasRead) {
    ItemPreview item;
    item.Post.Preview = Preview::Text;
    item.Post.IDFile = file;
    item.Post.TextToParse = QStringLiteral("hello");
    item.Get.Preview = Preview::Text;
    item.Get.IDFile = file;
    const ItemPreview copy = main().handle_Preview(item);
    EXPECT_EQ(item.Get.Text, QStringLiteral("hello"));
    EXPECT_EQ(copy, item);

    const qint32 other = addFile(media, QStringLiteral("/p/"), QStringLiteral("b.jpg"));
    EXPECT_EQ(readText(other), QString());
    EXPECT_TRUE(readImage(other).isNull());
}

TEST_P(PreviewStoreTest, FailuresAreSwallowed) {
    dropTable(QStringLiteral("PreviewFile"));
    postText(file, QStringLiteral("text"));
    postImage(file, write(QStringLiteral("p.jpg"), pictureBytes(QSize(8, 8), 0)));
    EXPECT_EQ(readText(file), QString());
    EXPECT_TRUE(readImage(file).isNull());
}

TEST_P(PreviewStoreTest, FailedPreviewInABatchKeepsTheKeyOfTheFileJustAppended) {
    postText(file, QStringLiteral("kept"));
    BatchScope batch(db());
    ASSERT_TRUE(batch.isActive());
    const qint32 appended = addFile(media, QStringLiteral("/p/"), QStringLiteral("c.txt"));
    postText(999999, QStringLiteral("no such file")); // the insert fails alone
    postImage(999999, write(QStringLiteral("p.jpg"), pictureBytes(QSize(8, 8), 0)));
    EXPECT_EQ(main().get_LastIDFile(), appended);
    ASSERT_TRUE(batch.commit());
    EXPECT_EQ(rowsOf(999999), 0);
    EXPECT_EQ(readText(file), QStringLiteral("kept"));
}

TEST_P(PreviewStoreTest, ThumbnailIsWrittenToTheWorkFolder) {
    const struct {
        QSize picture;
        QSize thumbnail;
    } cases[] = {{{100, 50}, {100, 50}}, {{1000, 500}, {250, 125}}, {{1100, 600}, {275, 150}}};
    for (const auto& c : cases) {
        const QString original = write(QStringLiteral("big.jpg"), pictureBytes(c.picture, 0));
        const QByteArray originalBytes = pictureBytes(c.picture, 0);
        const JPG jpg = main().get_JPGDetails(original);
        ASSERT_TRUE(jpg.Original);
        EXPECT_EQ(jpg.Original->Width(), c.picture.width());
        EXPECT_EQ(jpg.OriginalFileName, original);
        ASSERT_TRUE(jpg.ThumbinalDIB);
        EXPECT_EQ(QSize(jpg.ThumbinalDIB->Width(), jpg.ThumbinalDIB->Height()), c.thumbnail);
        EXPECT_EQ(jpg.ThumbinalJPG.size(), c.thumbnail);
        EXPECT_NE(jpg.ThumbinalFileName, original);
        EXPECT_EQ(QFileInfo(jpg.ThumbinalFileName).absolutePath(),
                  QDir(get_AppFolder(AppFolder::Uncompress)).absolutePath());
        EXPECT_EQ(QImage(jpg.ThumbinalFileName).size(), c.thumbnail);
        QFile f(original);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), originalBytes);
        EXPECT_TRUE(QFile::remove(jpg.ThumbinalFileName));
    }
}

TEST_P(PreviewStoreTest, NoThumbnailForWhatIsNoPicture) {
    const QString junk = write(QStringLiteral("junk.jpg"), QByteArray(5000, 'x'));
    EXPECT_EQ(main().get_JPGDetails(junk), JPG{});
    EXPECT_EQ(main().get_JPGDetails(folder.filePath(QStringLiteral("none.jpg"))), JPG{});
    EXPECT_TRUE(QFileInfo::exists(junk));
}

TEST(PreviewPicture, HugeClaimedSizeGivesNoPicture) {
    // A BMP header claiming 30,000 x 30,000 pixels and no pixel data.
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(54, bmp.data() + 10);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(30000, bmp.data() + 18);
    qToLittleEndian<qint32>(30000, bmp.data() + 22);
    qToLittleEndian<quint16>(1, bmp.data() + 26);
    qToLittleEndian<quint16>(24, bmp.data() + 28);
    EXPECT_TRUE(decodePicture(bmp).isNull());
    EXPECT_TRUE(decodePicture(QByteArray()).isNull());
    EXPECT_EQ(decodePicture(pictureBytes(QSize(3, 2), 4096)).size(), QSize(3, 2));
}

QUORVANE_ENGINE_TEST_SUITE(PreviewStoreTest);

} // namespace
