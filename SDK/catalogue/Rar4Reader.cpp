// Headers of the RAR 1.5-4.x format: blocks of HEAD_CRC (16 bits),
// HEAD_TYPE, HEAD_FLAGS, HEAD_SIZE and, with flag 0x8000, a 32-bit size of
// the data that follows the block.

#include "catalogue/ArchiveText.h"
#include "catalogue/RarFormat.h"

namespace QuorvaneSDK::RarFormat {

namespace {

enum : quint8 {
    kMainHead = 0x73,
    kFileHead = 0x74,
    kNewSubHead = 0x7a,
    kEndArcHead = 0x7b,
};

enum : quint16 {
    kMainVolume = 0x0001,
    kMainComment = 0x0002,
    kMainPassword = 0x0080,
    kMainEncryptVer = 0x0200,
    kFileSplitBefore = 0x0001,
    kFileSplitAfter = 0x0002,
    kFilePassword = 0x0004,
    kFileDirectoryMask = 0x00E0,
    kFileLarge = 0x0100,
    kFileUnicode = 0x0200,
    kLongBlock = 0x8000,
};

constexpr quint8 kMethodStore = 0x30;

// The second half of a name stored with flag 0x0200: a compact encoding of
// the wide name relative to the single-byte name before it.
QString decodeWideName(const QByteArray& narrow, const QByteArray& encoded) {
    QString out;
    if (encoded.isEmpty())
        return out;
    qsizetype pos = 0;
    const auto at = [&](qsizetype i) { return static_cast<quint8>(encoded[i]); };
    const quint8 highByte = at(pos++);
    quint8 flags = 0;
    int flagBits = 0;
    constexpr qsizetype kMaxName = 2048;
    while (pos < encoded.size() && out.size() < kMaxName) {
        if (flagBits == 0) {
            flags = at(pos++);
            flagBits = 8;
        }
        switch (flags >> 6) {
        case 0:
            if (pos >= encoded.size())
                return out;
            out.append(QChar(at(pos++)));
            break;
        case 1:
            if (pos >= encoded.size())
                return out;
            out.append(QChar(char16_t(at(pos++) | highByte << 8)));
            break;
        case 2:
            if (pos + 1 >= encoded.size())
                return out;
            out.append(QChar(char16_t(at(pos) | at(pos + 1) << 8)));
            pos += 2;
            break;
        default: {
            if (pos >= encoded.size())
                return out;
            int length = at(pos++);
            quint8 correction = 0;
            const bool corrected = length & 0x80;
            if (corrected) {
                if (pos >= encoded.size())
                    return out;
                correction = at(pos++);
                length &= 0x7F;
            }
            for (length += 2; length > 0 && out.size() < kMaxName; --length) {
                const qsizetype i = out.size();
                if (i >= narrow.size())
                    return out;
                const quint8 b = static_cast<quint8>(narrow[i]);
                out.append(corrected ? QChar(char16_t(quint8(b + correction) | highByte << 8))
                                     : QChar(b));
            }
            break;
        }
        }
        flags = quint8(flags << 2);
        flagBits -= 2;
    }
    return out;
}

QString decodeName(const QByteArray& stored, bool unicode) {
    if (!unicode)
        return ArchiveText::fromCp437(stored);
    const qsizetype zero = stored.indexOf('\0');
    if (zero < 0) // no single-byte part: the whole name is UTF-8
        return QString::fromUtf8(stored);
    const QByteArray narrow = stored.left(zero);
    const QString wide = decodeWideName(narrow, stored.mid(zero + 1));
    return wide.isEmpty() ? ArchiveText::fromCp437(narrow) : wide;
}

struct Block {
    quint16 crc = 0;
    quint8 type = 0;
    quint16 flags = 0;
    quint16 size = 0;
    QByteArray bytes; // the whole header
};

// Fills `entry` from a file or sub-block header; false when it is malformed.
bool parseFileHeader(const Block& block, RarEntry& entry, quint64& dataSize) {
    Cursor c(block.bytes, 7);
    quint64 packed = c.u32();
    quint64 unpacked = c.u32();
    entry.HostOS = c.u8();
    entry.FileCRC = c.u32();
    entry.DosTime = c.u32();
    entry.UnpackVersion = c.u8();
    entry.Method = c.u8();
    const quint16 nameSize = c.u16();
    entry.RawAttributes = c.u32();
    if (block.flags & kFileLarge) {
        packed |= quint64(c.u32()) << 32;
        unpacked |= quint64(c.u32()) << 32;
    }
    const QByteArray name = c.bytes(nameSize);
    if (c.failed())
        return false;
    entry.Flags = block.flags;
    entry.PackedSize = packed;
    entry.UnpackedSize = unpacked;
    entry.Name = ArchiveText::normalisedEntryPath(decodeName(name, block.flags & kFileUnicode));
    entry.IsDirectory = (block.flags & kFileDirectoryMask) == kFileDirectoryMask;
    entry.IsEncrypted = block.flags & kFilePassword;
    entry.IsSplit = block.flags & (kFileSplitBefore | kFileSplitAfter);
    const bool unixHost = entry.HostOS >= 3; // Unix, Mac OS, BeOS keep mode bits
    entry.Attributes =
        RarHeaderReader::dosAttributes(unixHost, entry.RawAttributes, entry.IsDirectory);
    if (ArchiveText::isValidDosDateTime(entry.DosTime))
        entry.Modified = ArchiveText::fromDosDateTime(entry.DosTime);
    dataSize = packed;
    return true;
}

// The comment block that archives of RAR 2.x keep inside the main header.
QString oldStyleComment(const Block& main, qsizetype offset) {
    Cursor c(main.bytes, offset);
    c.skip(7); // its own CRC, type, flags and size
    const quint16 unpackedSize = c.u16();
    c.skip(1); // version
    const quint8 method = c.u8();
    c.skip(2); // comment CRC
    if (c.failed() || method != kMethodStore)
        return {};
    return ArchiveText::fromUtf8OrCp437(c.bytes(qMin<qsizetype>(unpackedSize, c.remaining())))
        .trimmed();
}

bool checkCrc(const Block& block) {
    // The main header's checksum covers only its fixed fields: the old
    // embedded comment has its own.
    qsizetype covered = block.size;
    if (block.type == kMainHead)
        covered = qMin<qsizetype>(block.size, (block.flags & kMainEncryptVer) ? 14 : 13);
    const quint16 crc = quint16(ArchiveText::crc32(block.bytes.constData() + 2, covered - 2));
    if (crc == block.crc)
        return true;
    return block.type == kMainHead &&
           quint16(ArchiveText::crc32(block.bytes.constData() + 2, block.size - 2)) == block.crc;
}

} // namespace

void readRar4(const Source& source, qint64 start, RarListing& listing) {
    qint64 pos = start;
    for (;;) {
        if (pos == source.size()) { // older versions end without an end block
            listing.Complete = true;
            return;
        }
        Block block;
        QByteArray base = source.readAt(pos, 7);
        if (base.isEmpty()) {
            listing.Error = QStringLiteral("truncated header");
            return;
        }
        Cursor c(base);
        block.crc = c.u16();
        block.type = c.u8();
        block.flags = c.u16();
        block.size = c.u16();
        if (block.size < 7) {
            listing.Error = QStringLiteral("damaged header");
            return;
        }
        block.bytes = source.readAt(pos, block.size);
        if (block.bytes.isEmpty()) {
            listing.Error = QStringLiteral("truncated header");
            return;
        }
        if (!checkCrc(block)) {
            listing.Error = QStringLiteral("header checksum mismatch");
            return;
        }
        quint64 dataSize = 0;
        if (block.flags & kLongBlock) {
            Cursor add(block.bytes, 7);
            dataSize = add.u32();
            if (add.failed()) {
                listing.Error = QStringLiteral("damaged header");
                return;
            }
        }
        switch (block.type) {
        case kMainHead:
            listing.IsVolume = block.flags & kMainVolume;
            if (block.flags & kMainPassword) {
                listing.HeadersEncrypted = true;
                listing.Error = QStringLiteral("headers are encrypted");
                return;
            }
            if ((block.flags & kMainComment) && block.size > 13)
                listing.Comment = oldStyleComment(block, (block.flags & kMainEncryptVer) ? 14 : 13);
            break;
        case kFileHead:
        case kNewSubHead: {
            RarEntry entry;
            if (!parseFileHeader(block, entry, dataSize)) {
                listing.Error = QStringLiteral("damaged file header");
                return;
            }
            entry.DataOffset = pos + block.size;
            entry.IsTruncated = dataSize > quint64(source.size() - entry.DataOffset);
            if (block.type == kFileHead) {
                listing.Entries.append(entry);
            } else if (entry.Name == QLatin1String("CMT") && entry.Method == kMethodStore &&
                       !entry.IsEncrypted && !entry.IsTruncated) {
                const qint64 length = qMin<qint64>(qint64(entry.UnpackedSize), kMaxCommentBytes);
                if (entry.PackedSize >= quint64(length))
                    listing.Comment =
                        ArchiveText::fromUtf8OrCp437(source.readAt(entry.DataOffset, length))
                            .trimmed();
            }
            break;
        }
        case kEndArcHead:
            listing.Complete = true;
            return;
        default:
            break; // comments of old versions, recovery records, signatures
        }
        const quint64 next = quint64(pos) + block.size + dataSize;
        if (next > quint64(source.size())) {
            listing.Error = QStringLiteral("archive is truncated");
            return;
        }
        pos = qint64(next);
    }
}

} // namespace QuorvaneSDK::RarFormat
