#include "ZipTestWriter.h"

#include <zlib.h>

namespace QuorvaneTest {

namespace {

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put64(QByteArray& out, quint64 v) {
    put32(out, quint32(v));
    put32(out, quint32(v >> 32));
}

} // namespace

RawZipEntry rawEntry(const QByteArray& name, const QByteArray& data) {
    RawZipEntry e;
    e.name = name;
    e.data = data;
    return e;
}

QByteArray makeRawZip(const QList<RawZipEntry>& entries) {
    QByteArray out, central;
    for (const RawZipEntry& e : entries) {
        const quint64 size = e.claimedSize ? e.claimedSize : quint64(e.data.size());
        const quint32 crc = quint32(
            ::crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), uInt(e.data.size())));
        QByteArray extra;
        if (e.zip64) {
            put16(extra, 0x0001);
            put16(extra, 16);
            put64(extra, size);
            put64(extra, quint64(e.data.size()));
        }
        const quint32 size32 = e.zip64 ? 0xFFFFFFFFu : quint32(size);
        const quint32 comp32 = e.zip64 ? 0xFFFFFFFFu : quint32(e.data.size());
        const quint16 needed = e.zip64 ? 45 : 20;
        const quint16 flags = e.utf8Flag ? 0x0800 : 0;
        const quint32 offset = quint32(out.size());
        put32(out, 0x04034b50);
        put16(out, needed);
        put16(out, flags);
        put16(out, 0); // stored
        put16(out, e.dosTime);
        put16(out, e.dosDate);
        put32(out, crc);
        put32(out, comp32);
        put32(out, size32);
        put16(out, quint32(e.name.size()));
        put16(out, quint32(extra.size()));
        out.append(e.name);
        out.append(extra);
        out.append(e.data);

        put32(central, 0x02014b50);
        put16(central, quint32(e.madeBy) << 8 | 63);
        put16(central, needed);
        put16(central, flags);
        put16(central, 0);
        put16(central, e.dosTime);
        put16(central, e.dosDate);
        put32(central, crc);
        put32(central, comp32);
        put32(central, size32);
        put16(central, quint32(e.name.size()));
        put16(central, quint32(extra.size()));
        put16(central, quint32(e.comment.size()));
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, e.external);
        put32(central, offset);
        central.append(e.name);
        central.append(extra);
        central.append(e.comment);
    }
    const quint32 centralOffset = quint32(out.size());
    out.append(central);
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint32(entries.size()));
    put16(out, quint32(entries.size()));
    put32(out, quint32(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

} // namespace QuorvaneTest
