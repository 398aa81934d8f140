// The shared helper routines, as tables of cases.
#include "foundation/Helpers.h"

#include "../support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace QuorvaneSDK;

TEST(Helpers, CleanSqlText) {
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"  name  ", "name"},
        {"a\tb", "ab"},
        {"line1\r\nline2", "line1line2"},
        {QString("a") + QChar(0) + "b" + QChar(1) + "c", "abc"},
        {QString(QChar(2)) + "x", QString(QChar(2)) + "x"}, // other codes stay
        {"\t padded \n", "padded"},
        {"a \t", "a"},
        {"l'apostrofo", "l'apostrofo"},
        {"Città 日本 🎵", "Città 日本 🎵"},
        {QString(QChar(0x00A0)) + "nbsp", QString(QChar(0x00A0)) + "nbsp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CleanSqlText(c.in), c.out) << c.in.toStdString();
}

TEST(Helpers, ClampDate1900) {
    const double jan1900 = 2.0;
    struct Case {
        double in, out;
    };
    const Case cases[] = {
        {1.0, jan1900},         // 1899-12-31
        {0.0, jan1900},         // the null date is 1899-12-30
        {-700000.0, jan1900},   // year 0100
        {1.9999, jan1900},      // 1899-12-31 23:59
        {2.0, 2.0},             // 1900-01-01 passes unchanged
        {2.5, 2.5},             // 1900-01-01 12:00
        {40195.5, 40195.5},     // 2010-01-17 12:00
        {2958465.5, 2958465.5}, // 9999-12-31 12:00
        {2958466.0, jan1900},   // beyond any date
        {std::numeric_limits<double>::quiet_NaN(), jan1900},
        {std::numeric_limits<double>::infinity(), jan1900},
        {-std::numeric_limits<double>::infinity(), jan1900},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampDate1900(Date(c.in)).toDouble(), c.out) << c.in;
    // In calendar terms.
    EXPECT_EQ(ClampDate1900(Date::fromParts(1899, 12, 31)), Date::fromParts(1900, 1, 1));
    EXPECT_EQ(ClampDate1900(Date::fromParts(1900, 1, 1)), Date::fromParts(1900, 1, 1));
    EXPECT_EQ(ClampDate1900(Date::fromParts(1850, 6, 1, 10, 0, 0)), Date::fromParts(1900, 1, 1));
}

TEST(Helpers, AppFolderByKind) {
    const QString base = qEnvironmentVariable("QUORVANE_HOME");
    struct Case {
        int kind;
        QString sub;
    };
    const Case cases[] = {{0, "Export/"}, {1, "Temp/"},       {2, ""}, {3, ""}, {4, "Help/"},
                          {5, "Sound/"},  {6, "Uncompress/"}, {42, ""}};
    for (const Case& c : cases) {
        const QString folder = get_AppFolder(c.kind);
        EXPECT_EQ(folder, QDir::cleanPath(base) + "/" + c.sub) << c.kind;
        EXPECT_TRUE(folder.endsWith('/'));
        EXPECT_TRUE(QDir(folder).exists()) << "created on first use: " << c.kind;
    }
    EXPECT_EQ(get_AppFolder(AppFolder::Uncompress), get_AppFolder(6));
    // A file inside survives a later call.
    QFile f(get_AppFolder(AppFolder::Temp) + "keep.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    get_AppFolder(AppFolder::Temp);
    EXPECT_TRUE(f.exists());
}

TEST(Helpers, FolderOfPath) {
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {"/media/cd/music/a.mp3", "/media/cd/music/"},
        {"/media/cd/", "/media/cd/"},
        {"file.txt", ""},
        {"", ""},
        {"  /a/b\t/c.txt  ", "/a/b/"},
        {"/", "/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(get_FolderOfPath(c.in), c.out) << c.in.toStdString();
}

TEST(Helpers, TrailingSlash) {
    EXPECT_EQ(add_TrailingSlash(""), "");
    EXPECT_EQ(add_TrailingSlash("/a"), "/a/");
    EXPECT_EQ(add_TrailingSlash("/a/"), "/a/");
    EXPECT_EQ(add_TrailingSlash("/"), "/");
}

TEST(Helpers, FileFolderOperations) {
    const QString dir = QuorvaneTest::makeTempFolder();
    const QString file = dir + "/f.txt";
    EXPECT_FALSE(exists_File(file));
    EXPECT_FALSE(exists_File(dir)) << "a folder is not a file";
    EXPECT_FALSE(exists_File(""));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    EXPECT_TRUE(exists_File(file));
    delete_File(file);
    EXPECT_FALSE(exists_File(file));
    delete_File(file); // a second time: ignored
    delete_File("");

    EXPECT_TRUE(make_Folder(dir + "/new"));
    EXPECT_TRUE(QDir(dir + "/new").exists());
    EXPECT_FALSE(make_Folder(dir + "/new")) << "an existing folder is an error";
    EXPECT_FALSE(make_Folder(dir + "/missing/parent"));
    EXPECT_FALSE(make_Folder(""));
}
