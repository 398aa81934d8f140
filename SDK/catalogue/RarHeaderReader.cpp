#include "catalogue/RarHeaderReader.h"
#include "catalogue/RarFormat.h"

#include <QFile>

namespace QuorvaneSDK {

namespace RarFormat {

QByteArray Source::readAt(qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || offset > m_size || length > m_size - offset)
        return {};
    if (!m_device.seek(offset))
        return {};
    QByteArray data = m_device.read(length);
    return data.size() == length ? data : QByteArray();
}

bool Cursor::need(qsizetype length) {
    if (m_failed || length < 0 || length > m_end - m_pos) {
        m_failed = true;
        return false;
    }
    return true;
}

quint8 Cursor::u8() {
    if (!need(1))
        return 0;
    return static_cast<quint8>(m_bytes[m_pos++]);
}

quint16 Cursor::u16() {
    const quint16 low = u8();
    return quint16(low | quint16(u8()) << 8);
}

quint32 Cursor::u32() {
    const quint32 low = u16();
    return low | quint32(u16()) << 16;
}

quint64 Cursor::u64() {
    const quint64 low = u32();
    return low | quint64(u32()) << 32;
}

quint64 Cursor::vint() {
    quint64 value = 0;
    for (int shift = 0; shift < 70; shift += 7) {
        const quint8 b = u8();
        if (m_failed)
            return 0;
        if (shift < 64)
            value |= quint64(b & 0x7F) << shift;
        if (!(b & 0x80))
            return value;
    }
    m_failed = true; // more than ten bytes: not a number of this format
    return 0;
}

QByteArray Cursor::bytes(qsizetype length) {
    if (!need(length))
        return {};
    QByteArray out = m_bytes.mid(m_pos, length);
    m_pos += length;
    return out;
}

void Cursor::skip(qsizetype length) {
    if (need(length))
        m_pos += length;
}

qint64 findMarker(const Source& source, const QByteArray& marker) {
    constexpr qint64 kSearchLimit = 1024 * 1024;
    const QByteArray head = source.readAt(0, qMin(source.size(), kSearchLimit));
    const qsizetype at = head.indexOf(marker);
    return at;
}

} // namespace RarFormat

quint32 RarHeaderReader::dosAttributes(bool unixHost, quint32 raw, bool isDirectory) {
    if (!unixHost)
        return isDirectory ? (raw | 0x10u) : raw;
    if (isDirectory)
        return 0x10;
    switch (raw & 0xF000u) {
    case 0x4000u: // directory
        return 0x10;
    case 0x8000u: // regular file
    case 0:       // no type recorded: a plain file
        return 0x20;
    default: // links, devices, pipes
        return 0;
    }
}

RarListing RarHeaderReader::read(QIODevice& device) {
    RarListing listing;
    const RarFormat::Source source(device);
    const QByteArray common("Rar!\x1a\x07", 6);
    const qint64 at = RarFormat::findMarker(source, common);
    if (at < 0) {
        listing.Error = QStringLiteral("not a RAR archive");
        return listing;
    }
    const QByteArray tail = source.readAt(at + 6, 2);
    if (tail.size() == 2 && tail[0] == '\x01' && tail[1] == '\x00') {
        listing.Format = 5;
        RarFormat::readRar5(source, at + 8, listing);
    } else if (!tail.isEmpty() && tail[0] == '\x00') {
        listing.Format = 4;
        RarFormat::readRar4(source, at + 7, listing);
    } else {
        listing.Error = QStringLiteral("unknown RAR format version");
    }
    return listing;
}

RarListing RarHeaderReader::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        RarListing listing;
        listing.Error = file.errorString();
        return listing;
    }
    return read(file);
}

} // namespace QuorvaneSDK
