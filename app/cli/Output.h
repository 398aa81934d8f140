#pragma once
// Results go to stdout, messages to stderr (prefixed with the program's
// name). Tables are plain aligned text; --json prints one JSON document.

#include <QJsonDocument>
#include <QList>
#include <QString>
#include <QStringList>

namespace QuorvaneCli {

inline constexpr const char* kProgramName = "quorvane-cli";

// One line on stderr: "quorvane-cli: <text>".
void printMessage(const QString& text);
// Text on stdout as it stands (a line end is added when missing).
void printOut(const QString& text);
void printJson(const QJsonDocument& document);
// Columns padded to their widest cell; the last column is not padded.
void printTable(const QStringList& header, const QList<QStringList>& rows);

} // namespace QuorvaneCli
