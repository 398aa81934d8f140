// db info/check/upgrade/compact/purge-previews/use, on both engines.

#include "CliFixture.h"

#include "TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

using namespace QuorvaneTest;

namespace {

using DbCommand = CliTest;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_P(DbCommand, InfoTellsEngineAndContents) {
    const CliResult r = cli({"db", "info", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = r.json().object();
    EXPECT_EQ(o.value("Engine").toString(), GetParam() == Engine::SQLite ? "SQLite" : "PostgreSQL");
    EXPECT_TRUE(o.value("Reachable").toBool());
    EXPECT_EQ(o.value("Media").toInt(), 2);
    EXPECT_EQ(o.value("Files").toInt(), 6);
    EXPECT_EQ(o.value("ContainedFiles").toInt(), 2);
    EXPECT_FALSE(
        o.value("ConnectionString")
            .toString()
            .contains(pgServer().password.isEmpty() ? "\x01" : pgServer().password.toUtf8()));
    if (GetParam() == Engine::PostgreSQL) {
        EXPECT_EQ(o.value("DatabaseName").toString(), m_pgDatabase);
    } else {
        EXPECT_EQ(o.value("HostPath").toString(), m_home + "/Database/Dati.sqlite");
    }
}

TEST_P(DbCommand, CheckFindsWholeCatalogueAndMissingTable) {
    const CliResult ok = cli({"db", "check", "--json"});
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString() << ok.out.toStdString();
    EXPECT_TRUE(ok.json().object().value("Ok").toBool());
    if (GetParam() == Engine::SQLite) {
        EXPECT_EQ(ok.json().object().value("Integrity").toString(), "ok");
    }

    sql("DROP TABLE WordsFileContainedIndex");
    const CliResult broken = cli({"db", "check"});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.out.contains("table WordsFileContainedIndex: MISSING OR UNREADABLE"))
        << broken.out.toStdString();
    EXPECT_TRUE(broken.err.contains("the catalogue has problems"));
}

TEST_P(DbCommand, UpgradeAndCompactSucceed) {
    const CliResult upgrade = cli({"db", "upgrade"});
    ASSERT_EQ(upgrade.exitCode, 0) << upgrade.err.toStdString();
    EXPECT_TRUE(upgrade.out.isEmpty()) << upgrade.out.toStdString();
    EXPECT_EQ(upgrade.err, "quorvane-cli: the catalogue is up to date\n");

    const CliResult compact = cli({"db", "compact"});
    ASSERT_EQ(compact.exitCode, 0) << compact.err.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM Files"), 10); // nothing lost
}

TEST_P(DbCommand, PurgesPreviewsByKind) {
    const CliResult text = cli({"db", "purge-previews", "--text"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out, "2 previews deleted\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM PreviewFile"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM PreviewFileContained"), 0);

    const CliResult all = cli({"db", "purge-previews"});
    ASSERT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out, "1 previews deleted\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM PreviewFile"), 0);
}

TEST_P(DbCommand, UseSqliteRefusesMissingFileAndCreatesOnRequest) {
    const QString ini = m_home + "/Database.ini";
    const QByteArray before = readFile(ini);
    const QString fresh = makeTempFolder(QStringLiteral("qv-cli-use")) + "/New.sqlite";

    const CliResult refused = cli({"db", "use", "sqlite", fresh});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--create")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(readFile(ini), before);

    const CliResult created = cli({"db", "use", "sqlite", fresh, "--create"});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(QFile::exists(fresh));
    const CliResult media = cli({"media", "--json"});
    ASSERT_EQ(media.exitCode, 0) << media.err.toStdString();
    EXPECT_TRUE(media.json().array().isEmpty());
    EXPECT_EQ(cli({"db", "info", "--json"}).json().object().value("HostPath").toString(), fresh);
}

TEST_P(DbCommand, UsePostgresqlKeepsSettingsWhenServerRefuses) {
    const QString ini = m_home + "/Database.ini";
    const QByteArray before = readFile(ini);
    // Nothing listens on port 1 of loopback.
    const CliResult r =
        cli({"db", "use", "postgresql", "127.0.0.1:1", "nodb", "nobody", "--password-stdin"},
            "secret\n");
    EXPECT_EQ(r.exitCode, 2);
    ASSERT_EQ(r.errLines().size(), 1) << r.err.toStdString();
    EXPECT_TRUE(
        r.err.startsWith("quorvane-cli: cannot open PostgreSQL database nodb on 127.0.0.1:1"))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("secret"));
    EXPECT_EQ(readFile(ini), before);
    EXPECT_EQ(cli({"media"}).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DbCommand, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         engineName);

} // namespace
