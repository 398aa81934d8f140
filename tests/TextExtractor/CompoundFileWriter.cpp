#include "CompoundFileWriter.h"

#include <QtEndian>

namespace TextExtractorTest {

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr int kSector = 512;

void put16(QByteArray& b, qint64 at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, qint64 at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}
quint32 get32(const QByteArray& b, qint64 at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

int sectorsFor(qint64 bytes, int unit = kSector) {
    return int((bytes + unit - 1) / unit);
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 right, quint32 child,
                          quint32 start, quint32 size) {
    QByteArray e(128, '\0');
    for (int i = 0; i < name.size() && i < 31; ++i)
        put16(e, 2 * i, name.at(i).unicode());
    put16(e, 64, quint16(2 * (std::min<int>(name.size(), 31) + 1)));
    e[66] = char(type);
    e[67] = 1; // black
    put32(e, 68, kFree);
    put32(e, 72, right);
    put32(e, 76, child);
    put32(e, 116, start);
    put32(e, 120, size);
    return e;
}

} // namespace

QByteArray buildCompoundFile(const QList<CfbStream>& streams) {
    // Mini stream: small streams back to back in 64-byte units.
    QByteArray mini;
    QList<quint32> miniFat;
    QList<quint32> miniStart;
    for (const CfbStream& s : streams) {
        if (s.data.size() >= 4096) {
            miniStart.append(0);
            continue;
        }
        const int first = int(mini.size() / 64);
        const int count = sectorsFor(s.data.size(), 64);
        miniStart.append(count ? quint32(first) : kEnd);
        for (int i = 0; i < count; ++i)
            miniFat.append(i + 1 < count ? quint32(first + i + 1) : kEnd);
        mini += s.data;
        mini.append(QByteArray(count * 64 - s.data.size(), '\0'));
    }

    const int dirSectors = sectorsFor((streams.size() + 1) * 128);
    const int miniFatSectors = sectorsFor(miniFat.size() * 4);
    const int miniSectors = sectorsFor(mini.size());
    int regular = 0;
    for (const CfbStream& s : streams)
        if (s.data.size() >= 4096)
            regular += sectorsFor(s.data.size());
    const int others = dirSectors + miniFatSectors + miniSectors + regular;
    int fatSectors = 1;
    while (fatSectors * (kSector / 4) < fatSectors + others)
        ++fatSectors;

    QList<quint32> fat;
    for (int i = 0; i < fatSectors; ++i)
        fat.append(kFatSect);
    const auto chain = [&fat](int count) {
        const quint32 first = quint32(fat.size());
        for (int i = 0; i < count; ++i)
            fat.append(i + 1 < count ? quint32(first + i + 1) : kEnd);
        return count ? first : kEnd;
    };
    const quint32 dirStart = chain(dirSectors);
    const quint32 miniFatStart = chain(miniFatSectors);
    const quint32 miniStreamStart = chain(miniSectors);

    QByteArray directory = directoryEntry("Root Entry", 5, kFree, streams.isEmpty() ? kFree : 1,
                                          miniStreamStart, quint32(mini.size()));
    QByteArray body;
    for (int i = 0; i < streams.size(); ++i) {
        const CfbStream& s = streams[i];
        quint32 start = miniStart[i];
        if (s.data.size() >= 4096) {
            start = chain(sectorsFor(s.data.size()));
            body += s.data;
            body.append(QByteArray(sectorsFor(s.data.size()) * kSector - s.data.size(), '\0'));
        }
        const quint32 right = i + 1 < streams.size() ? quint32(i + 2) : kFree;
        directory += directoryEntry(s.name, 2, right, kFree, start, quint32(s.data.size()));
    }
    while (directory.size() < dirSectors * kSector)
        directory += directoryEntry(QString(), 0, kFree, kFree, 0, 0);
    while (fat.size() < fatSectors * kSector / 4)
        fat.append(kFree);

    QByteArray header(kSector, '\0');
    const char sig[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    std::copy_n(sig, 8, header.data());
    put16(header, 24, 0x3E);
    put16(header, 26, 3);
    put16(header, 28, 0xFFFE);
    put16(header, 30, 9);
    put16(header, 32, 6);
    put32(header, 44, quint32(fatSectors));
    put32(header, 48, dirStart);
    put32(header, 56, 4096);
    put32(header, 60, miniFatSectors ? miniFatStart : kEnd);
    put32(header, 64, quint32(miniFatSectors));
    put32(header, 68, kEnd);
    for (int i = 0; i < 109; ++i)
        put32(header, 76 + 4 * i, i < fatSectors ? quint32(i) : kFree);

    QByteArray out = header;
    for (const quint32 v : fat) {
        QByteArray w(4, '\0');
        put32(w, 0, v);
        out += w;
    }
    out += directory;
    QByteArray miniFatBytes(miniFatSectors * kSector, char(0xFF));
    for (int i = 0; i < miniFat.size(); ++i)
        put32(miniFatBytes, 4 * i, miniFat[i]);
    out += miniFatBytes;
    out += mini;
    out.append(QByteArray(miniSectors * kSector - mini.size(), '\0'));
    out += body;
    return out;
}

namespace {
constexpr int kTextStart = 0x400;
constexpr int kClxPairOffset = 154 + 33 * 8;

qint64 pieceChars(const WordPiece& p) {
    return p.compressed ? p.ansi.size() : p.unicode.size();
}
} // namespace

QByteArray buildWordDocumentStream(const WordDocumentLayout& layout) {
    QByteArray wd(kTextStart, '\0');
    put16(wd, 0, 0xA5EC);
    put16(wd, 2, 0x00C1);
    put16(wd, 10, quint16((layout.tableOne ? 0x0200 : 0) | (layout.encrypted ? 0x0100 : 0)));
    put16(wd, 32, 14);
    put16(wd, 62, 22);
    qint64 ccp = layout.extraCcp;
    for (const WordPiece& p : layout.pieces)
        ccp += pieceChars(p);
    put32(wd, 64 + 12, quint32(ccp));
    put16(wd, 152, 93);
    const QByteArray table = buildTableStream(layout);
    put32(wd, kClxPairOffset, 0);
    put32(wd, kClxPairOffset + 4, quint32(table.size()));
    for (const WordPiece& p : layout.pieces) {
        if (p.compressed) {
            wd += p.ansi;
        } else {
            for (const QChar c : p.unicode) {
                QByteArray w(2, '\0');
                put16(w, 0, c.unicode());
                wd += w;
            }
        }
    }
    if (wd.size() < layout.padStreamTo)
        wd.append(QByteArray(layout.padStreamTo - wd.size(), '\0'));
    return wd;
}

QByteArray buildTableStream(const WordDocumentLayout& layout) {
    QByteArray t;
    if (layout.propertyRunFirst) {
        t.append(char(1));
        t.append(QByteArray("\x04\x00\x11\x22\x33\x44", 6));
    }
    const int n = int(layout.pieces.size());
    QByteArray plc(4 * (n + 1) + 8 * n, '\0');
    quint32 cp = 0;
    qint64 fc = kTextStart;
    for (int i = 0; i < n; ++i) {
        const WordPiece& p = layout.pieces[i];
        put32(plc, 4 * i, cp);
        cp += quint32(pieceChars(p));
        const qint64 pcd = 4 * (n + 1) + 8 * i;
        put32(plc, pcd + 2, p.compressed ? quint32(fc * 2) | 0x40000000u : quint32(fc));
        fc += p.compressed ? p.ansi.size() : 2 * p.unicode.size();
    }
    put32(plc, 4 * n, cp);
    t.append(char(2));
    QByteArray len(4, '\0');
    put32(len, 0, quint32(plc.size()));
    t += len + plc;
    return t;
}

QByteArray buildWordDocument(const WordDocumentLayout& layout) {
    return buildCompoundFile({{"WordDocument", buildWordDocumentStream(layout)},
                              {layout.tableOne ? "1Table" : "0Table", buildTableStream(layout)}});
}

CfbLayout::CfbLayout(const QByteArray& f) : file(f) {
}

qint64 CfbLayout::fatEntryOffset(quint32 sector) const {
    const quint32 fatSector = get32(file, 76 + 4 * (sector / 128));
    return (qint64(fatSector) + 1) * kSector + 4 * (sector % 128);
}

qint64 CfbLayout::entryOffset(const QString& name) const {
    for (quint32 s = get32(file, 48); s != kEnd && s < 100000;) {
        for (int i = 0; i < 4; ++i) {
            const qint64 at = (qint64(s) + 1) * kSector + 128 * i;
            if (at + 128 > file.size())
                return -1;
            const int len = qFromLittleEndian<quint16>(file.constData() + at + 64);
            if (len >= 2 && len <= 64 &&
                QString::fromUtf16(reinterpret_cast<const char16_t*>(file.constData() + at),
                                   len / 2 - 1) == name)
                return at;
        }
        s = get32(file, fatEntryOffset(s));
    }
    return -1;
}

quint32 CfbLayout::startSector(const QString& name) const {
    return get32(file, entryOffset(name) + 116);
}

} // namespace TextExtractorTest
