#pragma once
// Small helpers the text extraction tests share: a temporary folder to write
// files into, and the path of committed fixtures.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{' << l.join(u'|').toStdString() << '}';
}

namespace TextExtractorTest {

// Writes bytes to dir/name and returns the full path (empty on failure).
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

QString fixturePath(const QString& name);
QByteArray readFixture(const QString& name);

} // namespace TextExtractorTest
