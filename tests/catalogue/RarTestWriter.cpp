#include "RarTestWriter.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <zlib.h>

namespace QuorvaneTest {

namespace {

quint32 crc(const QByteArray& bytes) {
    return quint32(
        ::crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putVint(QByteArray& out, quint64 v) {
    do {
        quint8 b = v & 0x7F;
        v >>= 7;
        if (v)
            b |= 0x80;
        out.append(char(b));
    } while (v);
}

// The 4.x wide-name encoding: single bytes where the narrow name already has
// the character (runs), one byte with the shared high byte, or two bytes.
QByteArray encodeWideName(const QByteArray& narrow, const QString& wide) {
    const quint8 high = 0x04; // Cyrillic block, used by the tests' names
    QByteArray out(1, char(high));
    QList<quint8> ops;
    QByteArray payload;
    QList<QByteArray> chunks;
    for (qsizetype i = 0; i < wide.size();) {
        qsizetype run = 0;
        while (i + run < wide.size() && i + run < narrow.size() && run < 129 &&
               wide[i + run].unicode() == quint8(narrow[i + run]))
            ++run;
        if (run >= 3) {
            ops.append(3);
            chunks.append(QByteArray(1, char(run - 2)));
            i += run;
            continue;
        }
        const char16_t c = wide[i].unicode();
        if (c < 0x100) {
            ops.append(0);
            chunks.append(QByteArray(1, char(c)));
        } else if ((c >> 8) == high) {
            ops.append(1);
            chunks.append(QByteArray(1, char(c & 0xFF)));
        } else {
            ops.append(2);
            chunks.append(QByteArray({char(c & 0xFF), char(c >> 8)}));
        }
        ++i;
    }
    for (qsizetype i = 0; i < ops.size(); i += 4) {
        quint8 flags = 0;
        for (int k = 0; k < 4; ++k)
            flags |= quint8((i + k < ops.size() ? ops[i + k] : 0) << (6 - 2 * k));
        out.append(char(flags));
        for (int k = 0; k < 4 && i + k < ops.size(); ++k)
            out.append(chunks[i + k]);
    }
    return out;
}

QByteArray rar4Block(quint8 type, quint16 flags, const QByteArray& fields) {
    QByteArray body;
    body.append(char(type));
    put16(body, flags);
    put16(body, quint32(fields.size() + 7));
    body.append(fields);
    QByteArray block;
    put16(block, crc(body) & 0xFFFF);
    block.append(body);
    return block;
}

QByteArray rar4FileBlock(quint8 type, const RarTestEntry& e, const QByteArray& storedName) {
    const quint64 unpacked = e.claimedSize.value_or(quint64(e.data.size()));
    quint16 flags = 0x8000;
    if (e.directory)
        flags |= 0x00E0;
    if (e.encrypted)
        flags |= 0x0004;
    const bool large = unpacked > 0xFFFFFFFFull;
    if (large)
        flags |= 0x0100;
    QByteArray name = storedName;
    if (e.unicodeName) {
        flags |= 0x0200;
        name.append('\0');
        name.append(encodeWideName(storedName, QString(e.name).replace('/', '\\')));
    }
    QByteArray f;
    put32(f, quint32(e.data.size()));
    put32(f, quint32(unpacked & 0xFFFFFFFF));
    f.append(char(e.unixHost ? 3 : 2));
    put32(f, crc(e.data));
    put32(f, e.dosTime);
    f.append(char(29));   // version 2.9
    f.append(char(0x30)); // stored
    put16(f, quint32(name.size()));
    put32(f, e.attributes);
    if (large) {
        put32(f, 0);
        put32(f, quint32(unpacked >> 32));
    }
    f.append(name);
    return rar4Block(type, flags, f) + e.data;
}

// File and service headers always carry a data size, even of 0, as RAR does.
QByteArray rar5Header(quint64 type, quint64 flags, const QByteArray& fields, quint64 dataSize = 0) {
    const bool hasData = type == 2 || type == 3;
    QByteArray body;
    putVint(body, type);
    putVint(body, flags | (hasData ? 0x0002 : 0));
    if (hasData)
        putVint(body, dataSize);
    body.append(fields);
    QByteArray sized;
    putVint(sized, quint64(body.size()));
    sized.append(body);
    QByteArray out;
    put32(out, crc(sized));
    return out + sized;
}

QByteArray rar5FileHeader(quint64 type, const RarTestEntry& e, quint32 unixTime) {
    QByteArray f;
    putVint(f, (e.directory ? 0x1 : 0) | 0x2 | 0x4);
    putVint(f, e.claimedSize.value_or(quint64(e.data.size())));
    putVint(f, e.attributes);
    put32(f, unixTime);
    put32(f, crc(e.data));
    putVint(f, 0); // version 0, stored
    putVint(f, e.unixHost ? 1 : 0);
    const QByteArray name = e.name.toUtf8();
    putVint(f, quint64(name.size()));
    f.append(name);
    quint64 flags = 0;
    if (e.encrypted) { // an encryption record: type 1, then a token body
        QByteArray record;
        putVint(record, 1);
        record.append(QByteArray(20, '\x5A'));
        QByteArray extra;
        putVint(extra, quint64(record.size()));
        extra.append(record);
        f.append(extra);
        flags |= 0x0001;
        // The extra-area size goes before the data size: rebuild by hand.
        QByteArray body;
        putVint(body, type);
        putVint(body, flags | 0x0002);
        putVint(body, quint64(extra.size()));
        putVint(body, quint64(e.data.size()));
        body.append(f);
        QByteArray sized;
        putVint(sized, quint64(body.size()));
        sized.append(body);
        QByteArray out;
        put32(out, crc(sized));
        return out + sized + e.data;
    }
    return rar5Header(type, flags, f, quint64(e.data.size())) + e.data;
}

quint32 unixTimeOfDos(quint32 dos) {
    // Only for writing: the tests compare RAR 5 times in UTC seconds.
    return 1700000000u + (dos & 0xFFFF);
}

} // namespace

QByteArray makeRar4(const QList<RarTestEntry>& entries, const QByteArray& comment,
                    Rar4Comment style, bool encryptedHeaders) {
    QByteArray out("Rar!\x1a\x07\x00", 7);
    QByteArray mainFields(6, '\0');
    quint16 mainFlags = encryptedHeaders ? 0x0080 : 0;
    if (!comment.isEmpty() && style == Rar4Comment::InMainHeader) {
        QByteArray cmt;
        put16(cmt, quint32(comment.size()));
        cmt.append(char(15));
        cmt.append(char(0x30));
        put16(cmt, crc(comment) & 0xFFFF);
        QByteArray body;
        body.append(char(0x75));
        put16(body, 0);
        put16(body, quint32(cmt.size() + comment.size() + 7));
        body.append(cmt);
        QByteArray commentBlock;
        put16(commentBlock, crc(body) & 0xFFFF);
        commentBlock.append(body);
        commentBlock.append(comment);
        mainFlags |= 0x0002;
        // The main header's checksum covers its fixed fields only.
        QByteArray fixed;
        fixed.append(char(0x73));
        put16(fixed, mainFlags);
        put16(fixed, quint32(13 + commentBlock.size()));
        fixed.append(mainFields);
        put16(out, crc(fixed) & 0xFFFF);
        out.append(fixed);
        out.append(commentBlock);
    } else {
        out.append(rar4Block(0x73, mainFlags | (comment.isEmpty() ? 0 : 0x0002), mainFields));
    }
    if (!comment.isEmpty() && style == Rar4Comment::SubBlock) {
        RarTestEntry cmt;
        cmt.name = "CMT";
        cmt.data = comment;
        cmt.attributes = 0;
        out.append(rar4FileBlock(0x7a, cmt, "CMT"));
    }
    for (const RarTestEntry& e : entries) {
        const QByteArray stored =
            e.rawName.isEmpty() ? QString(e.name).replace('/', '\\').toLatin1() : e.rawName;
        out.append(rar4FileBlock(0x74, e, stored));
    }
    QByteArray endFields;
    out.append(rar4Block(0x7b, 0x4000, endFields));
    return out;
}

QByteArray makeRar5(const QList<RarTestEntry>& entries, const QByteArray& comment,
                    bool encryptedHeaders) {
    QByteArray out("Rar!\x1a\x07\x01\x00", 8);
    if (encryptedHeaders) {
        QByteArray f;
        putVint(f, 0);                    // version
        putVint(f, 0);                    // flags
        f.append(char(15));               // KDF count
        f.append(QByteArray(16, '\x11')); // salt
        out.append(rar5Header(4, 0, f));
    }
    QByteArray mainFields;
    putVint(mainFields, 0);
    out.append(rar5Header(1, 0, mainFields));
    if (!comment.isEmpty()) {
        RarTestEntry cmt;
        cmt.name = "CMT";
        cmt.data = comment;
        cmt.attributes = 0;
        out.append(rar5FileHeader(3, cmt, 0));
    }
    for (const RarTestEntry& e : entries)
        out.append(rar5FileHeader(2, e, unixTimeOfDos(e.dosTime)));
    QByteArray endFields;
    putVint(endFields, 0);
    out.append(rar5Header(5, 0, endFields));
    return out;
}

WitnessListing libarchiveListing(const QByteArray& bytes) {
    WitnessListing result;
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    if (archive_read_open_memory(a.get(), bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK)
        return result;
    archive_entry* entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF) {
            result.complete = true;
            break;
        }
        if (r < ARCHIVE_WARN) {
            result.error = QString::fromUtf8(archive_error_string(a.get()));
            break;
        }
        const char* utf8 = archive_entry_pathname_utf8(entry);
        QString name =
            utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(archive_entry_pathname(entry));
        const bool dir = archive_entry_filetype(entry) == AE_IFDIR;
        if (dir && name.endsWith('/'))
            name.chop(1);
        result.entries.append({name, qint64(archive_entry_size(entry)), dir});
        archive_read_data_skip(a.get());
    }
    return result;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace QuorvaneTest
