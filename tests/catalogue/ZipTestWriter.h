#pragma once
// ZIP fixtures: normal archives through libzip, and a hand-made writer for
// what libzip will not produce (lying sizes, raw names, chosen host bytes).

#include <QByteArray>
#include <QList>
#include <QString>

namespace QuorvaneTest {

struct RawZipEntry {
    QByteArray name; // stored bytes
    QByteArray data; // stored uncompressed
    bool utf8Flag = false;
    quint8 madeBy = 0;        // host byte of "version made by"
    quint32 external = 0x20;  // external attributes
    quint16 dosTime = 0x6B61; // 13:27:02
    quint16 dosDate = 0x5A8B; // 2025-04-11
    quint64 claimedSize = 0;  // uncompressed size written; 0 = data size
    bool zip64 = false;       // sizes in a Zip64 extra field
    QByteArray comment;
};

QByteArray makeRawZip(const QList<RawZipEntry>& entries);

RawZipEntry rawEntry(const QByteArray& name, const QByteArray& data);

} // namespace QuorvaneTest
