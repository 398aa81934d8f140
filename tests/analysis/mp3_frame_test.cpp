// Frame search and header decoding of cMP3Info: MPEG-1 Layer III only, in
// the first 50,000 bytes, confirmed by the next frame's sync bits.
#include "Mp3Fixture.h"
#include "QtPrinters.h"

#include "analysis/cMP3Info.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Mp3Fixture;
using QuorvaneSDK::cMP3Info;

namespace {

cMP3Info readFile(const QByteArray& data) {
    cMP3Info info;
    info.setFullName(writeFile(data));
    EXPECT_TRUE(info.ReadMP3Info());
    return info;
}

cMP3Info readMemory(const QByteArray& data) {
    cMP3Info info;
    info.ReadMP3InfoFromBytes(data);
    return info;
}

} // namespace

TEST(Mp3Frame, Standard128kbit44kHzFrame) {
    const QByteArray data = frames(10, 417, b3(9), 0x00);
    const cMP3Info info = readFile(data);
    EXPECT_TRUE(info.ValidHeader());
    EXPECT_EQ(info.MPEGVersion(), QString("1.0"));
    EXPECT_EQ(info.Layer(), QString("3"));
    EXPECT_EQ(info.BitRate(), QString("128"));
    EXPECT_EQ(info.SampleRate(), QString("44100"));
    EXPECT_EQ(info.Padding(), QString("0"));
    EXPECT_EQ(info.FrameLength(), 417);
    EXPECT_EQ(info.ChannelMode(), QString("Stereo"));
    EXPECT_EQ(info.ModeExtension(), QString("00"));
    EXPECT_EQ(info.Emphasis(), QString("None"));
    EXPECT_FALSE(info.Copyright());
    EXPECT_FALSE(info.Original());
    EXPECT_EQ(info.TotalFrames(), 10);
    // 4170 bytes * 8 / 128 / 1000 = 0.260625 s, +0.05 truncated to 0.31.
    EXPECT_DOUBLE_EQ(info.PlayTime(), 0.31);
}

TEST(Mp3Frame, FrameLengthFollowsBitRateSampleRateAndPadding) {
    const struct {
        int bitRateIndex;
        quint8 sampleRateBits;
        bool padding;
        const char* bitRate;
        const char* sampleRate;
        int frameLength;
    } cases[] = {
        {9, 0x00, false, "128", "44100", 417},  {9, 0x00, true, "128", "44100", 418},
        {1, 0x00, false, "32", "44100", 104},   {14, 0x08, true, "320", "32000", 1441},
        {11, 0x04, false, "192", "48000", 576}, {5, 0x04, true, "64", "48000", 193},
    };
    for (const auto& c : cases) {
        const quint8 third = b3(c.bitRateIndex, c.sampleRateBits, c.padding);
        const cMP3Info info = readMemory(frames(4, c.frameLength, third));
        EXPECT_EQ(info.BitRate(), QString(c.bitRate));
        EXPECT_EQ(info.SampleRate(), QString(c.sampleRate));
        EXPECT_EQ(info.Padding(), QString(c.padding ? "1" : "0"));
        EXPECT_EQ(info.FrameLength(), c.frameLength) << c.bitRate << " " << c.sampleRate;
        EXPECT_EQ(info.TotalFrames(), 4);
    }
}

TEST(Mp3Frame, FourthByteFieldsAndEmphasis) {
    const struct {
        quint8 b4;
        const char* mode;
        const char* extension;
        bool copyright, original;
        const char* emphasis;
    } cases[] = {
        {0x00, "Stereo", "00", false, false, "None"},
        {0x40 | 0x10, "Joint Stereo", "01", false, false, "None"},
        {0x80 | 0x20 | 0x01, "Dual Channel", "10", false, false, "50/15 ms"},
        {0xC0 | 0x30 | 0x08 | 0x02, "Mono", "11", true, false, "Reserved"},
        {0x04 | 0x03, "Stereo", "00", false, true, "CCIT J.17"},
    };
    for (const auto& c : cases) {
        const cMP3Info info = readMemory(frames(3, 417, b3(9), c.b4));
        EXPECT_EQ(info.ChannelMode(), QString(c.mode)) << int(c.b4);
        EXPECT_EQ(info.ModeExtension(), QString(c.extension)) << int(c.b4);
        EXPECT_EQ(info.Copyright(), c.copyright) << int(c.b4);
        EXPECT_EQ(info.Original(), c.original) << int(c.b4);
        EXPECT_EQ(info.Emphasis(), QString(c.emphasis)) << int(c.b4);
    }
}

TEST(Mp3Frame, FourMillionBytesAt128kbitPlay250Point05Seconds) {
    QByteArray data = frames(1, 417, b3(9)) + header(b3(9), 0);
    data.append(QByteArray(4000000 - data.size(), '\0'));
    const cMP3Info info = readFile(data);
    EXPECT_DOUBLE_EQ(info.PlayTime(), 250.05);
    EXPECT_EQ(info.TotalFrames(), 4000000 / 417);
}

TEST(Mp3Frame, PlayTimeUsesTheCurrentFileLength) {
    const QByteArray data = frames(2, 417, b3(9));
    cMP3Info info;
    info.setFullName(writeFile(data));
    info.ReadMP3Info();
    const double before = info.PlayTime();
    QFile file(info.FullName());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(16000 - data.size(), '\0'));
    file.close();
    EXPECT_DOUBLE_EQ(before, 0.1);           // 834 * 8 / 128000 = 0.052125 -> 0.10
    EXPECT_DOUBLE_EQ(info.PlayTime(), 1.05); // 16000 * 8 / 128000 = 1.0
}

TEST(Mp3Frame, WithCrcMarkerIsRecognisedToo) {
    QByteArray data = header(b3(9), 0, 0xFA) + QByteArray(413, '\0') + header(b3(9), 0, 0xFA);
    const cMP3Info info = readMemory(data);
    EXPECT_TRUE(info.ValidHeader());
    EXPECT_EQ(info.TotalFrames(), 1);
}

TEST(Mp3Frame, OtherMpegVersionsAndLayersAreNotRecognised) {
    for (quint8 second : {0xF2, 0xF3, 0xE2, 0xE3, 0xFD, 0xFC, 0xFE}) {
        QByteArray data;
        for (int i = 0; i < 5; ++i)
            data += header(b3(9), 0, second) + QByteArray(413, '\0');
        const cMP3Info info = readMemory(data);
        EXPECT_EQ(info.TotalFrames(), 0) << int(second);
        EXPECT_EQ(info.PlayTime(), -1) << int(second);
        EXPECT_EQ(info.MPEGVersion(), QString()) << int(second);
    }
}

TEST(Mp3Frame, FrameAfterTheFirst50000BytesIsNotFound) {
    const cMP3Info late = readFile(QByteArray(50000, '\0') + frames(5, 417, b3(9)));
    EXPECT_EQ(late.TotalFrames(), 0);
    EXPECT_EQ(late.PlayTime(), -1);
    EXPECT_EQ(late.BitRate(), QString());

    // A header whose four bytes end exactly at the window's end is still seen.
    const cMP3Info edge = readFile(QByteArray(49996, '\0') + frames(5, 417, b3(9)));
    EXPECT_EQ(edge.TotalFrames(), (49996 + 5 * 417) / 417);

    // One byte later it straddles the window and is rejected.
    const cMP3Info straddling = readFile(QByteArray(49997, '\0') + frames(5, 417, b3(9)));
    EXPECT_EQ(straddling.TotalFrames(), 0);
}

TEST(Mp3Frame, FalseSyncInsideTheTagDoesNotStopTheSearch) {
    // A 0xFF 0xFB at 192 kbit/s inside the title; no frame follows it.
    const QByteArray fake = header(b3(11), 0xC0);
    const QByteArray tag = id3v2(3, v3Frame("TIT2", "ab" + fake + "cd"), 100);
    const QByteArray data = tag + frames(20, 417, b3(9), 0x40);
    const cMP3Info info = readFile(data);
    EXPECT_EQ(info.BitRate(), QString("128"));
    EXPECT_EQ(info.ChannelMode(), QString("Joint Stereo"));
    EXPECT_EQ(info.TotalFrames(), data.size() / 417);
    EXPECT_EQ(info.Title().mid(2, 4).toLatin1(), fake);
}

TEST(Mp3Frame, FieldsKeepTheLastCandidateWhenNoneIsAccepted) {
    // A valid candidate without successor, then one with a reserved sample
    // rate: the fields after the sample rate keep the first one's values.
    const QByteArray data = header(b3(5, 0x04), 0xC3) + QByteArray(100, '\0') +
                            header(b3(9, 0x0C), 0x00) + QByteArray(100, '\0');
    const cMP3Info info = readMemory(data);
    EXPECT_FALSE(info.ValidHeader());
    EXPECT_EQ(info.BitRate(), QString("128"));
    EXPECT_EQ(info.SampleRate(), QString("0"));
    EXPECT_EQ(info.ChannelMode(), QString("Mono"));
    EXPECT_EQ(info.Emphasis(), QString("CCIT J.17"));
    EXPECT_EQ(info.FrameLength(), 192); // 64 kbit/s at 48 kHz
    EXPECT_EQ(info.TotalFrames(), 0);
    EXPECT_EQ(info.PlayTime(), -1);

    // The last candidate valid but without successor: no frames counted, yet
    // the play time comes from its header.
    const QByteArray lone = header(b3(9), 0x00) + QByteArray(3996, '\0');
    const cMP3Info alone = readMemory(lone);
    EXPECT_TRUE(alone.ValidHeader());
    EXPECT_EQ(alone.TotalFrames(), 0);
    EXPECT_DOUBLE_EQ(alone.PlayTime(), 0.3); // 4000 * 8 / 128000 = 0.25
}

TEST(Mp3Frame, FreeFormatAndBadBitRateAreNeverAccepted) {
    for (int index : {0, 15}) {
        const cMP3Info info = readMemory(frames(6, 417, b3(index), 0x80));
        EXPECT_FALSE(info.ValidHeader()) << index;
        EXPECT_EQ(info.BitRate(), QString("NA")) << index;
        EXPECT_EQ(info.FrameLength(), 0) << index;
        EXPECT_EQ(info.ChannelMode(), QString("Dual Channel")) << index;
        EXPECT_EQ(info.TotalFrames(), 0) << index;
        EXPECT_EQ(info.PlayTime(), -1) << index;
    }
}

TEST(Mp3Frame, SuccessorNeedsTheTopThreeBitsOfItsSecondByte) {
    const struct {
        quint8 second;
        bool accepted;
    } cases[] = {{0xE0, true}, {0xF3, true}, {0xFB, true}, {0xDF, false}, {0x00, false}};
    for (const auto& c : cases) {
        QByteArray data = header(b3(9), 0) + QByteArray(413, '\0');
        data += static_cast<char>(0xFF);
        data += static_cast<char>(c.second);
        data += QByteArray(10, '\0');
        EXPECT_EQ(readMemory(data).TotalFrames() > 0, c.accepted) << int(c.second);
    }
    // A successor beyond the end of the data does not match.
    EXPECT_EQ(readMemory(header(b3(9), 0) + QByteArray(413, '\0')).TotalFrames(), 0);
}

TEST(Mp3Frame, DamagedInputGivesEmptyOrPartialResultsWithoutFailing) {
    QByteArray random(300000, '\0');
    QRandomGenerator generator(20240611);
    for (auto& byte : random)
        byte = static_cast<char>(generator.bounded(256));
    QByteArray truncated = id3v2(3, v3Frame("TIT2", "Title"), 0, 5000) + header(b3(9), 0);
    const QByteArray inputs[] = {
        QByteArray(),
        QByteArray(1, '\xFF'),
        QByteArray(200000, '\0'),
        QByteArray(200000, '\xFF'),
        random,
        truncated,
        frames(3, 417).left(420),
        QByteArray("TAG"),
    };
    for (const QByteArray& data : inputs) {
        const cMP3Info fromFile = readFile(data);
        const cMP3Info fromMemory = readMemory(data);
        EXPECT_EQ(fromFile.TotalFrames(), fromMemory.TotalFrames());
        EXPECT_GE(fromFile.TotalFrames(), 0);
        EXPECT_LE(fromFile.Title().size(), 30);
    }
    const cMP3Info zeros = readFile(QByteArray(200000, '\0'));
    EXPECT_EQ(zeros.TotalFrames(), 0);
    EXPECT_EQ(zeros.PlayTime(), -1);
    EXPECT_EQ(zeros.Title(), QString());
}

TEST(Mp3Frame, HugeFilesAndHugeTagClaimsStayCheap) {
    // A sparse file of 3 GB whose ID3v2 header claims the largest tag size.
    const QString path =
        writeFile(id3v2(3, v3Frame("TIT2", "Big"), 0, 0x0FFFFFFF) + frames(3, 417, b3(9)));
    QFile file(path);
    ASSERT_TRUE(file.resize(3LL * 1024 * 1024 * 1024));
    cMP3Info info;
    info.setFullName(path);
    ASSERT_TRUE(info.ReadMP3Info());
    EXPECT_EQ(info.Title(), QString("Big"));
    EXPECT_EQ(info.BitRate(), QString("128"));
    EXPECT_EQ(info.TotalFrames(), static_cast<qint32>(3LL * 1024 * 1024 * 1024 / 417));
    EXPECT_DOUBLE_EQ(info.PlayTime(), 201326.64); // 3 GiB * 8 / 128000 = 201326.592
}
