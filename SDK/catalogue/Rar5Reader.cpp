// Headers of the RAR 5.x format: CRC-32, header size (variable-length
// integer), then type, flags, optional extra-area and data sizes, the
// type's fields and the extra area; the data area follows the header.

#include "catalogue/ArchiveText.h"
#include "catalogue/RarFormat.h"

namespace QuorvaneSDK::RarFormat {

namespace {

enum : quint64 {
    kMainHeader = 1,
    kFileHeader = 2,
    kServiceHeader = 3,
    kEncryptionHeader = 4,
    kEndHeader = 5,
};

enum : quint64 {
    kHasExtra = 0x0001,
    kHasData = 0x0002,
    kSplitBefore = 0x0008,
    kSplitAfter = 0x0010,
    kFileIsDirectory = 0x0001,
    kFileHasTime = 0x0002,
    kFileHasCrc = 0x0004,
    kArchiveVolume = 0x0001,
};

enum : quint64 {
    kExtraEncryption = 0x01,
    kExtraTime = 0x03,
};

constexpr quint64 kMaxHeaderSize = 2 * 1024 * 1024;
constexpr int kHostUnix = 1;
constexpr qint64 kFileTimeUnixEpochSeconds = 11644473600; // 1970 counted from 1601

QDateTime fromUnixTime(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime();
}

// Time and encryption records of a file header's extra area.
void readExtra(const QByteArray& bytes, qsizetype from, qsizetype to, RarEntry& entry) {
    Cursor c(bytes, from, to);
    while (c.remaining() > 0) {
        const quint64 size = c.vint();
        if (c.failed() || size == 0 || size > quint64(c.remaining()))
            return;
        const qsizetype recordEnd = c.position() + qsizetype(size);
        Cursor record(bytes, c.position(), recordEnd);
        const quint64 type = record.vint();
        if (type == kExtraEncryption) {
            entry.IsEncrypted = true;
        } else if (type == kExtraTime && !entry.Modified.isValid()) {
            const quint64 flags = record.vint();
            if (flags & 0x0002) { // modification time present
                const bool unixFormat = flags & 0x0001;
                const qint64 seconds =
                    unixFormat ? qint64(record.u32())
                               : qint64(record.u64() / 10000000ull) - kFileTimeUnixEpochSeconds;
                if (!record.failed())
                    entry.Modified = fromUnixTime(seconds);
            }
        }
        c.skip(qsizetype(size));
    }
}

// File and service headers share one layout.
bool parseFileHeader(const QByteArray& bytes, Cursor& c, qsizetype extraStart, RarEntry& entry) {
    const quint64 fileFlags = c.vint();
    entry.UnpackedSize = c.vint();
    entry.RawAttributes = quint32(c.vint());
    if (fileFlags & kFileHasTime)
        entry.Modified = fromUnixTime(c.u32());
    if (fileFlags & kFileHasCrc)
        entry.FileCRC = c.u32();
    const quint64 compression = c.vint();
    entry.HostOS = int(c.vint());
    const quint64 nameLength = c.vint();
    if (c.failed() || nameLength > quint64(c.remaining()))
        return false;
    QString name = QString::fromUtf8(c.bytes(qsizetype(nameLength)));
    if (c.failed() || c.position() > extraStart)
        return false;
    entry.UnpackVersion = int(compression & 0x3F);
    entry.Method = int((compression >> 7) & 0x07);
    entry.IsDirectory = fileFlags & kFileIsDirectory;
    // Windows-made archives store "/" already; only their names can be
    // trusted not to hold a literal backslash.
    entry.Name = entry.HostOS == kHostUnix ? ArchiveText::cutAtNul(name)
                                           : ArchiveText::normalisedEntryPath(name);
    entry.Attributes = RarHeaderReader::dosAttributes(entry.HostOS == kHostUnix,
                                                      entry.RawAttributes, entry.IsDirectory);
    readExtra(bytes, extraStart, bytes.size(), entry);
    if (entry.Modified.isValid())
        entry.DosTime = ArchiveText::toDosDateTime(entry.Modified);
    return true;
}

} // namespace

void readRar5(const Source& source, qint64 start, RarListing& listing) {
    qint64 pos = start;
    for (;;) {
        if (pos == source.size()) {
            listing.Error = QStringLiteral("archive ends without its end header");
            return;
        }
        const QByteArray prefix = source.readAt(pos, qMin<qint64>(14, source.size() - pos));
        Cursor p(prefix);
        const quint32 crc = p.u32();
        const quint64 headerSize = p.vint();
        if (p.failed() || headerSize == 0 || headerSize > kMaxHeaderSize) {
            listing.Error = QStringLiteral("damaged header");
            return;
        }
        const qsizetype sizeEnd = p.position();
        const QByteArray bytes = source.readAt(pos, sizeEnd + qint64(headerSize));
        if (bytes.isEmpty()) {
            listing.Error = QStringLiteral("truncated header");
            return;
        }
        if (ArchiveText::crc32(bytes.constData() + 4, bytes.size() - 4) != crc) {
            listing.Error = QStringLiteral("header checksum mismatch");
            return;
        }
        Cursor c(bytes, sizeEnd);
        const quint64 type = c.vint();
        const quint64 flags = c.vint();
        const quint64 extraSize = (flags & kHasExtra) ? c.vint() : 0;
        const quint64 dataSize = (flags & kHasData) ? c.vint() : 0;
        if (c.failed() || extraSize > quint64(c.remaining())) {
            listing.Error = QStringLiteral("damaged header");
            return;
        }
        const qsizetype extraStart = bytes.size() - qsizetype(extraSize);
        const qint64 dataOffset = pos + bytes.size();
        switch (type) {
        case kMainHeader:
            listing.IsVolume = c.vint() & kArchiveVolume;
            break;
        case kFileHeader:
        case kServiceHeader: {
            RarEntry entry;
            if (!parseFileHeader(bytes, c, extraStart, entry)) {
                listing.Error = QStringLiteral("damaged file header");
                return;
            }
            entry.Flags = quint32(flags);
            entry.PackedSize = dataSize;
            entry.DataOffset = dataOffset;
            entry.IsSplit = flags & (kSplitBefore | kSplitAfter);
            entry.IsTruncated = dataSize > quint64(source.size() - dataOffset);
            if (type == kFileHeader) {
                listing.Entries.append(entry);
            } else if (entry.Name == QLatin1String("CMT") && entry.Method == 0 &&
                       !entry.IsEncrypted && !entry.IsTruncated) {
                const qint64 length =
                    qMin<qint64>(qint64(qMin(entry.UnpackedSize, dataSize)), kMaxCommentBytes);
                listing.Comment =
                    ArchiveText::cutAtNul(QString::fromUtf8(source.readAt(dataOffset, length)))
                        .trimmed();
            }
            break;
        }
        case kEncryptionHeader:
            listing.HeadersEncrypted = true;
            listing.Error = QStringLiteral("headers are encrypted");
            return;
        case kEndHeader:
            listing.Complete = true;
            return;
        default:
            break; // unknown header types are skipped as a whole
        }
        const quint64 next = quint64(dataOffset) + dataSize;
        if (dataSize > quint64(source.size()) || next > quint64(source.size())) {
            listing.Error = QStringLiteral("archive is truncated");
            return;
        }
        pos = qint64(next);
    }
}

} // namespace QuorvaneSDK::RarFormat
