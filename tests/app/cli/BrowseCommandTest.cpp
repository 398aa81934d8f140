// ls, export and show, on both engines.

#include "CliFixture.h"

#include "TestEnvironment.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

using namespace QuorvaneTest;

namespace {

using BrowseCommand = CliTest;

QStringList names(const QJsonArray& array, const char* field) {
    QStringList out;
    for (const QJsonValue& v : array)
        out.append(v.toObject().value(QLatin1String(field)).toString());
    return out;
}

TEST_P(BrowseCommand, LsListsFoldersThenOneFolder) {
    const CliResult tree = cli({"ls", QString::number(m_alpha)});
    ASSERT_EQ(tree.exitCode, 0) << tree.err.toStdString();
    EXPECT_EQ(tree.out, "/a/\n/a/b/\n/c/\n");

    const CliResult folder = cli({"ls", QString::number(m_alpha), "/a", "--json"});
    ASSERT_EQ(folder.exitCode, 0) << folder.err.toStdString();
    const QJsonObject o = folder.json().object();
    EXPECT_EQ(o.value("FolderName").toString(), "/a/");
    EXPECT_EQ(o.value("Folders").toArray().toVariantList(), QVariantList({"/a/b/"}));
    EXPECT_EQ(names(o.value("Files").toArray(), "Name"),
              QStringList({"arc.zip", "one.txt", "song.mp3", "x,y \"q\".txt"}));
    const QJsonObject one = o.value("Files").toArray().at(1).toObject();
    EXPECT_EQ(one.value("Size").toDouble(), 1000);
    EXPECT_EQ(one.value("DateModified").toString(), "2021-06-07T08:09:10");

    const CliResult table = cli({"ls", QString::number(m_alpha), "/a/"});
    ASSERT_EQ(table.exitCode, 0);
    EXPECT_TRUE(table.out.contains(QRegularExpression("\\nb/\\s+<folder>")))
        << table.out.toStdString();
    EXPECT_TRUE(table.out.contains(QRegularExpression("one\\.txt\\s+.*2021-06-07 08:09:10")))
        << table.out.toStdString();

    const CliResult empty = cli({"ls", QString::number(m_alpha), "/c/", "--json"});
    ASSERT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.json().object().value("Files").toArray().isEmpty());

    const CliResult missing = cli({"ls", QString::number(m_alpha), "/nowhere"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err,
              "quorvane-cli: medium " + QString::number(m_alpha) + " has no folder /nowhere\n");
    EXPECT_EQ(cli({"ls", "9999"}).exitCode, 2);
}

TEST_P(BrowseCommand, ExportsCsvAndJson) {
    const CliResult csv = cli({"export", QString::number(m_alpha)});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << csv.out.toStdString(); // header + 5 files, no folder rows
    EXPECT_TRUE(lines.at(0).startsWith("id,Media,FolderName,Name,"));
    EXPECT_TRUE(lines.at(1).contains(",Alpha,/a/,arc.zip,zip,5000,"));
    EXPECT_TRUE(csv.out.contains(",\"x,y \"\"q\"\".txt\",")) << csv.out.toStdString();
    EXPECT_TRUE(lines.at(5).contains(",/a/b/,deep.txt,"));
    EXPECT_FALSE(csv.out.contains("##nullfile##"));

    for (const QStringList& args :
         {QStringList{"export", QString::number(m_beta), "--format", "json"},
          QStringList{"export", QString::number(m_beta), "--json"}}) {
        const CliResult json = cli(args);
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        const QJsonArray files = json.json().array();
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(files.at(0).toObject().value("Name").toString(), "z.txt");
        EXPECT_EQ(files.at(0).toObject().value("Media").toObject().value("Label").toString(),
                  "Beta");
    }
    EXPECT_EQ(cli({"export", "9999"}).exitCode, 2);
}

TEST_P(BrowseCommand, ShowsFileWithContentsMp3AndPreviews) {
    const CliResult zip = cli({"show", QString::number(m_zip)});
    ASSERT_EQ(zip.exitCode, 0) << zip.err.toStdString();
    EXPECT_TRUE(zip.out.contains(QRegularExpression("Name:\\s+arc\\.zip\\n")));
    EXPECT_TRUE(zip.out.contains(QRegularExpression("Media:\\s+Alpha\\n")));
    EXPECT_TRUE(zip.out.contains("2 files are into this file"));
    EXPECT_TRUE(zip.out.contains("  docs/inner.txt\n"));
    EXPECT_TRUE(zip.out.contains("Not an MP3 file"));

    const CliResult song = cli({"show", QString::number(m_song), "--json"});
    ASSERT_EQ(song.exitCode, 0) << song.err.toStdString();
    const QJsonObject o = song.json().object();
    EXPECT_EQ(o.value("Name").toString(), "song.mp3");
    EXPECT_EQ(o.value("MP3Tags").toObject().value("Title").toString(), "Song");
    EXPECT_EQ(o.value("MP3Tags").toObject().value("Copyright").toBool(), true);
    EXPECT_EQ(o.value("MP3Tags").toObject().value("PlayTime").toDouble(), 215);
    EXPECT_TRUE(o.value("HasImagePreview").toBool());
    EXPECT_TRUE(o.value("ContainedFiles").toArray().isEmpty());

    const CliResult text = cli({"show", QString::number(m_oneTxt)});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("Text preview:\nfirst lines\n")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("Image preview:    none"));
}

TEST_P(BrowseCommand, SavesImagePreview) {
    const QString target = makeTempFolder(QStringLiteral("qv-cli-image")) + "/preview.png";
    const CliResult r = cli({"show", QString::number(m_song), "--save-image", target});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(target);
    EXPECT_EQ(image.size(), QSize(4, 3));

    const CliResult none = cli({"show", QString::number(m_oneTxt), "--save-image", target + "2"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains("no image preview")) << none.err.toStdString();
}

TEST_P(BrowseCommand, ShowsContainedFile) {
    const CliResult r = cli({"show", QString::number(m_entry), "--contained", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = r.json().object();
    EXPECT_EQ(o.value("Name").toString(), "inner.txt");
    EXPECT_EQ(o.value("FolderName").toString(), "docs/");
    EXPECT_EQ(o.value("FileCompressedSize").toDouble(), 100);
    EXPECT_EQ(o.value("ParentFile").toObject().value("Name").toString(), "arc.zip");
    EXPECT_EQ(o.value("PreviewText").toString(), "inner text");

    const CliResult text = cli({"show", QString::number(m_entry), "--contained"});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QRegularExpression("Archive:\\s+/a/arc\\.zip\\n")))
        << text.out.toStdString();

    EXPECT_EQ(cli({"show", "9999"}).exitCode, 2);
    const CliResult missing = cli({"show", "9999", "--contained"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "quorvane-cli: no contained file with ID 9999\n");
}

INSTANTIATE_TEST_SUITE_P(Engines, BrowseCommand,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL), engineName);

} // namespace
