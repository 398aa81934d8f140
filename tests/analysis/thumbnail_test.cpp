// Thumbnails from files, with and without decoding JPEGs at a reduced scale,
// and saving them as JPEG.
#include "ImageFixture.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include "analysis/cDIBSection.h"
#include "analysis/mJPEGLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ImageFixture;
using QuorvaneSDK::cDIBSection;
namespace jpeg = QuorvaneSDK::mJPEGLibrary;

TEST(Thumbnail, ScaledDecodingGivesTheSameSizeAndNearlyTheSamePixels) {
    const QSize sizes[] = {{1100, 600}, {600, 1100}, {2400, 1600}, {2000, 2000},
                           {600, 600},  {251, 240},  {100, 80}};
    for (QSize size : sizes) {
        const QString path = write(encode(gradient(size.width(), size.height()), "jpeg"), "p.jpg");
        cDIBSection full;
        ASSERT_TRUE(jpeg::LoadJPG(full, path));
        const auto expected = full.GetThumbnailDIB(250, 250, true);
        ASSERT_NE(expected, nullptr);
        for (bool scaled : {true, false}) {
            const auto thumb = jpeg::LoadThumbnail(path, 250, 250, true, scaled);
            ASSERT_NE(thumb, nullptr) << size.width() << "x" << size.height();
            EXPECT_EQ(thumb->hDIB().size(), expected->hDIB().size())
                << size.width() << "x" << size.height();
            EXPECT_EQ(thumb->hDIB().format(), QImage::Format_RGB888);
            EXPECT_LT(meanDifference(thumb->hDIB(), expected->hDIB()), 3.0)
                << size.width() << "x" << size.height() << " scaled " << scaled;
        }
    }
}

TEST(Thumbnail, OtherFormatsGoThroughTheGeneralLoader) {
    const QImage picture = gradient(1100, 600);
    for (const auto& [name, data] :
         {std::pair{"p.bmp", encode(picture, "bmp")}, std::pair{"p.gif", gif(picture)}}) {
        const auto thumb = jpeg::LoadThumbnail(write(data, name), 250, 250);
        ASSERT_NE(thumb, nullptr) << name;
        EXPECT_EQ(thumb->hDIB().size(), QSize(275, 150)) << name;
    }
    EXPECT_EQ(jpeg::LoadThumbnail(write(encode(picture, "ico"), "p.ico"), 250, 250), nullptr);
    EXPECT_EQ(jpeg::LoadThumbnail("/nonexistent.jpg", 250, 250), nullptr);
}

TEST(Thumbnail, SaveWritesAJpegOfTheGivenQuality) {
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(gradient(275, 150)));
    const QString folder = QuorvaneTest::makeTempFolder();
    QuorvaneSDK::ErrorObject error;
    ASSERT_TRUE(jpeg::SaveJPG(dib, folder + "/q30.jpg", 30, &error));
    EXPECT_FALSE(error.isError());
    ASSERT_TRUE(jpeg::SaveJPG(dib, folder + "/q95.jpg", 95));
    EXPECT_LT(QFileInfo(folder + "/q30.jpg").size(), QFileInfo(folder + "/q95.jpg").size());

    QImageReader reader(folder + "/q30.jpg");
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage back = reader.read();
    EXPECT_EQ(back.size(), QSize(275, 150));
    EXPECT_LT(meanDifference(back, dib.hDIB()), 6.0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2) << "no temporary files left";
}

TEST(Thumbnail, SavingOverAFileKeepsItsTimesAndPermissions) {
    const QString path = write("old content", "thumb.jpg");
    const QByteArray name = QFile::encodeName(path);
    const struct timespec old[2] = {{1000000000, 0}, {1100000000, 0}}; // 2001 and 2004
    ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), old, 0), 0);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);

    cDIBSection dib;
    ASSERT_TRUE(dib.Create(8, 8));
    ASSERT_TRUE(jpeg::SaveJPG(dib, path, 30));

    struct stat after {};
    ASSERT_EQ(::stat(name.constData(), &after), 0);
    EXPECT_EQ(after.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(after.st_mtim.tv_sec, 1100000000);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    cDIBSection back;
    EXPECT_TRUE(jpeg::LoadJPG(back, path));
    EXPECT_EQ(back.hDIB().size(), QSize(8, 8));
}

TEST(Thumbnail, FailedSavesReportError26001AndKeepTheOldFile) {
    cDIBSection picture;
    ASSERT_TRUE(picture.Create(8, 8));
    const QString readOnly = write("precious", "locked.jpg");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const QString folder = QuorvaneTest::makeTempFolder();

    const struct {
        const char* what;
        const cDIBSection& source;
        QString path;
    } cases[] = {
        {"empty picture", cDIBSection(), folder + "/a.jpg"},
        {"missing folder", picture, folder + "/no/such/folder/a.jpg"},
        {"a folder in the way", picture, folder},
        {"read-only file", picture, readOnly},
    };
    for (const auto& c : cases) {
        QuorvaneSDK::ErrorObject error;
        EXPECT_FALSE(jpeg::SaveJPG(c.source, c.path, 30, &error)) << c.what;
        EXPECT_EQ(error.Number, 26001) << c.what;
        EXPECT_TRUE(error.Description.startsWith("Failed to save to JPG ")) << c.what;
        EXPECT_NE(error.Description, QString("Failed to save to JPG 0")) << c.what;
        EXPECT_TRUE(error.Source.endsWith(".mIntelJPEGLibrary")) << c.what;
        EXPECT_FALSE(jpeg::SaveJPG(c.source, c.path, 30)) << c.what << " without error record";
    }
    QFile kept(readOnly);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("precious"));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
