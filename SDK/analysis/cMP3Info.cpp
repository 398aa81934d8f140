#include "analysis/cMP3Info.h"

#include "analysis/AnsiText.h"
#include "analysis/ByteSource.h"
#include "analysis/Id3Genres.h"
#include "analysis/Id3v2Frames.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace QuorvaneSDK {

using namespace Analysis;

namespace {
constexpr int kTextWidth = 30;
constexpr int kYearWidth = 4;
constexpr int kGenreWidth = 20;
constexpr qint64 kId3v1Size = 128;
constexpr qint64 kId3v2HeaderSize = 10;
constexpr qint64 kFrameWindow = 50000;

QString field(const QByteArray& bytes, int width) {
    return fixedWidth(decodeAnsi(bytes), width);
}

// "(17)Rock" gives "Rock", "(17)" nothing, and a text without the
// parenthesised number "n/a".
QString id3v2Genre(const QString& text) {
    if (!text.startsWith(QLatin1Char('(')))
        return QStringLiteral("n/a");
    const qsizetype close = text.indexOf(QLatin1Char(')'));
    return trimSpaces(text.mid(close + 1));
}

const char* const kBitRates[16] = {"NA",  "32",  "40",  "48",  "56",  "64",  "80",  "96",
                                   "112", "128", "160", "192", "224", "256", "320", "NA"};
} // namespace

bool cMP3Info::ReadMP3Info() {
    const QFileInfo info(m_fullName);
    if (m_fullName.isEmpty() || !info.isFile())
        return false;
    FileByteSource source(m_fullName);
    if (!source.isOpen())
        return false;
    m_fromMemory = false;
    read(source);
    return true;
}

void cMP3Info::ReadMP3InfoFromBytes(const QByteArray& data) {
    MemoryByteSource source(data);
    m_fromMemory = true;
    read(source);
}

void cMP3Info::read(ByteSource& source) {
    m_length = qMax<qint64>(0, source.size());
    readTag(source);
    searchFrame(source);
}

void cMP3Info::readTag(ByteSource& source) {
    m_title = m_artist = m_album = m_comment = field({}, kTextWidth);
    m_year = field({}, kYearWidth);
    m_genre = field({}, kGenreWidth);
    if (readId3v1(source)) {
        m_tagPresent = true;
        return;
    }
    readId3v2(source);
    m_tagPresent = true;
}

bool cMP3Info::readId3v1(ByteSource& source) {
    if (m_length < kId3v1Size)
        return false;
    const QByteArray tag = source.read(m_length - kId3v1Size, kId3v1Size);
    if (tag.size() != kId3v1Size || !tag.startsWith("TAG"))
        return false;
    m_title = field(tag.mid(3, 30), kTextWidth);
    m_artist = field(tag.mid(33, 30), kTextWidth);
    m_album = field(tag.mid(63, 30), kTextWidth);
    m_year = field(tag.mid(93, 4), kYearWidth);
    m_comment = field(tag.mid(97, 30), kTextWidth);
    m_genre = fixedWidth(id3GenreName(static_cast<quint8>(tag[127])), kGenreWidth);
    return true;
}

void cMP3Info::readId3v2(ByteSource& source) {
    const QByteArray header = source.read(0, kId3v2HeaderSize);
    // The first byte is not looked at: "xD3" is taken for "ID3".
    if (header.size() < 4 || header[1] != 'D' || header[2] != '3')
        return;
    const int major = static_cast<quint8>(header[3]);
    if (header.size() < kId3v2HeaderSize)
        return;
    const auto at = [&](int i) { return static_cast<qint64>(static_cast<quint8>(header[i])); };
    const qint64 size = at(6) * 2097152 + at(7) * 16384 + at(8) * 128 + at(9);
    if (size > m_length)
        return;
    // A tag that runs past the end of the file ends where the file does.
    Id3v2TagData data(source, kId3v2HeaderSize, qMin(size, m_length - kId3v2HeaderSize));
    if (data.size() == 0 || (major != 2 && major != 3))
        return;

    const bool v2 = major == 2;
    const QList<QByteArray> ids = v2 ? QList<QByteArray>{"TT2", "TAL", "TOA", "TYE", "TCO"}
                                     : QList<QByteArray>{"TIT2", "TALB", "TPE1", "TYER", "TCON"};
    QString* const targets[] = {&m_title, &m_album, &m_artist, &m_year, &m_genre};
    const int widths[] = {kTextWidth, kTextWidth, kTextWidth, kYearWidth, kGenreWidth};
    const QList<qint64> found = data.findFirst(ids);
    for (int i = 0; i < 5; ++i) {
        if (found[i] < 0)
            continue;
        const auto raw = id3v2FrameText(data, major, found[i]);
        if (!raw)
            continue;
        QString text = decodeAnsi(*raw);
        if (i == 4)
            text = id3v2Genre(text);
        *targets[i] = fixedWidth(text, widths[i]);
    }
}

void cMP3Info::searchFrame(ByteSource& source) {
    const QByteArray window = source.read(0, kFrameWindow);
    const auto* bytes = reinterpret_cast<const quint8*>(window.constData());
    const qsizetype n = window.size();
    bool accepted = false;
    for (qsizetype i = 1; i < n && !accepted; ++i) {
        if (bytes[i - 1] != 0xFF || (bytes[i] != 0xFB && bytes[i] != 0xFA))
            continue;
        const qsizetype p = i - 1;
        if (p + 4 > n)
            continue;
        decodeHeader(bytes[p + 2], bytes[p + 3]);
        if (!m_validHeader)
            continue;
        const QByteArray next = source.read(p + m_frameLength, 4);
        accepted = next.size() >= 2 && static_cast<quint8>(next[0]) == 0xFF &&
                   (static_cast<quint8>(next[1]) & 0xE0) == 0xE0;
    }
    if (!accepted)
        return;
    if (m_frameLength <= 0) {
        m_totalFrames = 0;
        return;
    }
    const qint64 frames = m_length / m_frameLength;
    m_totalFrames = static_cast<qint32>(qMin<qint64>(frames, std::numeric_limits<qint32>::max()));
}

// Fields are written in order; at the first reserved value the header is
// invalid and the fields after it keep what the previous candidate left.
void cMP3Info::decodeHeader(quint8 b3, quint8 b4) {
    m_validHeader = true;
    m_mpegVersion = QStringLiteral("1.0");
    m_layer = QStringLiteral("3");
    m_bitRate = QString::fromLatin1(kBitRates[b3 >> 4]);
    int sampleRate = 0;
    switch (b3 & 0x0C) {
    case 0x00:
        sampleRate = 44100;
        break;
    case 0x04:
        sampleRate = 48000;
        break;
    case 0x08:
        sampleRate = 32000;
        break;
    default:
        m_sampleRate = QStringLiteral("0");
        m_validHeader = false;
        return;
    }
    m_sampleRate = QString::number(sampleRate);
    m_padding = (b3 & 0x02) ? 1 : 0;
    static const char* const kModes[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    m_channelMode = QString::fromLatin1(kModes[b4 >> 6]);
    m_modeExtension = QString::number((b4 >> 5) & 1) + QString::number((b4 >> 4) & 1);
    m_copyright = (b4 & 0x08) != 0;
    m_original = (b4 & 0x04) != 0;
    static const char* const kEmphasis[4] = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
    m_emphasis = QString::fromLatin1(kEmphasis[b4 & 0x03]);
    if (m_bitRate == QLatin1String("NA")) {
        m_validHeader = false;
        return;
    }
    const double length = std::floor(144.0 * 1000.0 * m_bitRate.toInt() / sampleRate + m_padding);
    m_frameLength = static_cast<qint16>(length);
}

qint64 cMP3Info::currentLength() const {
    if (!m_fromMemory) {
        const QFileInfo info(m_fullName);
        if (info.isFile())
            return info.size();
    }
    return m_length;
}

double cMP3Info::PlayTime() const {
    const int bitRate = m_bitRate.toInt();
    if (!m_validHeader || bitRate <= 0)
        return -1;
    const double seconds = static_cast<double>(currentLength()) * 8.0 / bitRate / 1000.0;
    return std::floor((seconds + 0.05) * 100.0) / 100.0;
}

QString cMP3Info::Title() const {
    return m_tagPresent ? trimSpaces(m_title) : QString();
}
QString cMP3Info::Artist() const {
    return m_tagPresent ? trimSpaces(m_artist) : QString();
}
QString cMP3Info::Album() const {
    return m_tagPresent ? trimSpaces(m_album) : QString();
}
QString cMP3Info::Year() const {
    return m_tagPresent ? trimSpaces(m_year) : QString();
}
QString cMP3Info::Comment() const {
    return m_tagPresent ? trimSpaces(m_comment) : QString();
}
QString cMP3Info::Genre() const {
    return m_tagPresent ? trimSpaces(m_genre) : QString();
}

} // namespace QuorvaneSDK
