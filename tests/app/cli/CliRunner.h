#pragma once
// Runs quorvane-cli as a process with its own QUORVANE_HOME, and seeds the
// catalogue that home selects through the SDK.

#include "foundation/Records.h"

#include <QJsonDocument>
#include <QString>
#include <QStringList>

namespace QuorvaneTest {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out.toUtf8()); }
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// Runs the program with `home` as QUORVANE_HOME, `input` on stdin (closed
// after it), and waits at most 60 s.
CliResult runCli(const QString& home, const QStringList& args, const QByteArray& input = {});

// Points QUORVANE_HOME of this process at `home` while it lives, so the
// SDK works on the catalogue the program uses.
class HomeSwitch {
public:
    explicit HomeSwitch(const QString& home);
    ~HomeSwitch();

private:
    QByteArray m_previous;
};

} // namespace QuorvaneTest
