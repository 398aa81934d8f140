// GefFileInfo, the properties of the control, NumberOfFiles and File_FindFile.

#include "NX_DiskFileInfo_.h"
#include "PeTestWriter.h"
#include "PeVersionInfo.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace NX_DiskFileInfo;
using namespace QuorvaneTest;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

class FileInfoTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = makeTempFolder("qv-dfi"); }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir + "/" + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    QString m_dir;
};

} // namespace

TEST(DiskFileInfoProperties, EveryPropertyStartsAtItsDefault) {
    const NX_DiskFileInfo_ c;
    const QVariantMap p = c.WriteProperties();
    EXPECT_EQ(p.size(), 36);
    for (const char* name :
         {"File_Name", "Unity_SerialNumber", "Unity_Label", "Unity_PartitionType"})
        EXPECT_EQ(p.value(name).toString(), "") << name;
    for (const char* name :
         {"File_Directory", "File_FileType", "File_CompanyName", "File_FileDescription",
          "File_FileVersion", "File_InternalName", "File_LegalCopyright", "File_OriginalFileName",
          "File_ProductName", "File_ProductVersion"})
        EXPECT_EQ(p.value(name).toString(), "0") << name;
    for (const char* name :
         {"Unity_FreeSpace", "Unity_Size", "Unity_UsedSpace", "Unity_FreeSpacePercentual",
          "Unity_UsedSpacePercentual", "File_VerMajor", "File_VerMinor", "File_VerRevision",
          "File_FileSize", "File_CreationDate", "File_LastModifyTime", "File_LastAccessTime",
          "Unity_Type"})
        EXPECT_EQ(p.value(name).toDouble(), 0.0) << name;
    for (const char* name :
         {"Unity_IsNetwork", "FILE_ATTRIBUTE_DIRECTORY", "FILE_ATTRIBUTE_HIDDEN",
          "FILE_ATTRIBUTE_NORMAL", "FILE_ATTRIBUTE_READONLY", "FILE_ATTRIBUTE_SYSTEM",
          "FILE_ATTRIBUTE_TEMPORARY", "FILE_ATTRIBUTE_ARCHIVE", "FILE_ATTRIBUTE_COMPRESSED"}) {
        ASSERT_TRUE(p.contains(name)) << name;
        EXPECT_FALSE(p.value(name).toBool()) << name;
    }
}

TEST(DiskFileInfoProperties, SavedPropertiesComeBackAndMissingOnesTakeDefaults) {
    NX_DiskFileInfo_ a;
    a.set_Unity_Label("DATA");
    a.set_Unity_IsNetwork(true);
    a.set_File_VerMajor(7);
    a.set_File_CreationDate(QuorvaneSDK::Date(40000.5));
    a.set_File_ProductName("Thing");
    QVariantMap saved = a.WriteProperties();
    saved.remove("File_ProductName");
    NX_DiskFileInfo_ b;
    b.set_File_ProductName("stale");
    b.ReadProperties(saved);
    EXPECT_EQ(b.Unity_Label(), "DATA");
    EXPECT_TRUE(b.Unity_IsNetwork());
    EXPECT_EQ(b.File_VerMajor(), 7);
    EXPECT_EQ(b.File_CreationDate().toDouble(), 40000.5);
    EXPECT_EQ(b.File_ProductName(), "0");
}

TEST(DiskFileInfoProperties, GetUnityInfoLeavesTheStoredUnityValues) {
    NX_DiskFileInfo_ c;
    c.set_Unity_Label("kept");
    const MediaInfo m = c.GetUnityInfo("");
    EXPECT_EQ(m.UnityType, "");
    EXPECT_EQ(m.UnitySize, 0.0);
    EXPECT_EQ(c.Unity_Label(), "kept");
}

TEST_F(FileInfoTest, VersionResourceOfAWindowsProgram) {
    PeVersionLayout layout;
    layout.productVersion = {6, 2, 9200, 16384};
    layout.strings.append({"LegalCopyright", QString(300, 'c')});
    const QString exe = file("bin/tool.exe", makePe(layout));
    NX_DiskFileInfo_ c;
    c.GefFileInfo(exe);
    EXPECT_EQ(c.File_Name(), exe);
    EXPECT_EQ(c.File_FileType(), "Application");
    EXPECT_EQ(c.File_VerMajor(), 6);       // product version, major
    EXPECT_EQ(c.File_VerMinor(), 2);       // product version, minor
    EXPECT_EQ(c.File_VerRevision(), 2180); // file version, last number
    EXPECT_EQ(c.File_CompanyName(), "Quorvane Test Ltd");
    EXPECT_EQ(c.File_FileDescription(), "Test program");
    EXPECT_EQ(c.File_FileVersion(), "5.1.2600.2180");
    EXPECT_EQ(c.File_ProductName(), "Quorvane");
    EXPECT_EQ(c.File_LegalCopyright().size(), 255);
    EXPECT_EQ(c.File_InternalName(), ""); // absent names give empty text
    EXPECT_EQ(c.File_Directory(), m_dir + "/bin/");
    EXPECT_EQ(c.File_FileSize(), QFileInfo(exe).size());
    EXPECT_TRUE(c.FILE_ATTRIBUTE_ARCHIVE());
    EXPECT_FALSE(c.File_LastModifyTime().isNull());
}

TEST_F(FileInfoTest, FileKindsAndSignedVersionParts) {
    struct Case {
        quint32 type;
        const char* text;
    };
    const Case cases[] = {{1, "Application"}, {2, "DLL Library"}, {3, "Driver"},
                          {4, "Font"},        {5, "VXD File"},    {7, "Static Library"},
                          {0, "Unknown"},     {6, "Unknown"}};
    for (const Case& k : cases) {
        PeVersionLayout layout;
        layout.fileType = k.type;
        layout.productVersion = {0xFFFF, 0x8000, 0, 0};
        layout.fileVersion = {1, 2, 3, 0xFFFE};
        NX_DiskFileInfo_ c;
        c.GefFileInfo(file("k.dll", makePe(layout)));
        EXPECT_EQ(c.File_FileType(), k.text) << k.type;
        EXPECT_EQ(c.File_VerMajor(), -1);
        EXPECT_EQ(c.File_VerMinor(), -32768);
        EXPECT_EQ(c.File_VerRevision(), -2);
    }
}

TEST_F(FileInfoTest, StringsNeedTheFirstTranslation) {
    PeVersionLayout noTable;
    noTable.translation = false;
    PeVersionLayout otherKey;
    otherKey.stringTableKey = "040704B0";
    PeVersionLayout lowerKey;
    lowerKey.stringTableKey = "040904b0";
    for (const auto& [layout, company] : {std::pair{noTable, ""}, std::pair{otherKey, ""},
                                          std::pair{lowerKey, "Quorvane Test Ltd"}}) {
        NX_DiskFileInfo_ c;
        c.GefFileInfo(file("s.exe", makePe(layout)));
        EXPECT_EQ(c.File_CompanyName(), company);
        EXPECT_EQ(c.File_VerRevision(), 2180); // the fixed part is read regardless
    }
}

TEST_F(FileInfoTest, TextFileIsUnknownWithEmptyStrings) {
    const QString txt = file("notes.txt", "just text\n");
    NX_DiskFileInfo_ c;
    QStringList order;
    QObject::connect(&c, &NX_DiskFileInfo_::PropertyChanged,
                     [&order](const QString& name) { order << name; });
    c.GefFileInfo(txt);
    EXPECT_EQ(c.File_FileType(), "Unknown");
    EXPECT_EQ(c.File_VerMajor(), 0);
    EXPECT_EQ(c.File_CompanyName(), "");
    EXPECT_EQ(c.File_ProductVersion(), "");
    EXPECT_EQ(c.File_FileSize(), 10);
    EXPECT_FALSE(c.File_CreationDate().isNull());
    EXPECT_EQ(c.File_LastModifyTime().toDateTime(),
              QFileInfo(txt).lastModified().toLocalTime().addMSecs(
                  -QFileInfo(txt).lastModified().time().msec()));
    EXPECT_EQ(order, QStringList({"File_Name",
                                  "File_Directory",
                                  "File_FileType",
                                  "File_VerMajor",
                                  "File_VerMinor",
                                  "File_VerRevision",
                                  "File_FileSize",
                                  "File_CreationDate",
                                  "File_LastModifyTime",
                                  "File_LastAccessTime",
                                  "File_CompanyName",
                                  "File_FileDescription",
                                  "File_FileVersion",
                                  "File_InternalName",
                                  "File_LegalCopyright",
                                  "File_OriginalFileName",
                                  "File_ProductName",
                                  "File_ProductVersion",
                                  "FILE_ATTRIBUTE_ARCHIVE",
                                  "FILE_ATTRIBUTE_COMPRESSED",
                                  "FILE_ATTRIBUTE_DIRECTORY",
                                  "FILE_ATTRIBUTE_HIDDEN",
                                  "FILE_ATTRIBUTE_NORMAL",
                                  "FILE_ATTRIBUTE_READONLY",
                                  "FILE_ATTRIBUTE_SYSTEM",
                                  "FILE_ATTRIBUTE_TEMPORARY"}));
}

TEST_F(FileInfoTest, FolderHasTheDirectoryAttributeAndZeroDates) {
    NX_DiskFileInfo_ c;
    c.GefFileInfo(m_dir);
    EXPECT_TRUE(c.FILE_ATTRIBUTE_DIRECTORY());
    EXPECT_FALSE(c.FILE_ATTRIBUTE_ARCHIVE());
    EXPECT_TRUE(c.File_CreationDate().isNull());
    EXPECT_TRUE(c.File_LastModifyTime().isNull());
    EXPECT_TRUE(c.File_LastAccessTime().isNull());
    EXPECT_EQ(c.File_FileSize(), 0);
}

TEST_F(FileInfoTest, AttributesFromModeAndName) {
    const QString ro = file("ro.txt", "r");
    QFile::setPermissions(ro, QFileDevice::ReadOwner);
    const QString hidden = file(".hidden", "h");
    NX_DiskFileInfo_ c;
    c.GefFileInfo(ro);
    EXPECT_TRUE(c.FILE_ATTRIBUTE_READONLY());
    EXPECT_TRUE(c.FILE_ATTRIBUTE_ARCHIVE());
    EXPECT_FALSE(c.FILE_ATTRIBUTE_HIDDEN());
    c.GefFileInfo(hidden);
    EXPECT_TRUE(c.FILE_ATTRIBUTE_HIDDEN());
    EXPECT_FALSE(c.FILE_ATTRIBUTE_READONLY());
    EXPECT_FALSE(c.FILE_ATTRIBUTE_NORMAL());
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(FileInfoTest, EmptyNameChangesNothingAndMissingFileGivesEmptyValues) {
    NX_DiskFileInfo_ c;
    c.GefFileInfo("");
    EXPECT_EQ(c.File_Name(), "");
    EXPECT_EQ(c.File_FileType(), "0");
    c.GefFileInfo(m_dir + "/missing.exe");
    EXPECT_EQ(c.File_FileType(), "Unknown");
    EXPECT_EQ(c.File_Directory(), m_dir + "/");
    EXPECT_EQ(c.File_FileSize(), 0);
    EXPECT_TRUE(c.File_CreationDate().isNull());
    EXPECT_EQ(c.File_CompanyName(), "");
}

TEST(PeVersionInfoReader, DamagedFilesNeverCrashTheReader) {
    const QByteArray whole = makePe(PeVersionLayout());
    EXPECT_TRUE(PeVersionInfo::fromBytes(whole).Fixed.has_value());
    for (qsizetype n = 0; n < whole.size(); n += 3)
        (void)PeVersionInfo::fromBytes(whole.left(n));
    for (qsizetype at = 0; at < whole.size(); ++at) {
        QByteArray bad = whole;
        bad[at] = char(bad[at] ^ 0xFF);
        (void)PeVersionInfo::fromBytes(bad);
    }
    const PeVersionInfo none = PeVersionInfo::fromBytes(makePeWithoutResources());
    EXPECT_FALSE(none.HasResource);
    EXPECT_FALSE(PeVersionInfo::fromBytes("MZ").HasResource);
}

TEST_F(FileInfoTest, NumberOfFilesCountsPlainVisibleFiles) {
    file("count/a.txt", "a");
    file("count/b.TXT", "b");
    file("count/c.doc", "c");
    file("count/.d.txt", "d");
    QDir().mkpath(m_dir + "/count/e.txt");
    const QString ro = file("count/f.txt", "f");
    QFile::setPermissions(ro, QFileDevice::ReadOwner);
    NX_DiskFileInfo_ c;
    EXPECT_EQ(c.NumberOfFiles(m_dir + "/count", "txt"), 3);
    EXPECT_EQ(c.NumberOfFiles(m_dir + "/count/", "TXT"), 3);
    EXPECT_EQ(c.NumberOfFiles(m_dir + "/count"), 4);
    EXPECT_EQ(c.NumberOfFiles(m_dir + "/count", "do?"), 1);
    EXPECT_EQ(c.NumberOfFiles(m_dir + "/nowhere", "txt"), 0);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(FileInfoTest, FindFileLooksInTheStartFolderFirstThenBelow) {
    file("tree/x/deep/target.bin", "deep");
    file("tree/target.bin", "top");
    file("tree/y/only-here.txt", "y");
    NX_DiskFileInfo_ c;
    EXPECT_EQ(c.File_FindFile("target.bin", m_dir + "/tree"), m_dir + "/tree/target.bin");
    EXPECT_EQ(c.File_FindFile("only-here.txt", m_dir + "/tree/"), m_dir + "/tree/y/only-here.txt");
    EXPECT_EQ(c.File_FindFile("absent", m_dir + "/tree"), "");
    EXPECT_EQ(c.File_FindFile("absent", m_dir + "/missing"), "");
    // A link back up the tree is searched once, not forever.
    ASSERT_TRUE(QFile::link(m_dir + "/tree", m_dir + "/tree/x/loop"));
    EXPECT_EQ(c.File_FindFile("absent", m_dir + "/tree"), "");
}
