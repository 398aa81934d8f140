// Tag reading of cMP3Info: ID3v1 first, else the partial ID3v2.2/2.3 reader.
#include "Mp3Fixture.h"
#include "QtPrinters.h"

#include "TestEnvironment.h"
#include "analysis/cMP3Info.h"

#include <gtest/gtest.h>

using namespace Mp3Fixture;
using QuorvaneSDK::cMP3Info;

namespace {

// Reads the bytes from a file and from memory and checks both agree.
cMP3Info readBoth(const QByteArray& data) {
    cMP3Info fromFile;
    fromFile.setFullName(writeFile(data));
    EXPECT_TRUE(fromFile.ReadMP3Info());
    cMP3Info fromMemory;
    fromMemory.ReadMP3InfoFromBytes(data);
    EXPECT_EQ(fromFile.Title(), fromMemory.Title());
    EXPECT_EQ(fromFile.Artist(), fromMemory.Artist());
    EXPECT_EQ(fromFile.Genre(), fromMemory.Genre());
    EXPECT_EQ(fromFile.TotalFrames(), fromMemory.TotalFrames());
    EXPECT_EQ(fromFile.PlayTime(), fromMemory.PlayTime());
    return fromFile;
}

QByteArray audio() {
    return frames(3, 417);
}

} // namespace

TEST(Mp3Tag, MissingFileOrFolderLeavesEverythingEmpty) {
    for (const QString& path :
         {QStringLiteral("/nonexistent/song.mp3"), QuorvaneTest::makeTempFolder(), QString()}) {
        cMP3Info info;
        info.setFullName(path);
        EXPECT_FALSE(info.ReadMP3Info()) << path.toStdString();
        EXPECT_FALSE(info.TagPresent());
        EXPECT_EQ(info.Title(), QString());
        EXPECT_EQ(info.Genre(), QString());
        EXPECT_EQ(info.BitRate(), QString());
        EXPECT_EQ(info.Padding(), QStringLiteral("0"));
        EXPECT_EQ(info.FrameLength(), 0);
        EXPECT_EQ(info.TotalFrames(), 0);
        EXPECT_FALSE(info.ValidHeader());
        EXPECT_EQ(info.PlayTime(), -1);
    }
}

TEST(Mp3Tag, Id3v1FieldsAreReadFromTheLast128Bytes) {
    const cMP3Info info =
        readBoth(audio() + id3v1(QByteArray("  Title of song").leftJustified(30, ' '), "Artist",
                                 "Album", "1999", "A comment", 17));
    EXPECT_TRUE(info.TagPresent());
    EXPECT_EQ(info.Title(), QString("Title of song"));
    EXPECT_EQ(info.Artist(), QString(QByteArray("Artist") + QByteArray(24, '\0')));
    EXPECT_EQ(info.Year(), QString("1999"));
    EXPECT_EQ(info.Genre(), QString("Rock"));
}

TEST(Mp3Tag, Id3v1KeepsNulBytesAndTrimsOnlySpaces) {
    const cMP3Info info = readBoth(id3v1(QByteArray(" Hi\t") + QByteArray(26, ' ')));
    EXPECT_EQ(info.Title(), QString("Hi\t"));
    EXPECT_EQ(info.Album(), QString(QByteArray(30, '\0')));
    EXPECT_EQ(info.Comment().size(), 30);
}

TEST(Mp3Tag, Id3v1TextIsDecodedAsWesternWindowsBytes) {
    const cMP3Info info = readBoth(id3v1("Caf\xE9 \x80 \x93x\x94"));
    EXPECT_EQ(info.Title().left(10), QString::fromUtf8("Café € “x”"));
}

TEST(Mp3Tag, Id3v1GenreNumbersUseTheCataloguesNames) {
    const struct {
        quint8 number;
        const char* name;
    } cases[] = {{0, "Blues"},
                 {17, "Rock"},
                 {62, "Pop/Punk"},
                 {67, "Phychedelic"},
                 {117, "power Ballad"},
                 {131, "indie"},
                 {144, "Trash Metal"},
                 {147, "Synth Pop"},
                 {148, "Unknown"},
                 {255, "Unknown"},
                 // The genre field is 20 characters wide.
                 {136, "Christian Gangsta Ra"},
                 {140, "Comteporary Christia"}};
    for (const auto& c : cases) {
        const cMP3Info info = readBoth(id3v1("t", {}, {}, {}, {}, c.number));
        EXPECT_EQ(info.Genre(), QString(c.name)) << int(c.number);
    }
}

TEST(Mp3Tag, Id3v1WinsOverId3v2) {
    const QByteArray v2 = id3v2(3, v3Frame("TIT2", "From v2") + v3Frame("TPE1", "v2 artist"));
    const cMP3Info info = readBoth(v2 + audio() + id3v1(QByteArray("From v1").leftJustified(30)));
    EXPECT_EQ(info.Title(), QString("From v1"));
    EXPECT_EQ(info.Artist(), QString(QByteArray(30, '\0')));
}

TEST(Mp3Tag, Id3v23FramesFillTheFiveFields) {
    const QByteArray tag = id3v2(3,
                                 v3Frame("TIT2", "My Title") + v3Frame("TPE1", "The Artist") +
                                     v3Frame("TALB", "The Album") + v3Frame("TYER", "2003") +
                                     v3Frame("TCON", "(17)Rock") + v3Frame("COMM", "engXcomment"),
                                 64);
    const cMP3Info info = readBoth(tag + audio());
    EXPECT_TRUE(info.TagPresent());
    EXPECT_EQ(info.Title(), QString("My Title"));
    EXPECT_EQ(info.Artist(), QString("The Artist"));
    EXPECT_EQ(info.Album(), QString("The Album"));
    EXPECT_EQ(info.Year(), QString("2003"));
    EXPECT_EQ(info.Genre(), QString("Rock"));
    EXPECT_EQ(info.Comment(), QString()) << "no comment frame is read";
    EXPECT_EQ(info.TotalFrames(), (tag.size() + 3 * 417) / 417);
}

TEST(Mp3Tag, Id3v23OnlyTheLastSizeByteCounts) {
    const QByteArray longTitle(50, 'T');
    // 0x0000011F: 287 by the standard, 0x1F - 1 = 30 text bytes here.
    QByteArray frame = v3Frame("TIT2", longTitle, 0x11F);
    EXPECT_EQ(readBoth(id3v2(3, frame, 300) + audio()).Title(), QString(30, 'T'));

    // A title longer than the field is cut to 30 characters.
    EXPECT_EQ(readBoth(id3v2(3, v3Frame("TIT2", longTitle)) + audio()).Title(), QString(30, 'T'));

    // Size byte 0 gives an unusable length; the other frames are still read.
    const cMP3Info zero =
        readBoth(id3v2(3, v3Frame("TIT2", "x", 0x100) + v3Frame("TPE1", "Artist")) + audio());
    EXPECT_EQ(zero.Title(), QString());
    EXPECT_EQ(zero.Artist(), QString("Artist"));

    // Size byte 1: only the encoding byte, an empty text.
    EXPECT_EQ(readBoth(id3v2(3, v3Frame("TALB", "", 1))).Album(), QString());
}

TEST(Mp3Tag, Id3v23CompressedOrEncryptedFramesAreSkipped) {
    const struct {
        quint8 flags;
        bool skipped;
    } cases[] = {{0x80, true}, {0x40, true}, {0xC0, true}, {0x20, false}, {0x00, false}};
    for (const auto& c : cases) {
        const QByteArray tag = id3v2(3, v3Frame("TIT2", "Title", -1, c.flags) +
                                            v3Frame("TPE1", "Artist", -1, c.flags));
        const cMP3Info info = readBoth(tag);
        EXPECT_EQ(info.Title(), c.skipped ? QString() : QString("Title")) << int(c.flags);
        EXPECT_EQ(info.Artist(), c.skipped ? QString() : QString("Artist")) << int(c.flags);
        EXPECT_TRUE(info.TagPresent());
    }
}

TEST(Mp3Tag, Id3v2GenreForms) {
    const struct {
        const char* text;
        const char* genre;
    } cases[] = {{"(17)Rock", "Rock"}, {"(17)", ""},
                 {"Rock", "n/a"},      {"(17) Rock ", "Rock"},
                 {"(9)(17)", "(17)"},  {"(17", "(17"},
                 {"", "n/a"},          {"(1)A very long genre name here", "A very long genre na"}};
    for (const auto& c : cases) {
        const cMP3Info info = readBoth(id3v2(3, v3Frame("TCON", c.text)));
        EXPECT_EQ(info.Genre(), QString(c.genre)) << c.text;
    }
}

TEST(Mp3Tag, Id3v22UsesThreeLetterFramesAndTheOriginalArtistOnly) {
    const QByteArray tag =
        id3v2(2,
              v2Frame("TP1", "Lead artist") + v2Frame("TT2", "Title 2.2") +
                  v2Frame("TAL", "Album 2.2") + v2Frame("TYE", "1987") + v2Frame("TCO", "(8)Jazz"),
              20);
    const cMP3Info info = readBoth(tag + audio());
    EXPECT_EQ(info.Title(), QString("Title 2.2"));
    EXPECT_EQ(info.Album(), QString("Album 2.2"));
    EXPECT_EQ(info.Year(), QString("1987"));
    EXPECT_EQ(info.Genre(), QString("Jazz"));
    EXPECT_EQ(info.Artist(), QString()) << "TP1 is not read";

    const cMP3Info withToa = readBoth(id3v2(2, v2Frame("TOA", "Original artist")));
    EXPECT_EQ(withToa.Artist(), QString("Original artist"));
    // Version 2 frames also use only the last size byte.
    EXPECT_EQ(readBoth(id3v2(2, v2Frame("TT2", QByteArray(40, 'x'), 0x10B), 300)).Title(),
              QString(10, 'x'));
}

TEST(Mp3Tag, FirstOccurrenceOfAnIdentifierCountsEvenInsideAnotherFrame) {
    // "TIT2" appears inside the comment's text before the real title frame.
    const QByteArray tag = id3v2(3, v3Frame("COMM",
                                            QByteArray("xxTIT2\0\0\0\x03\0\0\0"
                                                       "ab",
                                                       15),
                                            20) +
                                        v3Frame("TIT2", "Real title"));
    EXPECT_EQ(readBoth(tag).Title(), QString("ab"));
}

TEST(Mp3Tag, TagsThatAreNotReadGiveEmptyFieldsButATag) {
    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"version 2.4", id3v2(4, v3Frame("TIT2", "Title")) + audio()},
        {"version 1 marker", id3v2(1, v3Frame("TIT2", "Title"))},
        {"size larger than the file", id3v2(3, v3Frame("TIT2", "Title"), 0, 100000)},
        {"empty tag data", id3v2(3, {}, 0, 0) + v3Frame("TIT2", "Title")},
        {"no tag at all", audio()},
        {"shorter than a header", QByteArray("ID3")},
        {"empty file", QByteArray()},
    };
    for (const auto& c : cases) {
        const cMP3Info info = readBoth(c.data);
        EXPECT_TRUE(info.TagPresent()) << c.what;
        EXPECT_EQ(info.Title(), QString()) << c.what;
        EXPECT_EQ(info.Genre(), QString()) << c.what;
    }
}

TEST(Mp3Tag, Id3v2FirstByteIsNotExamined) {
    QByteArray tag = id3v2(3, v3Frame("TIT2", "Title"));
    tag[0] = 'X';
    EXPECT_EQ(readBoth(tag).Title(), QString("Title"));
}

TEST(Mp3Tag, FrameTextRunningPastTheTagEndIsCut) {
    // The size byte claims 20 text bytes but the tag data ends after 5.
    const QByteArray tag = id3v2(3, v3Frame("TIT2", "Hello", 21));
    EXPECT_EQ(readBoth(tag + audio()).Title(), QString("Hello"));
    // The flag byte itself lies outside the tag data: the frame is skipped.
    EXPECT_EQ(readBoth(id3v2(3, QByteArray("TIT2\0\0", 6)) + audio()).Title(), QString());
}
