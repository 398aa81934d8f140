// Loading pictures from files: JPEG decoder, general loader, bad files.
#include "ImageFixture.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include "analysis/cDIBSection.h"
#include "analysis/mJPEGLibrary.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using namespace ImageFixture;
using QuorvaneSDK::cDIBSection;
namespace jpeg = QuorvaneSDK::mJPEGLibrary;

TEST(ImageFiles, GeneralLoaderTakesBmpGifAndJpegOnly) {
    const QImage picture = gradient(37, 23);
    const struct {
        const char* name;
        QByteArray data;
        bool loads;
    } cases[] = {
        {"a.bmp", encode(picture, "bmp"), true},
        {"a.gif", gif(picture), true},
        {"a.jpg", encode(picture, "jpeg"), true},
        {"jpeg-named.bmp", encode(picture, "jpeg"), true}, // the content decides
        {"a.ico", encode(gradient(32, 32), "ico"), false},
        {"a.png", encode(picture, "png"), false},
        {"a.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>", false},
        {"a.txt", "just text", false},
        {"empty.bmp", QByteArray(), false},
    };
    for (const auto& c : cases) {
        const QString path = write(c.data, c.name);
        cDIBSection dib;
        EXPECT_EQ(dib.CreateFromFile(path), c.loads) << c.name;
        if (c.loads) {
            EXPECT_EQ(dib.hDIB().size(), QSize(37, 23)) << c.name;
            EXPECT_EQ(dib.hDIB().format(), QImage::Format_RGB888) << c.name;
        }
    }
    cDIBSection dib;
    EXPECT_FALSE(dib.CreateFromFile("/nonexistent/picture.bmp"));
    EXPECT_FALSE(dib.CreateFromFile(QuorvaneTest::makeTempFolder()));
}

TEST(ImageFiles, GifColoursSurviveLoading) {
    QImage picture(6, 3, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    picture.setPixel(5, 2, qRgb(0, 255, 0));
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromFile(write(gif(picture), "colours.gif")));
    EXPECT_EQ(dib.hDIB().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(dib.hDIB().pixel(5, 2), qRgb(0, 255, 0));
}

TEST(ImageFiles, JpegLoaderTakesOnlyJpeg) {
    const QImage picture = gradient(64, 48);
    cDIBSection dib;
    EXPECT_TRUE(jpeg::LoadJPG(dib, write(encode(picture, "jpeg"), "a.jpg")));
    EXPECT_EQ(dib.hDIB().size(), QSize(64, 48));
    EXPECT_LT(meanDifference(dib.hDIB(), picture), 4.0);

    cDIBSection other;
    EXPECT_FALSE(jpeg::LoadJPG(other, write(encode(picture, "bmp"), "a.jpg")));
    EXPECT_FALSE(jpeg::LoadJPG(other, write(gif(picture), "a.jpg")));
    EXPECT_FALSE(jpeg::LoadJPG(other, "/nonexistent/a.jpg"));
    EXPECT_TRUE(other.isEmpty());
}

TEST(ImageFiles, GreyJpegLoadsIntoTheSameThreeChannelLayout) {
    const QImage grey = gradient(50, 30).convertToFormat(QImage::Format_Grayscale8);
    const QByteArray data = encode(grey, "jpeg");
    // One component in the frame header: a true grey-scale file.
    const qsizetype sof = data.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    ASSERT_EQ(data[sof + 9], 1);

    cDIBSection dib;
    ASSERT_TRUE(jpeg::LoadJPG(dib, write(data, "grey.jpg")));
    EXPECT_EQ(dib.hDIB().format(), QImage::Format_RGB888);
    EXPECT_EQ(dib.BytesPerScanLine(), 152);
    const QRgb pixel = dib.hDIB().pixel(25, 15);
    EXPECT_EQ(qRed(pixel), qGreen(pixel));
    EXPECT_EQ(qGreen(pixel), qBlue(pixel));
    EXPECT_NEAR(qRed(pixel), qGray(grey.pixel(25, 15)), 4);
}

TEST(ImageFiles, DamagedJpegsGiveAPictureOrFalseQuickly) {
    const QByteArray good = encode(gradient(300, 200), "jpeg");
    QByteArray middle = good;
    for (qsizetype i = good.size() / 3; i < good.size() * 2 / 3; ++i)
        middle[i] = char(i * 7);
    QByteArray zeroed = good;
    zeroed.replace(good.size() / 2, 200, QByteArray(200, '\0'));
    const QByteArray cases[] = {
        good.left(good.size() / 2), middle, zeroed, good.left(20), QByteArray("\xFF\xD8\xFF", 3),
        QByteArray(5000, '\xFF')};
    for (const QByteArray& data : cases) {
        const QString path = write(data, "damaged.jpg");
        QElapsedTimer timer;
        timer.start();
        cDIBSection dib;
        if (jpeg::LoadJPG(dib, path)) {
            EXPECT_EQ(dib.hDIB().size(), QSize(300, 200));
        }
        const auto thumb = jpeg::LoadThumbnail(path, 250, 250);
        if (thumb) {
            EXPECT_EQ(thumb->hDIB().size(), QSize(300, 200)); // f = round(1.2) = 1
        }
        EXPECT_LT(timer.elapsed(), 5000);
    }
}

TEST(ImageFiles, HeadersClaimingHugeSizesAreRefusedBeforeDecoding) {
    const QByteArray smallJpeg = encode(gradient(64, 64), "jpeg");
    const QByteArray smallBmp = encode(gradient(64, 64), "bmp");
    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"jpeg 30000x30000", withJpegSize(smallJpeg, 30000, 30000)},
        {"jpeg 65535x65535", withJpegSize(smallJpeg, 65535, 65535)},
        {"jpeg 20000x10000", withJpegSize(smallJpeg, 20000, 10000)},
        {"bmp 30000x30000", withBmpSize(smallBmp, 30000, 30000)},
        {"bmp 30000x-30000", withBmpSize(smallBmp, 30000, -30000)},
        {"bmp 2^31-1 wide", withBmpSize(smallBmp, 0x7FFFFFFF, 2)},
    };
    for (const auto& c : cases) {
        const QString path = write(c.data, "huge.jpg");
        QElapsedTimer timer;
        timer.start();
        cDIBSection dib;
        EXPECT_FALSE(jpeg::LoadJPG(dib, path)) << c.what;
        EXPECT_FALSE(dib.CreateFromFile(path)) << c.what;
        EXPECT_EQ(jpeg::LoadThumbnail(path, 250, 250), nullptr) << c.what;
        EXPECT_LT(timer.elapsed(), 2000) << c.what;
    }
}

TEST(ImageFiles, TruncatedUncompressedBmpIsRefused) {
    const QByteArray bmp = encode(gradient(40, 30), "bmp");
    cDIBSection dib;
    EXPECT_TRUE(dib.CreateFromFile(write(bmp, "whole.bmp")));
    EXPECT_FALSE(dib.CreateFromFile(write(bmp.left(bmp.size() - 1), "short.bmp")));
    // A 57-byte file whose header claims 56,360 x 1,054 pixels: refused at once.
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(dib.CreateFromFile(write(withBmpSize(bmp.left(57), 56360, 1054), "lie.bmp")));
    EXPECT_EQ(
        jpeg::LoadThumbnail(write(withBmpSize(bmp.left(57), 56360, 1054), "lie.bmp"), 250, 250),
        nullptr);
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST(ImageFiles, JpegFarTooShortForItsClaimedSizeIsRefused) {
    // 8000 x 8000 is within the cap, but a few hundred bytes cannot hold it.
    // Both loaders refuse it.
    const QByteArray small = encode(gradient(64, 64), "jpeg");
    const QString path = write(withJpegSize(small, 8000, 8000), "short.jpg");
    QElapsedTimer timer;
    timer.start();
    cDIBSection dib;
    EXPECT_FALSE(jpeg::LoadJPG(dib, path));
    EXPECT_FALSE(dib.CreateFromFile(path));
    EXPECT_EQ(jpeg::LoadThumbnail(path, 250, 250), nullptr);
    EXPECT_LT(timer.elapsed(), 1000);
    // A truncated photo that still holds a real part of its data loads.
    const QByteArray photo = encode(gradient(800, 600), "jpeg");
    EXPECT_TRUE(jpeg::LoadJPG(dib, write(photo.left(photo.size() / 2), "half.jpg")));
    EXPECT_EQ(dib.hDIB().size(), QSize(800, 600));
}

TEST(ImageFiles, LyingJpegHeaderWithinTheCapDoesNotBlowUp) {
    // 9000 x 9000 is refused for a full decode but taken at 1/8 for a thumbnail;
    // the data behind the header is that of a 64 x 64 picture.
    const QString path = write(withJpegSize(encode(gradient(64, 64), "jpeg"), 9000, 9000), "l.jpg");
    cDIBSection dib;
    EXPECT_FALSE(jpeg::LoadJPG(dib, path));
    const auto thumb = jpeg::LoadThumbnail(path, 250, 250);
    if (thumb) {
        EXPECT_EQ(thumb->hDIB().size(), QSize(250, 250));
    }
}
