// Arguments the program refuses or explains, before any catalogue is used.

#include "CliRunner.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace QuorvaneTest;

namespace {

struct UsageCase {
    QStringList args;
    int exitCode;
    const char* stderrHas; // "" when stderr must be empty
};

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, ExitStatusAndOneLineMessage) {
    const UsageCase& c = GetParam();
    const QString home = makeTempFolder(QStringLiteral("qv-cli-usage"));
    const CliResult r = runCli(home, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n"
                                      << r.err.toStdString();
    if (*c.stderrHas) {
        ASSERT_EQ(r.errLines().size(), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("quorvane-cli: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.stderrHas))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    } else {
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
    // Bad usage of a catalogue command never makes a catalogue (reading the
    // settings starts the SDK, whose first start may make the default one).
    if (c.exitCode == 1 && c.args.value(0) != "settings") {
        EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Database/Dati.sqlite")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsage,
    ::testing::Values(
        UsageCase{{}, 1, "missing command"},
        UsageCase{{"frobnicate"}, 1, "unknown command \"frobnicate\""},
        UsageCase{{"media", "show"}, 1, "wrong number of arguments"},
        UsageCase{{"media", "show", "abc"}, 1, "ID must be a whole number"},
        UsageCase{{"media", "show", "0"}, 1, "ID must be a whole number"},
        UsageCase{{"media", "explode"}, 1, "unknown media action"},
        UsageCase{{"media", "list", "--colour"}, 1, "unknown option --colour"},
        UsageCase{{"media", "rename", "1", "   "}, 1, "label must not be empty"},
        UsageCase{{"ls"}, 1, "needs a medium ID"},
        UsageCase{{"export", "1", "--format", "xml"}, 1, "unknown export format"},
        UsageCase{{"export", "1", "--format"}, 1, "--format needs a value"},
        UsageCase{{"show", "1", "--json=yes"}, 1, "takes no value"},
        UsageCase{{"db"}, 1, "db needs an action"},
        UsageCase{{"db", "vacuum"}, 1, "unknown db action"},
        UsageCase{{"db", "info", "--create"}, 1, "does not take --create"},
        UsageCase{{"db", "use", "oracle", "x"}, 1, "sqlite or postgresql"},
        UsageCase{{"db", "use", "postgresql", "h"}, 1, "needs HOST[:PORT] DATABASE USER"},
        UsageCase{{"settings", "NoSuchKey"}, 1, "unknown setting"},
        UsageCase{{"settings", "ScanOnlyFolders", "maybe"}, 1, "takes true or false"},
        UsageCase{{"settings", "PreviewMaxSize", "99999"}, 1, "whole number from 0 to 32767"},
        UsageCase{{"settings", "CleanJunk", "yesterday"}, 1, "takes a date"},
        UsageCase{{"--help"}, 0, ""}, UsageCase{{"--version"}, 0, ""}));

// Every command explains itself with --help, on stdout, exit 0.
TEST(CliHelp, EveryCommandHasHelp) {
    const QString home = makeTempFolder(QStringLiteral("qv-cli-help"));
    const CliResult top = runCli(home, {QStringLiteral("--help")});
    ASSERT_EQ(top.exitCode, 0);
    for (const char* command : {"media", "groups", "ls", "show", "export", "db", "settings"}) {
        EXPECT_TRUE(top.out.contains(QStringLiteral("  ") + QString::fromLatin1(command)))
            << command;
        const CliResult r = runCli(home, {QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(
            r.out.startsWith(QStringLiteral("Usage: quorvane-cli ") + QString::fromLatin1(command)))
            << r.out.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Database/Dati.sqlite")));
}

// A catalogue that is not there: one clear line, exit 2, nothing made in
// its place, the full report left to the log.
TEST(CliErrors, MissingCatalogueFileFailsWithOneLine) {
    const QString home = makeTempFolder(QStringLiteral("qv-cli-missing"));
    QFile ini(home + QStringLiteral("/Database.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    const QString gone = home + QStringLiteral("/elsewhere/Gone.sqlite");
    ini.write(QStringLiteral("[SetUp]\nDBPredefinito=SQLite\n[Access]\nDBAccessHost=%1\n")
                  .arg(gone)
                  .toUtf8());
    ini.close();
    for (const QStringList& args :
         {QStringList{"media"}, QStringList{"groups"}, QStringList{"db", "check"}}) {
        const CliResult r = runCli(home, args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        const QStringList lines = r.errLines();
        ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(
            lines.last().startsWith(QStringLiteral("quorvane-cli: cannot open the catalogue")))
            << r.err.toStdString();
        EXPECT_TRUE(lines.last().contains(gone)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("Stack"))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(gone));
    QFile log(home + QStringLiteral("/QuorvaneSDK.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Errors stack:"));
}

} // namespace
