// The profile-file reader and writer: other lines survive writes, lookups
// ignore letter case, values come back whole.
#include "foundation/NX_Ini.h"

#include "../support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using QuorvaneSDK::NX_Ini;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QuorvaneTest::makeTempFolder() + "/" + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

int modeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return st.st_mode & 0777;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

TEST(NX_Ini, MissingFileSectionOrKeyReadsEmpty) {
    NX_Ini ini;
    const QString missing = QuorvaneTest::makeTempFolder() + "/none.ini";
    EXPECT_EQ(ini.ReadValue(missing, "SetUp", "DBPredefinito"), "");
    EXPECT_FALSE(ini.ReadValue(missing, "SetUp", "DBPredefinito").isNull());
    EXPECT_FALSE(QFileInfo::exists(missing)) << "reading must not create the file";

    const QString path = writeFile("a.ini", "[SetUp]\nA=1\n");
    EXPECT_EQ(ini.ReadValue(path, "Other", "A"), "");
    EXPECT_EQ(ini.ReadValue(path, "SetUp", "B"), "");
    EXPECT_EQ(ini.ReadValue(path, "SetUp"), "");
}

TEST(NX_Ini, WriteCreatesFileAndFolderAndReadsBack) {
    NX_Ini ini;
    const QString path = QuorvaneTest::makeTempFolder() + "/sub/dir/new.ini";
    ASSERT_TRUE(ini.WriteValue(path, "SetUp", "ModalitaDebug", "False"));
    EXPECT_EQ(ini.ReadValue(path, "SetUp", "ModalitaDebug"), "False");
    EXPECT_EQ(readFile(path), "[SetUp]\nModalitaDebug=False\n");
}

TEST(NX_Ini, LookupIgnoresCaseOfSectionAndKey) {
    NX_Ini ini;
    const QString path = writeFile("case.ini", "[SqlServer]\nDBSqlServerHost=db.local\n");
    EXPECT_EQ(ini.ReadValue(path, "sqlserver", "dbsqlserverhost"), "db.local");
    EXPECT_EQ(ini.ReadValue(path, "SQLSERVER", "DBSQLSERVERHOST"), "db.local");
    ASSERT_TRUE(ini.WriteValue(path, "SQLSERVER", "dbsqlserverHOST", "other"));
    // The key keeps the spelling the file already had; no second key appears.
    EXPECT_EQ(readFile(path), "[SqlServer]\nDBSqlServerHost=other\n");
}

TEST(NX_Ini, WriteKeepsCommentsOtherKeysAndOrder) {
    const QByteArray before = "; settings of the catalogue\n"
                              "[Remind]\n"
                              "# when the user was reminded\n"
                              "LastBackupWarning=2020-01-02\n"
                              "a line without equals\n"
                              "\n"
                              "[Preferences]\n"
                              "WordIndex=True\n"
                              "\n"
                              "[Zeta]\n"
                              "K=V\n";
    const QString path = writeFile("keep.ini", before);
    NX_Ini ini;
    ASSERT_TRUE(ini.WriteValue(path, "Remind", "CleanJunk", "2021-03-04"));
    ASSERT_TRUE(ini.WriteValue(path, "Preferences", "WordIndex", "False"));
    ASSERT_TRUE(ini.WriteValue(path, "NewSection", "X", "1"));
    EXPECT_EQ(readFile(path), "; settings of the catalogue\n"
                              "[Remind]\n"
                              "# when the user was reminded\n"
                              "LastBackupWarning=2020-01-02\n"
                              "a line without equals\n"
                              "CleanJunk=2021-03-04\n"
                              "\n"
                              "[Preferences]\n"
                              "WordIndex=False\n"
                              "\n"
                              "[Zeta]\n"
                              "K=V\n"
                              "\n"
                              "[NewSection]\n"
                              "X=1\n");
}

TEST(NX_Ini, CrLfFilesStayCrLfAndByteOrderMarkIsKept) {
    const QString path = writeFile("crlf.ini", "\xEF\xBB\xBF[S]\r\nA=1\r\n");
    NX_Ini ini;
    EXPECT_EQ(ini.ReadValue(path, "S", "A"), "1");
    ASSERT_TRUE(ini.WriteValue(path, "S", "B", "2"));
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
}

TEST(NX_Ini, LongValuesAreReadWhole) {
    NX_Ini ini;
    const QString path = QuorvaneTest::makeTempFolder() + "/long.ini";
    const QString longPath = "/media/" + QString(300, u'x') + "/Dati.sqlite";
    const QString hex = QString(2000, u'a') + "NX_EP//";
    ASSERT_TRUE(ini.WriteValue(path, "Access", "DBAccessHost", longPath));
    ASSERT_TRUE(ini.WriteValue(path, "Access", "DBAccessUserPassword", hex));
    EXPECT_EQ(ini.ReadValue(path, "Access", "DBAccessHost"), longPath);
    EXPECT_EQ(ini.ReadValue(path, "Access", "DBAccessUserPassword"), hex);
}

TEST(NX_Ini, DuplicateKeysAndSectionsUseTheFirst) {
    const QString path = writeFile("dup.ini", "[S]\nA=first\nA=second\n[S]\nA=third\nB=hidden\n");
    NX_Ini ini;
    EXPECT_EQ(ini.ReadValue(path, "S", "A"), "first");
    EXPECT_EQ(ini.ReadValue(path, "S", "B"), "") << "keys of a repeated section are not seen";
    ASSERT_TRUE(ini.WriteValue(path, "S", "A", "new"));
    EXPECT_EQ(readFile(path), "[S]\nA=new\nA=second\n[S]\nA=third\nB=hidden\n");
    ASSERT_TRUE(ini.DeleteKey(path, "S", "A"));
    EXPECT_EQ(readFile(path), "[S]\n[S]\nA=third\nB=hidden\n");
}

TEST(NX_Ini, ValuesRoundTripExactly) {
    // Each value must read back as written: equals signs, quotes, blanks
    // around it, non-ASCII letters and characters outside the BMP.
    const QStringList values = {
        "a=b=c",
        "  leading and trailing  ",
        "\"quoted\"",
        "say \"hi\" there",
        "",
        "Perché così? ÀÉÎ",
        "日本語",
        QString::fromUtf8("\xF0\x9F\x8E\xB5 music"),
        ";not a comment",
        "#nor this",
        "[not a section]",
        "\"",
    };
    NX_Ini ini;
    const QString path = QuorvaneTest::makeTempFolder() + "/values.ini";
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(ini.WriteValue(path, "V", QString("k%1").arg(i), values[i])) << i;
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(ini.ReadValue(path, "V", QString("k%1").arg(i)), values[i]) << i;
}

TEST(NX_Ini, ReadTrimsBlanksAroundUnquotedValues) {
    const QString path = writeFile("blank.ini", "[S]\n  A  =   spaced value   \nB=\n");
    NX_Ini ini;
    EXPECT_EQ(ini.ReadValue(path, "S", "A"), "spaced value");
    EXPECT_EQ(ini.ReadValue(path, "S", "B"), "");
}

TEST(NX_Ini, FileThatIsNotUtf8IsReadAsLatin1) {
    const QString path = writeFile("latin1.ini", "[S]\nName=Citt\xE0\n");
    NX_Ini ini;
    EXPECT_EQ(ini.ReadValue(path, "S", "Name"), QString::fromUtf8("Città"));
}

TEST(NX_Ini, RefusesWhatCannotBeWrittenOnOneLine) {
    NX_Ini ini;
    const QString path = QuorvaneTest::makeTempFolder() + "/refuse.ini";
    ASSERT_TRUE(ini.WriteValue(path, "S", "ok", "1"));
    const QByteArray before = readFile(path);
    EXPECT_FALSE(ini.WriteValue(path, "S", "A", "two\nlines"));
    EXPECT_FALSE(ini.WriteValue(path, "S", "a=b", "x"));
    EXPECT_FALSE(ini.WriteValue(path, "S", "", "x"));
    EXPECT_FALSE(ini.WriteValue(path, "", "A", "x"));
    EXPECT_FALSE(ini.WriteValue(path, "S]x", "A", "x"));
    EXPECT_EQ(readFile(path), before);
}

TEST(NX_Ini, DeleteKeyStripsBracketsAndKeepsTheRest) {
    const QString path = writeFile("del.ini", "[SetUp]\nA=1\nB=2\n; note\n");
    NX_Ini ini;
    EXPECT_TRUE(ini.DeleteKey(path, "[SetUp]", "a"));
    EXPECT_EQ(readFile(path), "[SetUp]\nB=2\n; note\n");
    EXPECT_TRUE(ini.DeleteKey(path, "SetUp", "Missing"));
    EXPECT_FALSE(ini.DeleteKey(path, "SetUp", ""));
    EXPECT_EQ(readFile(path), "[SetUp]\nB=2\n; note\n");
}

TEST(NX_Ini, UnwritableFileFailsAndKeepsContent) {
    const QString folder = QuorvaneTest::makeTempFolder();
    // A folder where the file should be: nothing can be written there.
    const QString path = folder + "/blocked.ini";
    ASSERT_TRUE(QDir().mkpath(path));
    NX_Ini ini;
    EXPECT_FALSE(ini.WriteValue(path, "S", "A", "1"));
    EXPECT_EQ(ini.ReadValue(path, "S", "A"), "");
}

TEST(NX_Ini, PrivateWriteLeavesOwnerOnlyPermissions) {
    NX_Ini ini;
    const QString path = writeFile("secret.ini", "[S]\nA=1\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ReadOther);
    ASSERT_TRUE(ini.WriteValuePrivate(path, "S", "B", "2"));
    EXPECT_EQ(modeOf(path), 0600);
    // An ordinary write keeps what the file has.
    ASSERT_TRUE(ini.WriteValue(path, "S", "C", "3"));
    EXPECT_EQ(modeOf(path), 0600);

    // A new private file is never readable by others, not even for a moment
    // after its creation.
    const QString fresh = QuorvaneTest::makeTempFolder() + "/fresh.ini";
    ASSERT_TRUE(ini.WriteValuePrivate(fresh, "S", "A", "1"));
    EXPECT_EQ(modeOf(fresh), 0600);
}
