// Unreadable folders and files, met by a scan that runs as an unprivileged
// user: root reads every file whatever its mode, so these cases could pass
// by accident in-process.

#include "ScanFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace QuorvaneTest {
namespace {

class UnprivilegedScanTest : public ScanTest {
protected:
    void SetUp() override {
        ScanTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (::geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty())
            GTEST_SKIP() << "setpriv is needed to drop root";
        // The helper must reach the catalogue, its folder and the tree.
        const QString catalogue = engineDatabase().sqlitePath();
        ::chmod(QFile::encodeName(QFileInfo(catalogue).absolutePath()).constData(), 0777);
        ::chmod(QFile::encodeName(catalogue).constData(), 0666);
        ::chmod(QFile::encodeName(root).constData(), 0755);
        home = makeTempFolder(QStringLiteral("qv-scan-home"));
        ::chmod(QFile::encodeName(home).constData(), 0777);
    }

    // Runs the helper (as nobody when root); returns its exit code.
    int runHelper(const QStringList& extra) {
        QStringList command;
        if (::geteuid() == 0)
            command << "setpriv"
                    << "--reuid=nobody"
                    << "--regid=nogroup"
                    << "--clear-groups";
        command << QStringLiteral(SCAN_AS_USER_PATH) << engineDatabase().sqlitePath() << root
                << extra;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUORVANE_HOME", home);
        process.setProcessEnvironment(env);
        process.start(command.takeFirst(), command);
        process.waitForFinished(60000);
        helperOutput = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        helperErrors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    static void setMode(const QString& path, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    }

    QString home, helperOutput, helperErrors;
};

TEST_P(UnprivilegedScanTest, UnreadableFolderKeepsItsVirtualRowAndTheRunGoesOn) {
    writeFile(root + "/open.txt", "open");
    writeFile(root + "/closed.txt", "closed");
    writeFile(root + "/locked/secret.txt", "secret");
    setMode(root + "/open.txt", 0644);
    setMode(root + "/closed.txt", 0200); // writable, not readable
    setMode(root + "/locked", 0);
    const int code = runHelper({});
    setMode(root + "/locked", 0755);
    ASSERT_EQ(code, 0) << helperErrors.toStdString();
    const qint32 id = helperOutput.toInt();
    EXPECT_EQ(rows(id), (QStringList{"/|##nullfile##||0|", "/|closed.txt|txt|6|A",
                                     "/|open.txt|txt|4|A", "/locked/|##nullfile##||0|"}));
    EXPECT_EQ(helperErrors.count("problem: "), 1) << helperErrors.toStdString();
    EXPECT_TRUE(helperErrors.contains("locked cannot be read")) << helperErrors.toStdString();
}

TEST_P(UnprivilegedScanTest, FolderUnreadableAtRescanKeepsWhatWasCatalogued) {
    writeFile(root + "/open.txt", "open");
    writeFile(root + "/locked/secret.txt", "secret");
    setMode(root + "/open.txt", 0644);
    setMode(root + "/locked", 0755);
    setMode(root + "/locked/secret.txt", 0644);
    ASSERT_EQ(runHelper({}), 0) << helperErrors.toStdString();
    const qint32 id = helperOutput.toInt();
    const QStringList before = rows(id);
    ASSERT_EQ(before.size(), 4);
    setMode(root + "/locked", 0);
    const int code = runHelper({QString::number(id), "no"});
    setMode(root + "/locked", 0755);
    ASSERT_EQ(code, 0) << helperErrors.toStdString();
    EXPECT_EQ(rows(id), before);
}

} // namespace

// The helper catalogues into SQLite; the walk is the same on both engines.
INSTANTIATE_TEST_SUITE_P(Engines, UnprivilegedScanTest, ::testing::Values(Engine::SQLite),
                         engineName);

} // namespace QuorvaneTest
