#pragma once
// Builds MP3 files byte for byte: ID3v1 and ID3v2 tags, frame headers and
// frames, so each test shows exactly which bytes it feeds the reader.

#include <QByteArray>
#include <QList>
#include <QString>

namespace Mp3Fixture {

// The four header bytes of an MPEG-1 Layer III frame without CRC (0xFF 0xFB).
QByteArray header(quint8 b3, quint8 b4, quint8 b2 = 0xFB);

// B3 from the bit-rate index, the sample-rate bits (0x00, 0x04, 0x08, 0x0C)
// and the padding bit.
quint8 b3(int bitRateIndex, quint8 sampleRateBits = 0x00, bool padding = false);

// count frames of frameLength bytes, each a header followed by zero bytes.
QByteArray frames(int count, int frameLength, quint8 b3 = 0x90, quint8 b4 = 0x00);

// A 128-byte ID3v1 tag.
QByteArray id3v1(const QByteArray& title, const QByteArray& artist = {},
                 const QByteArray& album = {}, const QByteArray& year = {},
                 const QByteArray& comment = {}, quint8 genre = 255);

// One frame of an ID3v2.3 tag: 4-byte id, 4-byte size, 2 flag bytes, then the
// encoding byte and the text. sizeField overrides the size (-1: 1 + text).
QByteArray v3Frame(const QByteArray& id, const QByteArray& text, qint64 sizeField = -1,
                   quint8 secondFlags = 0);

// One frame of an ID3v2.2 tag: 3-byte id, 3-byte size, encoding byte, text.
QByteArray v2Frame(const QByteArray& id, const QByteArray& text, qint64 sizeField = -1);

// A whole ID3v2 tag: "ID3", version, revision 0, flags 0, synchsafe size,
// then the frames and padding zero bytes.
QByteArray id3v2(int majorVersion, const QByteArray& frames, int padding = 0,
                 qint64 sizeOverride = -1);

// Writes data to a new file in a fresh temporary folder and returns its path.
QString writeFile(const QByteArray& data, const QString& name = QStringLiteral("song.mp3"));

} // namespace Mp3Fixture
