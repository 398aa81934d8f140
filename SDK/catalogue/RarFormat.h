#pragma once
// Internal pieces shared by the two RAR header formats: bounded reading of a
// device and a cursor over one header's bytes.

#include "catalogue/RarHeaderReader.h"

#include <QByteArray>
#include <QIODevice>

namespace QuorvaneSDK::RarFormat {

// Reads byte ranges of the archive, never past its end.
class Source {
public:
    explicit Source(QIODevice& device) : m_device(device), m_size(device.size()) {}
    qint64 size() const { return m_size; }
    // Exactly `length` bytes at `offset`, or an empty array when they are not all there.
    QByteArray readAt(qint64 offset, qint64 length) const;

private:
    QIODevice& m_device;
    qint64 m_size;
};

// Little-endian reading within one header; any read past the end sets
// failed() and yields 0, so parsing code checks once at the end.
class Cursor {
public:
    Cursor(const QByteArray& bytes, qsizetype position = 0, qsizetype end = -1)
        : m_bytes(bytes), m_pos(position), m_end(end < 0 ? bytes.size() : end) {}
    quint8 u8();
    quint16 u16();
    quint32 u32();
    quint64 u64();
    quint64 vint(); // 7 bits per byte, low group first, at most 10 bytes
    QByteArray bytes(qsizetype length);
    void skip(qsizetype length);
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_failed ? 0 : m_end - m_pos; }
    bool failed() const { return m_failed; }

private:
    bool need(qsizetype length);
    const QByteArray& m_bytes;
    qsizetype m_pos;
    qsizetype m_end;
    bool m_failed = false;
};

// Where the first format marker lies within the first megabyte (archives
// with a self-extracting stub carry it later); -1 when none.
qint64 findMarker(const Source& source, const QByteArray& marker);

// The largest comment text the readers load.
constexpr qint64 kMaxCommentBytes = 256 * 1024;

void readRar4(const Source& source, qint64 start, RarListing& listing);
void readRar5(const Source& source, qint64 start, RarListing& listing);

} // namespace QuorvaneSDK::RarFormat
