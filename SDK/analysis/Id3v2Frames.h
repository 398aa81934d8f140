#pragma once
// The partial ID3v2 reader of cMP3Info: finds the first occurrence of a frame
// identifier anywhere in the tag data (the frame list is not walked) and takes
// the frame's text by the size field's last byte only.

#include "analysis/ByteSource.h"

#include <QList>
#include <optional>

namespace QuorvaneSDK::Analysis {

// The tag data of an ID3v2 tag: the bytes after the 10-byte header, read on
// demand in bounded slices rather than held whole (a tag may claim 256 MB).
class Id3v2TagData {
public:
    Id3v2TagData(ByteSource& source, qint64 offset, qint64 size);

    qint64 size() const { return m_size; }
    // 0-based positions of the first occurrence of each identifier, -1 when
    // absent; one pass over the data for all of them.
    QList<qint64> findFirst(const QList<QByteArray>& ids);
    // The byte at a 0-based position, or nothing outside the data.
    std::optional<quint8> byteAt(qint64 pos);
    // Up to len bytes from pos, cut at the end of the data.
    QByteArray bytes(qint64 pos, qint64 len);

private:
    qsizetype findInSlice(const QByteArray& slice, qint64 base, const QList<QByteArray>& ids,
                          QList<qint64>& found);

    ByteSource& m_source;
    qint64 m_offset;
    qint64 m_size;
};

// Raw text of a frame found at pos: version 2 and 3 layouts; nothing when the
// frame is skipped (compressed or encrypted, version 3) or its length is
// unusable.
std::optional<QByteArray> id3v2FrameText(Id3v2TagData& data, int majorVersion, qint64 pos);

} // namespace QuorvaneSDK::Analysis
