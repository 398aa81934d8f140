// Application settings in Quorvane.ini: defaults of a fresh installation,
// the shared record, round trips and the handling of bad values.
#include "foundation/Impostazioni.h"
#include "foundation/ErrorReport.h"
#include "foundation/Misc.h"
#include "foundation/NX_Ini.h"

#include "FreshHome.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace QuorvaneSDK;
// Inside a test body "SetUp" names the fixture's hook.
using Settings = QuorvaneSDK::SetUp;

namespace {

QString stored(const FreshHome& home, const QString& section, const QString& key) {
    return NX_Ini().ReadValue(home.file("Quorvane.ini"), section, key);
}

void store(const FreshHome& home, const QString& section, const QString& key,
           const QString& value) {
    ASSERT_TRUE(NX_Ini().WriteValue(home.file("Quorvane.ini"), section, key, value));
}

Settings someValues() {
    Settings v;
    v.LastBackupWarning = Date::fromParts(2021, 3, 4);
    v.LastCompressWarning = Date::fromParts(2022, 11, 30, 13, 5, 9);
    v.CleanJunk = Date::fromParts(1999, 12, 31, 23, 59, 59);
    v.CreateWordIndex = true;
    v.ScanCompressedFiles = true;
    v.ScanCompressedFilesMaxSize = 32767;
    v.CreateWordMaxWords = 0;
    v.ExtractTextOnly = false;
    v.ExtractTextOnlyFrom = "txt,pdf,odt";
    v.ImportPreviewText = false;
    v.ImportPreviewImage = false;
    v.ImportPreviewMaxSize = 64;
    v.LastGroupSelected = "Musica e Film 'anni 90'";
    v.ScanOnlyFolders = true;
    v.ScanSubFolders = false;
    v.VersioneQuorvane = "3.1.4";
    return v;
}

void expectPersistedEqual(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.LastBackupWarning, b.LastBackupWarning);
    EXPECT_EQ(a.LastCompressWarning, b.LastCompressWarning);
    EXPECT_EQ(a.CleanJunk, b.CleanJunk);
    EXPECT_EQ(a.CreateWordIndex, b.CreateWordIndex);
    EXPECT_EQ(a.ScanCompressedFiles, b.ScanCompressedFiles);
    EXPECT_EQ(a.ScanCompressedFilesMaxSize, b.ScanCompressedFilesMaxSize);
    EXPECT_EQ(a.CreateWordMaxWords, b.CreateWordMaxWords);
    EXPECT_EQ(a.ExtractTextOnly, b.ExtractTextOnly);
    EXPECT_EQ(a.ExtractTextOnlyFrom, b.ExtractTextOnlyFrom);
    EXPECT_EQ(a.ImportPreviewText, b.ImportPreviewText);
    EXPECT_EQ(a.ImportPreviewImage, b.ImportPreviewImage);
    EXPECT_EQ(a.ImportPreviewMaxSize, b.ImportPreviewMaxSize);
    EXPECT_EQ(a.LastGroupSelected, b.LastGroupSelected);
    EXPECT_EQ(a.ScanOnlyFolders, b.ScanOnlyFolders);
    EXPECT_EQ(a.ScanSubFolders, b.ScanSubFolders);
}

} // namespace

TEST(Impostazioni, NoFileGivesDefaultsAndWritesTodaysDates) {
    FreshHome home;
    const Settings v = Impostazioni().get_Values(true);
    EXPECT_EQ(v.ScanCompressedFilesMaxSize, 100);
    EXPECT_EQ(v.CreateWordMaxWords, 200);
    EXPECT_EQ(v.ImportPreviewMaxSize, 10);
    EXPECT_EQ(v.ExtractTextOnlyFrom, "txt,diz,nfo,doc");
    EXPECT_TRUE(v.ImportPreviewImage);
    EXPECT_TRUE(v.ImportPreviewText);
    EXPECT_TRUE(v.ExtractTextOnly);
    EXPECT_FALSE(v.CreateWordIndex);
    EXPECT_FALSE(v.ScanCompressedFiles);
    EXPECT_TRUE(v.ScanSubFolders);
    EXPECT_EQ(v.LastGroupSelected, "");
    EXPECT_EQ(v.VersioneQuorvaneSDK, Misc::SDK_Version());
    EXPECT_TRUE(v.Istanza.Identita.isEmpty());
    EXPECT_EQ(v.id, 0);

    const Date today = Date::today();
    EXPECT_EQ(v.LastBackupWarning, today);
    EXPECT_EQ(v.LastCompressWarning, today);
    EXPECT_EQ(v.CleanJunk, today);
    const QString todayText = today.toDateTime().toString("yyyy-MM-dd");
    EXPECT_EQ(stored(home, "Remind", "LastBackupWarning"), todayText);
    EXPECT_EQ(stored(home, "Preferences", "LastCompressWarning"), todayText);
    EXPECT_EQ(stored(home, "Remind", "CleanJunk"), todayText);
    // Nothing else is written by a read.
    EXPECT_EQ(stored(home, "Preferences", "WordIndex"), "");
}

TEST(Impostazioni, MissingScanOnlyFoldersReadsFalse) {
    // A fresh installation must record files, not only folders.
    FreshHome home;
    EXPECT_FALSE(Impostazioni().get_Values(true).ScanOnlyFolders);
    store(home, "Preferences", "ScanOnlyFolders", "  ");
    EXPECT_FALSE(Impostazioni().get_Values(true).ScanOnlyFolders);
    store(home, "Preferences", "ScanOnlyFolders", "True");
    EXPECT_TRUE(Impostazioni().get_Values(true).ScanOnlyFolders);
}

TEST(Impostazioni, WriteAndReadBack) {
    FreshHome home;
    Settings v = someValues();
    Impostazioni writer;
    ASSERT_TRUE(writer.set_Values(v, true));
    EXPECT_EQ(v.VersioneQuorvaneSDK, Misc::SDK_Version()) << "refreshed in the caller's record";
    const Settings back = Impostazioni().get_Values(true);
    expectPersistedEqual(back, v);
    EXPECT_EQ(stored(home, "Preferences", "PreviewMaxSize"), "64");
    EXPECT_EQ(stored(home, "Preferences", "WordIndex"), "True");
    EXPECT_EQ(stored(home, "Preferences", "ExtractTextOnly"), "False");
    EXPECT_EQ(stored(home, "Remind", "LastBackupWarning"), "2021-03-04");
    EXPECT_EQ(stored(home, "Preferences", "LastCompressWarning"), "2022-11-30 13:05:09");
    EXPECT_EQ(stored(home, "Remind", "CleanJunk"), "1999-12-31 23:59:59");
}

TEST(Impostazioni, WriteKeepsOtherContentOfTheFile) {
    FreshHome home;
    putFile(home.file("Quorvane.ini"), "; user notes\n[Window]\nLeft=10\n\n[Preferences]\n"
                                       "WordIndex=False\nCustom=kept\n");
    Settings v = someValues();
    ASSERT_TRUE(Impostazioni().set_Values(v, true));
    const QByteArray text = fileBytes(home.file("Quorvane.ini"));
    EXPECT_TRUE(text.startsWith("; user notes\n[Window]\nLeft=10\n"));
    EXPECT_EQ(stored(home, "Preferences", "Custom"), "kept");
    EXPECT_EQ(stored(home, "Preferences", "WordIndex"), "True");
    EXPECT_EQ(text.count("WordIndex"), 1);
}

TEST(Impostazioni, MemoryOnlySetIsSharedUntilReloaded) {
    FreshHome home;
    Settings onFile = someValues();
    ASSERT_TRUE(Impostazioni().set_Values(onFile, true));

    Impostazioni a;
    Settings v = a.get_Values(true);
    v.LastGroupSelected = "in memory only";
    v.VersioneQuorvane = "9.8.7";
    v.VersioneQuorvaneSDK = "stale";
    ASSERT_TRUE(a.set_Values(v, false));
    EXPECT_EQ(stored(home, "Preferences", "LastGroupSelected"), onFile.LastGroupSelected);

    const Settings same = a.get_Values();
    EXPECT_EQ(same.LastGroupSelected, "in memory only");
    EXPECT_EQ(same.VersioneQuorvaneSDK, Misc::SDK_Version());

    // Another object that already loaded sees the shared copy too.
    Impostazioni b;
    b.get_Values(true);
    ASSERT_TRUE(a.set_Values(v, false));
    EXPECT_EQ(b.get_Values().LastGroupSelected, "in memory only");

    // Reading the file again gives the file's values, but the program's
    // version, which lives in memory only, survives.
    const Settings reloaded = a.get_Values(true);
    EXPECT_EQ(reloaded.LastGroupSelected, onFile.LastGroupSelected);
    EXPECT_EQ(reloaded.VersioneQuorvane, "9.8.7");
}

TEST(Impostazioni, FreshObjectAfterMemorySetStillReturnsIt) {
    FreshHome home;
    Impostazioni a;
    Settings v = Impostazioni::defaults();
    v.LastGroupSelected = "memory";
    ASSERT_TRUE(a.set_Values(v, false));
    EXPECT_EQ(a.get_Values().LastGroupSelected, "memory");
}

TEST(Impostazioni, ExtensionsListIsLowerCasedAndTrimmed) {
    FreshHome home;
    store(home, "Preferences", "ExtractTextOnlyFrom", "  TXT,Doc,NFO  ");
    EXPECT_EQ(Impostazioni().get_Values(true).ExtractTextOnlyFrom, "txt,doc,nfo");
}

TEST(Impostazioni, ValuesOfTheWrongKind) {
    FreshHome home;
    store(home, "Preferences", "WordIndex", "yes please");
    store(home, "Preferences", "ExtractTextOnly", "maybe");
    store(home, "Preferences", "ScanCompressedFiles", "-1");
    store(home, "Preferences", "CreateWordMaxWords", "many");
    store(home, "Preferences", "PreviewMaxSize", "12.5kb");
    store(home, "Preferences", "ScanCompressedFilesMaxSize", "13.5");
    store(home, "Remind", "LastBackupWarning", "not a date");
    const Settings v = Impostazioni().get_Values(true);
    EXPECT_FALSE(v.CreateWordIndex);
    EXPECT_FALSE(v.ExtractTextOnly);
    EXPECT_TRUE(v.ScanCompressedFiles);
    EXPECT_EQ(v.CreateWordMaxWords, 0) << "not numeric reads as 0";
    EXPECT_EQ(v.ImportPreviewMaxSize, 12) << "leading number, rounded half to even";
    EXPECT_EQ(v.ScanCompressedFilesMaxSize, 14);
    EXPECT_TRUE(v.LastBackupWarning.isNull()) << "a text that is no date reads as the null date";
    EXPECT_EQ(stored(home, "Remind", "LastBackupWarning"), "not a date");
}

TEST(Impostazioni, OutOfRangeNumberGetsItsOwnDefaultOnly) {
    // One bad number must not cost every other setting.
    struct Case {
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"CreateWordMaxWords", "40000"},
        {"PreviewMaxSize", "99999999999"},
        {"ScanCompressedFilesMaxSize", "32768"},
        {"CreateWordMaxWords", "-5"},
        {"PreviewMaxSize", "1e9"},
    };
    for (const Case& c : cases) {
        FreshHome home;
        Settings v = someValues();
        ASSERT_TRUE(Impostazioni().set_Values(v, true));
        store(home, "Preferences", c.key, c.value);
        const Settings back = Impostazioni().get_Values(true);
        const Settings d = Impostazioni::defaults();
        if (QString(c.key) == "CreateWordMaxWords")
            EXPECT_EQ(back.CreateWordMaxWords, d.CreateWordMaxWords) << c.value;
        else if (QString(c.key) == "PreviewMaxSize")
            EXPECT_EQ(back.ImportPreviewMaxSize, d.ImportPreviewMaxSize) << c.value;
        else
            EXPECT_EQ(back.ScanCompressedFilesMaxSize, d.ScanCompressedFilesMaxSize) << c.value;
        // Everything else is what was stored.
        EXPECT_EQ(back.LastGroupSelected, v.LastGroupSelected) << c.key;
        EXPECT_EQ(back.ExtractTextOnlyFrom, v.ExtractTextOnlyFrom) << c.key;
        EXPECT_EQ(back.ScanOnlyFolders, v.ScanOnlyFolders) << c.key;
        EXPECT_EQ(back.LastBackupWarning, v.LastBackupWarning) << c.key;
    }
}

TEST(Impostazioni, UnwritableFileIsReportedAsFailure) {
    FreshHome home;
    // A folder in place of the file: it can be neither read nor written.
    ASSERT_TRUE(QDir().mkpath(home.file("Quorvane.ini")));
    Settings v = someValues();
    Impostazioni s;
    EXPECT_FALSE(s.set_Values(v, true));
    // The memory copy still holds what was set.
    EXPECT_EQ(s.get_Values().LastGroupSelected, v.LastGroupSelected);
    // A reload that cannot read the file falls back to the defaults.
    EXPECT_EQ(s.get_Values(true).CreateWordMaxWords, 200);
}

TEST(Impostazioni, ErrorReportsNameTheProgramVersionHandedOver) {
    FreshHome home;
    Impostazioni s;
    Settings v = s.get_Values(true);
    v.VersioneQuorvane = "4.5.6";
    ASSERT_TRUE(s.set_Values(v, false));
    ErrorReportData data;
    data.className = "QuorvaneSDK";
    data.routine = "test";
    const QString report = buildErrorReport(data);
    EXPECT_TRUE(report.contains("Quorvane.version: 4.5.6\r\n")) << report.toStdString();
    EXPECT_TRUE(report.contains("Quorvane.SDK v.: " + Misc::SDK_Version())) << report.toStdString();
}
