// media list/show/rename/group/delete and groups, on both engines.

#include "CliFixture.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

using namespace QuorvaneTest;

namespace {

using MediaCommand = CliTest;

QJsonObject byLabel(const QJsonArray& media, const QString& label) {
    for (const QJsonValue& v : media)
        if (v.toObject().value(QStringLiteral("Label")).toString() == label)
            return v.toObject();
    return {};
}

TEST_P(MediaCommand, ListsMediaWithStatistics) {
    const CliResult json = cli({"media", "list", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray media = json.json().array();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media.at(0).toObject().value("Label").toString(), "Alpha"); // by label
    const QJsonObject alpha = byLabel(media, "Alpha");
    EXPECT_EQ(alpha.value("id").toInt(), m_alpha);
    EXPECT_EQ(alpha.value("Group").toString(), "Music");
    EXPECT_EQ(alpha.value("SerialNumber").toString(), "S-1");
    const QJsonObject stats = alpha.value("Statistics").toObject();
    EXPECT_EQ(stats.value("NumberOfDirectories").toDouble(), 3);
    EXPECT_GT(stats.value("NumberOfFiles").toDouble(), 0);

    const CliResult table = cli({"media"});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    const QStringList lines = table.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << table.out.toStdString();
    EXPECT_TRUE(lines.at(0).startsWith("ID"));
    EXPECT_TRUE(lines.at(1).contains("Alpha") && lines.at(1).contains("Music"))
        << table.out.toStdString();
    EXPECT_TRUE(table.err.isEmpty());
}

TEST_P(MediaCommand, ShowsOneMediumOrFailsClearly) {
    const CliResult r = cli({"media", "show", QString::number(m_alpha), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject alpha = r.json().object();
    EXPECT_EQ(alpha.value("Label").toString(), "Alpha");
    EXPECT_EQ(alpha.value("Space_Capacity").toDouble(), 1e9);
    EXPECT_TRUE(alpha.value("Statistics").isObject());

    const CliResult text = cli({"media", "show", QString::number(m_alpha)});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QRegularExpression("Label:\\s+Alpha\\n")))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QRegularExpression("Folders:\\s+3\\n")))
        << text.out.toStdString();

    const CliResult missing = cli({"media", "show", "9999"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "quorvane-cli: no medium with ID 9999\n");
    EXPECT_TRUE(missing.out.isEmpty());
}

TEST_P(MediaCommand, RenamesByKeyOnly) {
    // Beta has no serial number: renaming must change it, not add a medium.
    const CliResult r = cli({"media", "rename", QString::number(m_beta), "Gamma 'quoted'"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM Media"), 2);
    EXPECT_EQ(
        scalar(
            QString(
                "SELECT count(*) FROM Media WHERE MediaName = 'Gamma ''quoted''' AND IDMedia = %1")
                .arg(m_beta)),
        1);
    EXPECT_EQ(scalar(QString("SELECT count(*) FROM Files WHERE IDMedia = %1").arg(m_beta)), 2);

    // A label another medium has is refused and nothing changes.
    const CliResult taken = cli({"media", "rename", QString::number(m_beta), "Alpha"});
    EXPECT_EQ(taken.exitCode, 2);
    EXPECT_TRUE(taken.err.contains("already labelled \"Alpha\"")) << taken.err.toStdString();
    EXPECT_EQ(scalar(QString("SELECT count(*) FROM Media WHERE MediaName = 'Alpha'")), 1);

    EXPECT_EQ(cli({"media", "rename", "9999", "X"}).exitCode, 2);
}

TEST_P(MediaCommand, RegroupsAndListsGroups) {
    ASSERT_EQ(cli({"media", "group", QString::number(m_beta), "Films"}).exitCode, 0);
    const CliResult groups = cli({"groups", "--json"});
    ASSERT_EQ(groups.exitCode, 0) << groups.err.toStdString();
    QStringList names;
    for (const QJsonValue& v : groups.json().array())
        names.append(v.toString());
    names.sort();
    EXPECT_EQ(names, QStringList({"Films", "Music"}));

    ASSERT_EQ(cli({"media", "group", QString::number(m_alpha), ""}).exitCode, 0);
    const CliResult text = cli({"groups"});
    EXPECT_EQ(text.out, "Films\n");
}

TEST_P(MediaCommand, DeleteNeedsConfirmationAndTakesEverything) {
    const CliResult refused = cli({"media", "delete", QString::number(m_alpha)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("--yes")) << refused.err.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM Media"), 2);

    const CliResult done = cli({"media", "delete", QString::number(m_alpha), "--yes"});
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM Media"), 1);
    EXPECT_EQ(scalar(QString("SELECT count(*) FROM Files WHERE IDMedia = %1").arg(m_alpha)), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM FilesContained"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM PreviewFile"), 0);

    EXPECT_EQ(cli({"media", "delete", QString::number(m_alpha), "--yes"}).exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, MediaCommand,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL), engineName);

} // namespace
