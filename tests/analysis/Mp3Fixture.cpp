#include "Mp3Fixture.h"

#include "TestEnvironment.h"

#include <QFile>

namespace Mp3Fixture {

namespace {
QByteArray bigEndian(qint64 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[i] = static_cast<char>(value & 0xFF);
    return out;
}

QByteArray padded(const QByteArray& text, int width) {
    return text.left(width) + QByteArray(qMax(0, width - static_cast<int>(text.size())), '\0');
}
} // namespace

QByteArray header(quint8 b3, quint8 b4, quint8 b2) {
    QByteArray h(4, '\0');
    h[0] = static_cast<char>(0xFF);
    h[1] = static_cast<char>(b2);
    h[2] = static_cast<char>(b3);
    h[3] = static_cast<char>(b4);
    return h;
}

quint8 b3(int bitRateIndex, quint8 sampleRateBits, bool padding) {
    return static_cast<quint8>((bitRateIndex << 4) | sampleRateBits | (padding ? 0x02 : 0));
}

QByteArray frames(int count, int frameLength, quint8 b3, quint8 b4) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += header(b3, b4) + QByteArray(frameLength - 4, '\0');
    return out;
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                 const QByteArray& year, const QByteArray& comment, quint8 genre) {
    QByteArray tag = "TAG" + padded(title, 30) + padded(artist, 30) + padded(album, 30) +
                     padded(year, 4) + padded(comment, 30);
    tag += static_cast<char>(genre);
    return tag;
}

QByteArray v3Frame(const QByteArray& id, const QByteArray& text, qint64 sizeField,
                   quint8 secondFlags) {
    const qint64 size = sizeField >= 0 ? sizeField : text.size() + 1;
    QByteArray flags(2, '\0');
    flags[1] = static_cast<char>(secondFlags);
    return id + bigEndian(size, 4) + flags + QByteArray(1, '\0') + text;
}

QByteArray v2Frame(const QByteArray& id, const QByteArray& text, qint64 sizeField) {
    const qint64 size = sizeField >= 0 ? sizeField : text.size() + 1;
    return id + bigEndian(size, 3) + QByteArray(1, '\0') + text;
}

QByteArray id3v2(int majorVersion, const QByteArray& frames, int padding, qint64 sizeOverride) {
    const qint64 size = sizeOverride >= 0 ? sizeOverride : frames.size() + padding;
    QByteArray head = "ID3";
    head += static_cast<char>(majorVersion);
    head += QByteArray(2, '\0');
    for (int shift = 21; shift >= 0; shift -= 7)
        head += static_cast<char>((size >> shift) & 0x7F);
    return head + frames + QByteArray(padding, '\0');
}

QString writeFile(const QByteArray& data, const QString& name) {
    const QString path = QuorvaneTest::makeTempFolder(QStringLiteral("qv-mp3")) + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return {};
    return path;
}

} // namespace Mp3Fixture
