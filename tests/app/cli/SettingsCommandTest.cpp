// settings [KEY [VALUE]]: Quorvane.ini through the program.

#include "CliRunner.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace QuorvaneTest;

namespace {

TEST(SettingsCommand, ListsReadsAndChangesSettings) {
    const QString home = makeTempFolder(QStringLiteral("qv-cli-settings"));
    const CliResult all = runCli(home, {"settings"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.contains("ScanOnlyFolders=False\n")) << all.out.toStdString();
    EXPECT_TRUE(all.out.contains("ScanSubFolders=True\n"));

    const CliResult json = runCli(home, {"settings", "--json"});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.json().object().value("PreviewMaxSize").toInt(), 10);
    EXPECT_EQ(json.json().object().value("ScanOnlyFolders").toBool(), false);

    struct Change {
        const char* key;
        const char* value;
        const char* shown;
    };
    for (const Change& c :
         {Change{"scanonlyfolders", "yes", "True"}, Change{"PreviewMaxSize", "25", "25"},
          Change{"ExtractTextOnlyFrom", " txt,nfo ", "txt,nfo"},
          Change{"CleanJunk", "2024-02-03", "2024-02-03"}, Change{"WordIndex", "1", "True"}}) {
        const CliResult set = runCli(home, {"settings", c.key, c.value});
        ASSERT_EQ(set.exitCode, 0) << c.key << ": " << set.err.toStdString();
        const CliResult get = runCli(home, {"settings", c.key});
        EXPECT_EQ(get.out, QString::fromLatin1(c.shown) + "\n") << c.key;
    }
    QFile ini(home + "/Quorvane.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.contains("ScanOnlyFolders=True")) << text.toStdString();
    EXPECT_TRUE(text.contains("PreviewMaxSize=25"));

    // A refused value leaves the file as it was.
    const QString before = text;
    EXPECT_EQ(runCli(home, {"settings", "PreviewMaxSize", "-3"}).exitCode, 1);
    ini.close();
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(ini.readAll()), before);
}

} // namespace
