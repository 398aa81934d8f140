#include "CliRunner.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace QuorvaneTest {

CliResult runCli(const QString& home, const QStringList& args, const QByteArray& input) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVANE_HOME"), home);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_CLI_PATH), args);
    CliResult result;
    if (!process.waitForStarted(10000)) {
        result.err = QStringLiteral("cannot start ") + QStringLiteral(QUORVANE_CLI_PATH);
        return result;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

HomeSwitch::HomeSwitch(const QString& home) : m_previous(qgetenv("QUORVANE_HOME")) {
    qputenv("QUORVANE_HOME", home.toUtf8());
}

HomeSwitch::~HomeSwitch() {
    qputenv("QUORVANE_HOME", m_previous);
}

} // namespace QuorvaneTest
