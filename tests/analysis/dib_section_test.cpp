// cDIBSection: 24-bit rows, loading by format, thumbnails and painting.
#include "ImageFixture.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include "analysis/cDIBSection.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace ImageFixture;
using QuorvaneSDK::cDIBSection;
using QuorvaneSDK::UseAPIPaintPicture;

TEST(DIBSection, RowsAreThreeBytesAPixelPaddedToFourBytes) {
    const struct {
        int width;
        int bytesPerLine;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}, {100, 300}, {101, 304}};
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(c.width, 3));
        EXPECT_EQ(dib.Width(), c.width);
        EXPECT_EQ(dib.Height(), 3);
        EXPECT_EQ(dib.ColorBit(), 24);
        EXPECT_EQ(dib.BytesPerScanLine(), c.bytesPerLine) << c.width;
        EXPECT_EQ(dib.hDIB().bytesPerLine(), c.bytesPerLine) << c.width;
        EXPECT_EQ(dib.DataSize(), c.bytesPerLine * 3);
        ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
        EXPECT_EQ(dib.hDIB().pixel(c.width - 1, 2), qRgb(0, 0, 0)) << "a new picture is black";
        // Pixel bytes run red, green, blue.
        dib.DIBSectionBitsPtr()[0] = char(200);
        EXPECT_EQ(qRed(dib.hDIB().pixel(0, 0)), 200);
    }
}

TEST(DIBSection, CreateRefusesEmptyNegativeAndHugeSizes) {
    cDIBSection dib;
    for (QSize size :
         {QSize(0, 5), QSize(5, 0), QSize(-1, 5), QSize(30000, 30000), QSize(100000, 1000)}) {
        EXPECT_FALSE(dib.Create(size.width(), size.height()))
            << size.width() << "x" << size.height();
        EXPECT_TRUE(dib.isEmpty());
        EXPECT_EQ(dib.BytesPerScanLine(), 0);
        EXPECT_EQ(dib.DataSize(), 0);
        EXPECT_EQ(dib.hDC(), nullptr);
        EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    }
    QImage image;
    EXPECT_FALSE(dib.CreateDIB(30000, 30000, image));
    EXPECT_TRUE(image.isNull());
}

TEST(DIBSection, ClearUpEmptiesAndCreateReplaces) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(20, 10));
    ASSERT_TRUE(dib.Create(7, 9));
    EXPECT_EQ(dib.hDIB().size(), QSize(7, 9));
    EXPECT_NE(dib.hDC(), nullptr);
    dib.ClearUp();
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.hDC(), nullptr);
    EXPECT_EQ(dib.GetThumbnailDIB(250, 250), nullptr);
}

TEST(DIBSection, ThumbnailSizeUsesOneWholeNumberFactor) {
    const struct {
        QSize image;
        QSize box;
        bool autoFit;
        QSize thumb;
    } cases[] = {
        {{100, 80}, {250, 250}, true, {100, 80}}, // small pictures are not enlarged
        {{250, 250}, {250, 250}, true, {250, 250}},
        {{1100, 600}, {250, 250}, true, {275, 150}}, // f = 4, a little over the box
        {{600, 1100}, {250, 250}, true, {150, 275}},
        {{600, 600}, {250, 250}, true, {300, 300}}, // 2.4 rounds to 2
        {{1000, 600}, {250, 250}, true, {250, 150}},
        {{1000, 500}, {250, 250}, true, {250, 125}},
        {{4000, 3000}, {250, 250}, true, {250, 188}},
        {{625, 100}, {250, 250}, true, {312, 50}},  // 2.5 -> 2 and 312.5 -> 312: ties to even
        {{875, 100}, {250, 250}, true, {219, 25}},  // 3.5 -> 4 and 218.75 -> 219
        {{350, 100}, {250, 250}, true, {350, 100}}, // 1.4 -> 1
        {{2000, 1}, {250, 250}, true, {250, 1}},    // never narrower than one pixel
        {{100, 60}, {250, 50}, true, {100, 60}},    // f rounds to 0: taken as 1
        {{100, 600}, {50, 250}, true, {50, 300}},   // width decides after height
        {{1100, 600}, {250, 250}, false, {250, 250}},
        {{10, 10}, {40, 30}, false, {40, 30}}, // without fitting it may enlarge
        {{0, 0}, {250, 250}, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cDIBSection::ThumbnailSize(c.image, c.box.width(), c.box.height(), c.autoFit),
                  c.thumb)
            << c.image.width() << "x" << c.image.height();
}

TEST(DIBSection, ThumbnailAveragesPixels) {
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(checkerboard(1000, 600)));
    const auto thumb = dib.GetThumbnailDIB(250, 250);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(thumb->hDIB().size(), QSize(250, 150));
    EXPECT_EQ(thumb->hDIB().format(), QImage::Format_RGB888);
    // Averaging black and white squares gives grey; picking pixels would not.
    for (QPoint at : {QPoint(10, 10), QPoint(125, 75), QPoint(240, 140)}) {
        const int grey = qGray(thumb->hDIB().pixel(at));
        EXPECT_GT(grey, 100);
        EXPECT_LT(grey, 155);
    }
    const auto exact = dib.GetThumbnailDIB(40, 30, false);
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->hDIB().size(), QSize(40, 30));
}

TEST(DIBSection, CreateFromPictureCopiesThePartAsked) {
    const QImage source = gradient(10, 10);
    cDIBSection whole;
    ASSERT_TRUE(whole.CreateFromPicture(source));
    EXPECT_EQ(whole.hDIB().size(), QSize(10, 10));
    EXPECT_EQ(whole.hDIB().pixel(9, 9), source.pixel(9, 9));

    cDIBSection part;
    ASSERT_TRUE(part.CreateFromHandle(source, 2, 3, 4, 5));
    EXPECT_EQ(part.hDIB().size(), QSize(4, 5));
    EXPECT_EQ(part.hDIB().pixel(0, 0), source.pixel(2, 3));
    EXPECT_EQ(part.hDIB().pixel(3, 4), source.pixel(5, 7));

    // A negative size means the picture's own: what lies outside stays black.
    cDIBSection shifted;
    ASSERT_TRUE(shifted.CreateFromPicture(source, 6, 0));
    EXPECT_EQ(shifted.hDIB().size(), QSize(10, 10));
    EXPECT_EQ(shifted.hDIB().pixel(3, 0), source.pixel(9, 0));
    EXPECT_EQ(shifted.hDIB().pixel(4, 0), qRgb(0, 0, 0));

    EXPECT_FALSE(part.CreateFromPicture(QImage()));
    EXPECT_FALSE(part.CreateFromPicture(source, 0, 0, 40000, 40000));
}

TEST(DIBSection, TransparentPicturesLieOnBlack) {
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(255, 255, 255, 0));
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(clear));
    EXPECT_EQ(dib.hDIB().pixel(1, 1), qRgb(0, 0, 0));
}

TEST(DIBSection, PaintPictureCopiesOrStretchesOnly) {
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(gradient(40, 20)));
    const QImage source = dib.hDIB();

    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    EXPECT_TRUE(dib.PaintPicture(&painter, UseAPIPaintPicture::APIBitBlt, 5, 6, 10, 10, 20, 4));
    EXPECT_EQ(target.pixel(5, 6), source.pixel(20, 4));
    EXPECT_EQ(target.pixel(14, 15), source.pixel(29, 13));
    EXPECT_EQ(target.pixel(15, 16), qRgb(255, 255, 255));

    // Stretch the left half (20 x 20) onto 10 x 10: averaged.
    EXPECT_TRUE(dib.PaintPicture(&painter, UseAPIPaintPicture::APIStretchBlt, 50, 50, 10, 10, 0, 0,
                                 20, 20));
    EXPECT_NEAR(qRed(target.pixel(50, 50)), qRed(source.pixel(1, 1)), 12);
    EXPECT_EQ(target.pixel(60, 60), qRgb(255, 255, 255));

    const QImage before = target.copy();
    for (int mode : {1, 2, 4, -1})
        EXPECT_FALSE(dib.PaintPicture(&painter, static_cast<UseAPIPaintPicture>(mode)));
    EXPECT_FALSE(dib.PaintPicture(&painter, UseAPIPaintPicture::APIBitBlt, 0, 0, -1, -1, 0, 0, -1,
                                  -1, 0x12345678));
    painter.end();
    EXPECT_EQ(target, before) << "nothing painted";
    EXPECT_FALSE(dib.PaintPicture(nullptr));
    EXPECT_FALSE(cDIBSection().PaintPicture(&painter));
}

TEST(DIBSection, PaintPictureDefaultsToTheWholePicture) {
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(gradient(30, 20)));
    QImage target(30, 20, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    ASSERT_TRUE(dib.PaintPicture(&painter));
    painter.end();
    EXPECT_EQ(target.convertToFormat(QImage::Format_RGB888), dib.hDIB());
}

TEST(DIBSection, LoadPictureBltCopiesIntoThisPicture) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(20, 20));
    const QImage source = gradient(50, 50);
    EXPECT_TRUE(dib.LoadPictureBlt(source, 2, 3, 5, 5, 10, 11));
    EXPECT_EQ(dib.hDIB().pixel(2, 3), source.pixel(10, 11));
    EXPECT_EQ(dib.hDIB().pixel(6, 7), source.pixel(14, 15));
    EXPECT_EQ(dib.hDIB().pixel(7, 8), qRgb(0, 0, 0));
    EXPECT_TRUE(dib.LoadPictureBlt(source));
    EXPECT_EQ(dib.hDIB().pixel(19, 19), source.pixel(19, 19));
    EXPECT_FALSE(cDIBSection().LoadPictureBlt(source));
    EXPECT_FALSE(dib.LoadPictureBlt(QImage()));
}
