#include "TestFiles.h"

#include <QFile>

namespace TextExtractorTest {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

QString fixturePath(const QString& name) {
    QString base = QString::fromLocal8Bit(qgetenv("QUORVANE_TEST_DATA"));
    if (base.isEmpty())
        base = QStringLiteral(TEXTEXTRACTOR_TEST_DIR);
    return base + QStringLiteral("/fixtures/") + name;
}

QByteArray readFixture(const QString& name) {
    QFile f(fixturePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace TextExtractorTest
