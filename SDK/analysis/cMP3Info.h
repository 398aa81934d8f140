#pragma once
// Reads the tag (ID3v1, or the title/album/artist/year/genre frames of an
// ID3v2.2 or 2.3 tag) and the first MPEG-1 Layer III frame header of an MP3
// file, and derives the frame length, frame count and playing time.
// One object serves one file: set FullName, call ReadMP3Info, read the values.
// It only reads, holds at most 50,000 bytes of audio and a bounded slice of the
// tag in memory, and never throws: bad or missing files give the empty values.

#include <QByteArray>
#include <QString>

namespace QuorvaneSDK {

namespace Analysis {
class ByteSource;
}

class cMP3Info {
public:
    QString FullName() const { return m_fullName; }
    void setFullName(const QString& fullName) { m_fullName = fullName; }

    // Reads the file named by FullName. A path that names no regular file
    // leaves every value as it was. Returns false when the file is missing or
    // could not be opened; the caller may ignore it.
    bool ReadMP3Info();
    // The same reading rules applied to bytes in memory (the whole "file").
    void ReadMP3InfoFromBytes(const QByteArray& data);

    // Tag fields: the stored text without leading and trailing spaces, empty
    // when no tag was read. NUL and other control characters stay.
    QString Title() const;
    QString Artist() const;
    QString Album() const;
    QString Year() const;
    QString Comment() const;
    QString Genre() const;
    bool TagPresent() const { return m_tagPresent; }

    // Header fields of the last candidate frame decoded.
    QString MPEGVersion() const { return m_mpegVersion; }
    QString Layer() const { return m_layer; }
    QString BitRate() const { return m_bitRate; }
    QString SampleRate() const { return m_sampleRate; }
    QString Padding() const { return QString::number(m_padding); } // "0" or "1"
    QString ChannelMode() const { return m_channelMode; }
    QString ModeExtension() const { return m_modeExtension; }
    QString Emphasis() const { return m_emphasis; }
    bool Copyright() const { return m_copyright; }
    bool Original() const { return m_original; }
    qint16 FrameLength() const { return m_frameLength; }
    bool ValidHeader() const { return m_validHeader; }
    qint32 TotalFrames() const { return m_totalFrames; }

    // Seconds from the current data length and the decoded bit rate, truncated
    // to hundredths after adding 0.05; -1 without a valid header.
    double PlayTime() const;

private:
    void read(Analysis::ByteSource& source);
    void readTag(Analysis::ByteSource& source);
    bool readId3v1(Analysis::ByteSource& source);
    void readId3v2(Analysis::ByteSource& source);
    void searchFrame(Analysis::ByteSource& source);
    void decodeHeader(quint8 b3, quint8 b4);
    qint64 currentLength() const;

    QString m_fullName;
    bool m_fromMemory = false;
    qint64 m_length = 0; // length seen by the last read

    QString m_title, m_artist, m_album, m_year, m_comment, m_genre;
    bool m_tagPresent = false;

    QString m_mpegVersion, m_layer, m_bitRate, m_sampleRate;
    QString m_channelMode, m_modeExtension, m_emphasis;
    qint16 m_padding = 0;
    bool m_copyright = false;
    bool m_original = false;
    qint16 m_frameLength = 0;
    bool m_validHeader = false;
    qint32 m_totalFrames = 0;
};

} // namespace QuorvaneSDK
