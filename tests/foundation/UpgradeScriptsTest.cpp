// Which upgrade scripts run and in what order, and how a script is cut into
// statements: over real temporary folders, no database needed.
#include "foundation/UpgradeScripts.h"
#include "foundation/ShippedScripts.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace QuorvaneSDK;

namespace {

void touch(const QString& path, const QByteArray& content = "SELECT 1") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

// A test name from a case's description: its words joined, letters and
// digits only.
std::string caseName(const char* what) {
    std::string name;
    bool upper = true;
    for (const char* p = what; *p; ++p) {
        const char c = *p;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            name += upper && c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

struct CollectCase {
    const char* what;
    QStringList files;
    QStringList toRun;
    QString slot1000 = {};
    QStringList outOfRange = {};
};

void PrintTo(const CollectCase& c, std::ostream* os) {
    *os << c.what;
}

class CollectUpgradeScripts : public ::testing::TestWithParam<CollectCase> {};

TEST_P(CollectUpgradeScripts, OverAFolder) {
    const CollectCase& c = GetParam();
    const QString folder = QuorvaneTest::makeTempFolder("qv-collect");
    for (const QString& name : c.files)
        touch(folder + "/" + name);
    const UpgradeScriptSet set = collectUpgradeScriptsInFolder(folder);
    EXPECT_EQ(set.toRun(), c.toRun) << c.what;
    EXPECT_EQ(set.slotNames.at(UpgradeScriptSet::LastSlot), c.slot1000) << c.what;
    EXPECT_EQ(set.outOfRange, c.outOfRange) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollectUpgradeScripts,
    ::testing::Values(
        CollectCase{"02 and 03 never run",
                    {"upgrade10.sql", "upgrade03.sql", "upgrade01.sql", "upgrade02.sql"},
                    {"upgrade01.sql", "upgrade10.sql"}},
        CollectCase{"02 and 03 skipped in any letter case",
                    {"UPGRADE02.SQL", "Upgrade03.sql", "upgrade04.sql"},
                    {"upgrade04.sql"}},
        CollectCase{"readme.sql lands in slot 0 and runs first",
                    {"upgrade04.sql", "readme.sql"},
                    {"readme.sql", "upgrade04.sql"}},
        CollectCase{"a capital U is not removed: slot 0",
                    {"upgrade01.sql", "Upgrade05.sql"},
                    {"Upgrade05.sql", "upgrade01.sql"}},
        CollectCase{"slot 0 taken by the later name in sorted order",
                    {"readme.sql", "Upgrade05.sql"},
                    {"readme.sql"}},
        CollectCase{"numeric order, not name order",
                    {"upgrade100.sql", "upgrade10.sql", "upgrade9.sql"},
                    {"upgrade9.sql", "upgrade10.sql", "upgrade100.sql"}},
        CollectCase{"same number: the later sorted name replaces the earlier",
                    {"upgrade4b.sql", "upgrade04.sql", "upgrade004.sql"},
                    {"upgrade4b.sql"}},
        CollectCase{"the name only has to contain .sql",
                    {"upgrade04.sql", "upgrade04.sql.bak"},
                    {"upgrade04.sql.bak"}},
        CollectCase{".SQL in capitals is a script; it is not removed before the digits",
                    {"upgrade05.SQL", "notes.txt", "upgrade06"},
                    {"upgrade05.SQL"}},
        CollectCase{"upgrade1000 is collected but not run",
                    {"upgrade999.sql", "upgrade1000.sql"},
                    {"upgrade999.sql"},
                    "upgrade1000.sql"},
        CollectCase{"numbers above 1000 are reported and skipped",
                    {"upgrade01.sql", "upgrade1001.sql", "upgrade99999999999999999999.sql"},
                    {"upgrade01.sql"},
                    {},
                    {"upgrade1001.sql", "upgrade99999999999999999999.sql"}},
        CollectCase{"dot files (editor swap files) are not scripts",
                    {"upgrade05.sql", ".upgrade05.sql.swp"},
                    {"upgrade05.sql"}}),
    [](const auto& info) { return caseName(info.param.what); });

TEST(CollectUpgradeScriptsFolder, MissingFolderGivesNothing) {
    const UpgradeScriptSet set = collectUpgradeScriptsInFolder(
        QuorvaneTest::makeTempFolder("qv-collect") + "/no-such-folder");
    EXPECT_TRUE(set.toRun().isEmpty());
    EXPECT_TRUE(set.outOfRange.isEmpty());
}

TEST(CollectUpgradeScriptsFolder, SubFoldersAreNotScripts) {
    const QString folder = QuorvaneTest::makeTempFolder("qv-collect");
    ASSERT_TRUE(QDir(folder).mkdir("upgrade07.sql"));
    touch(folder + "/upgrade08.sql");
    EXPECT_EQ(collectUpgradeScriptsInFolder(folder).toRun(), QStringList{"upgrade08.sql"});
}

TEST(UpgradeScriptSlot, NumbersOfNames) {
    const struct {
        const char* name;
        int slot;
    } cases[] = {
        {"upgrade04.sql", 4},      {"upgrade0.sql", 0},       {"readme.sql", 0},
        {"upgrade1000.sql", 1000}, {"upgrade1001.sql", 1001}, {"notes.txt", -1},
        {"upgrade02.sql", -1},     {" upgrade07.sql ", 0},    {"upgradeupgrade12.sql", 12}};
    for (const auto& c : cases)
        EXPECT_EQ(upgradeScriptSlot(QString::fromUtf8(c.name)), c.slot) << c.name;
}

struct SplitCase {
    const char* what;
    QString script;
    QStringList pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.what;
}

class SplitStatements : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitStatements, Pieces) {
    EXPECT_EQ(splitScriptStatements(GetParam().script), GetParam().pieces) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitStatements,
    ::testing::Values(
        SplitCase{"one statement, no separator",
                  "CREATE TABLE a (x INTEGER)\n",
                  {"CREATE TABLE a (x INTEGER)"}},
        SplitCase{"separator lines",
                  "CREATE TABLE a (x INTEGER)\n;;\nCREATE TABLE b (y TEXT)\n",
                  {"CREATE TABLE a (x INTEGER)", "CREATE TABLE b (y TEXT)"}},
        SplitCase{"GO in any case, blanks around, CR LF line ends",
                  "SELECT 1\r\n  go  \r\nSELECT 2\r\nGO\r\n",
                  {"SELECT 1", "SELECT 2"}},
        SplitCase{
            "a ;; inside a line does not split", "SELECT ';;' AS x;;\n", {"SELECT ';;' AS x;;"}},
        SplitCase{"comment-only and empty pieces are dropped",
                  "-- header\n\n;;\n;;\nSELECT 1\n;;\n  -- trailing note\n;;\n/* block */\n",
                  {"SELECT 1"}},
        SplitCase{
            "trigger body stays whole",
            "CREATE TRIGGER t AFTER INSERT ON a BEGIN\n  UPDATE b SET y = 1;\n  UPDATE b SET y "
            "= 2;\nEND\n;;\nSELECT 1\n",
            {"CREATE TRIGGER t AFTER INSERT ON a BEGIN\n  UPDATE b SET y = 1;\n  UPDATE b "
             "SET y = 2;\nEND",
             "SELECT 1"}},
        SplitCase{"byte-order mark removed", QString(QChar(0xFEFF)) + "SELECT 1", {"SELECT 1"}},
        SplitCase{"a line GOTO is not a separator", "SELECT 1\nGOTO\n", {"SELECT 1\nGOTO"}}),
    [](const auto& info) { return caseName(info.param.what); });

TEST(CheckSingleStatement, RefusesASecondStatementOutsideBodies) {
    const struct {
        const char* piece;
        bool accepted;
    } cases[] = {
        {"CREATE TABLE a (x INTEGER)", true},
        {"CREATE TABLE a (x INTEGER);", true},
        {"CREATE TABLE a (x INTEGER);  -- done", true},
        {"INSERT INTO a VALUES ('x;y')", true},
        {"SELECT 1 /* ; */", true},
        {"CREATE TABLE a (x INTEGER);\nCREATE TABLE b (y INTEGER);", false},
        {"SELECT 1; SELECT 2", false},
        {"CREATE TRIGGER t AFTER INSERT ON a BEGIN UPDATE b SET y = 1; END;", true},
        {"CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkSingleStatement(QString::fromUtf8(c.piece)).isEmpty(), c.accepted)
            << c.piece;
}

TEST(ShippedScripts, EveryShippedScriptIsOneStatementPerPiece) {
    for (const char* dialect : {"Access", "SqlServer"}) {
        QFile f(shippedScriptsRoot() + "/" + dialect + "/upgrade01.sql");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << dialect;
        const QStringList pieces = splitScriptStatements(QString::fromUtf8(f.readAll()));
        EXPECT_GT(pieces.size(), 10) << dialect;
        for (const QString& piece : pieces)
            EXPECT_TRUE(checkSingleStatement(piece).isEmpty()) << piece.toStdString();
    }
}

TEST(ShippedScripts, CopiedWhenMissingAndNeverOverwritten) {
    const QString base = QuorvaneTest::makeTempFolder("qv-base");
    EXPECT_TRUE(installShippedScripts(base).isEmpty());
    for (const char* dialect : {"Access", "SqlServer"}) {
        const QString script = base + "/dati/" + dialect + "/upgrade01.sql";
        ASSERT_TRUE(QFileInfo::exists(script)) << script.toStdString();
        EXPECT_TRUE(QFileInfo(script).isWritable());
        EXPECT_TRUE(QFileInfo::exists(base + "/dati/" + dialect + "/README.md"));
    }
    const QString edited = base + "/dati/Access/upgrade01.sql";
    ASSERT_TRUE(QFile::remove(edited));
    touch(edited, "-- edited by hand");
    QFile::remove(base + "/dati/SqlServer/upgrade01.sql");
    EXPECT_TRUE(installShippedScripts(base).isEmpty());
    QFile f(edited);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("-- edited by hand"));
    EXPECT_TRUE(QFileInfo::exists(base + "/dati/SqlServer/upgrade01.sql"));
}

} // namespace
