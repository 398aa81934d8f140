#include "analysis/Id3v2Frames.h"

#include <cstring>

namespace QuorvaneSDK::Analysis {

namespace {
constexpr qint64 kScanChunk = 1 << 20;
}

Id3v2TagData::Id3v2TagData(ByteSource& source, qint64 offset, qint64 size)
    : m_source(source), m_offset(offset), m_size(qMax<qint64>(0, size)) {
}

QList<qint64> Id3v2TagData::findFirst(const QList<QByteArray>& ids) {
    QList<qint64> found(ids.size(), -1);
    qsizetype longest = 0;
    for (const QByteArray& id : ids)
        longest = qMax(longest, id.size());
    qsizetype missing = ids.size();
    for (qint64 pos = 0; pos < m_size && missing > 0; pos += kScanChunk) {
        // The overlap lets an identifier that straddles two slices be seen.
        const QByteArray slice = bytes(pos, kScanChunk + longest - 1);
        if (slice.isEmpty())
            break;
        missing -= findInSlice(slice, pos, ids, found);
    }
    return found;
}

// Marks the first position of each identifier not found yet; returns how many
// were found. Candidates are located with memchr on the first byte, which is
// far quicker than a substring search per identifier over a large tag.
qsizetype Id3v2TagData::findInSlice(const QByteArray& slice, qint64 base,
                                    const QList<QByteArray>& ids, QList<qint64>& found) {
    qsizetype newlyFound = 0;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (found[i] >= 0 || ids[i].isEmpty())
            continue;
        const char first = ids[i][0];
        const char* const begin = slice.constData();
        const char* const end = begin + slice.size();
        for (const char* at = begin; at < end; ++at) {
            at = static_cast<const char*>(std::memchr(at, first, end - at));
            if (!at)
                break;
            if (end - at >= ids[i].size() &&
                std::memcmp(at, ids[i].constData(), ids[i].size()) == 0) {
                found[i] = base + (at - begin);
                ++newlyFound;
                break;
            }
        }
    }
    return newlyFound;
}

std::optional<quint8> Id3v2TagData::byteAt(qint64 pos) {
    const QByteArray one = bytes(pos, 1);
    if (one.isEmpty())
        return std::nullopt;
    return static_cast<quint8>(one[0]);
}

QByteArray Id3v2TagData::bytes(qint64 pos, qint64 len) {
    if (pos < 0 || len <= 0 || pos >= m_size)
        return {};
    return m_source.read(m_offset + pos, qMin(len, m_size - pos));
}

std::optional<QByteArray> id3v2FrameText(Id3v2TagData& data, int majorVersion, qint64 pos) {
    qint64 sizeAt = pos + 5;
    qint64 textAt = pos + 7;
    if (majorVersion == 3) {
        const auto flags = data.byteAt(pos + 9);
        if (!flags || (*flags & 0xC0) != 0)
            return std::nullopt;
        sizeAt = pos + 7;
        textAt = pos + 11;
    }
    // Only the last byte of the size field counts; it includes the encoding
    // byte, which is skipped without being looked at.
    const auto sizeByte = data.byteAt(sizeAt);
    if (!sizeByte || *sizeByte == 0)
        return std::nullopt;
    return data.bytes(textAt, *sizeByte - 1);
}

} // namespace QuorvaneSDK::Analysis
