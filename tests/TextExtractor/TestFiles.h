#pragma once
// Small helpers the text extraction tests share: a temporary folder to write
// files into, and the path of committed fixtures.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace TextExtractorTest {

// Writes bytes to dir/name and returns the full path (empty on failure).
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

QString fixturePath(const QString& name);
QByteArray readFixture(const QString& name);

} // namespace TextExtractorTest
