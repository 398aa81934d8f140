// The RAR header reader against archives written byte by byte, with
// libarchive as the independent reader of the same bytes.

#include "catalogue/RarHeaderReader.h"
#include "RarTestWriter.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

RarListing readBytes(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return RarHeaderReader::read(buffer);
}

QList<RarTestEntry> sampleEntries() {
    QList<RarTestEntry> e;
    e.append(rarFile("root.txt", "hello root\n"));
    e.append(rarFolder("docs"));
    e.append(rarFile("docs/readme.txt", QByteArray(300, 'r')));
    e.append(rarFile("docs/locked.txt", "ro").attrs(0x21));
    e.append(rarFile("empty.dat", {}));
    e.append(rarFile("after-empty.txt", "still listed"));
    return e;
}

struct FormatCase {
    const char* label;
    int format;
    QByteArray (*make)(const QList<RarTestEntry>&, const QByteArray&);
};

QByteArray make4(const QList<RarTestEntry>& e, const QByteArray& c) {
    return makeRar4(e, c);
}
QByteArray make5(const QList<RarTestEntry>& e, const QByteArray& c) {
    return makeRar5(e, c);
}

class RarBothFormats : public ::testing::TestWithParam<FormatCase> {};

} // namespace

TEST_P(RarBothFormats, ListsEveryHeaderWithSizesAttributesAndComment) {
    const auto& f = GetParam();
    const RarListing l = readBytes(f.make(sampleEntries(), "  Disc one of two \n"));
    EXPECT_EQ(l.Format, f.format);
    EXPECT_TRUE(l.Complete) << l.Error.toStdString();
    EXPECT_EQ(l.Comment, "Disc one of two");
    ASSERT_EQ(l.Entries.size(), 6);
    EXPECT_EQ(l.Entries[0].Name, "root.txt");
    EXPECT_EQ(l.Entries[0].UnpackedSize, 11u);
    EXPECT_EQ(l.Entries[0].PackedSize, 11u);
    EXPECT_EQ(l.Entries[0].Attributes, 0x20u);
    EXPECT_TRUE(l.Entries[1].IsDirectory);
    EXPECT_EQ(l.Entries[1].Attributes & 0x10u, 0x10u);
    EXPECT_EQ(l.Entries[2].Name, "docs/readme.txt");
    EXPECT_EQ(l.Entries[2].UnpackedSize, 300u);
    EXPECT_EQ(l.Entries[3].Attributes, 0x21u);
    EXPECT_EQ(l.Entries[4].UnpackedSize, 0u);
    EXPECT_EQ(l.Entries[5].Name, "after-empty.txt");
    EXPECT_FALSE(l.Entries[0].IsEncrypted);
}

TEST_P(RarBothFormats, AgreesWithLibarchiveOnNamesAndSizes) {
    const auto& f = GetParam();
    QList<RarTestEntry> entries = sampleEntries();
    // (No two consecutive headers of one name here: libarchive takes the
    // second for the continuation of the first.)
    entries.append(rarFile("twice.txt", "1"));
    entries.append(rarFile("between.txt", "b"));
    entries.append(rarFile("twice.txt", "22"));
    entries.append(rarFile("deep/er/still/x.bin", QByteArray(5000, '\x01')));
    entries.append(rarFile("unix.sh", "#!/bin/sh\n").unixMode(0100755));
    entries.append(
        rarFile(QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.txt"),
                "cyrillic")
            .wide("??????.txt"));
    entries.append(rarFile(QString::fromUtf8("mixed/caf\xc3\xa9 \xd0\x96 long name.txt"), "mixed")
                       .wide("mixed\\caf\xe9 ? long name.txt"));
    const QByteArray bytes = f.make(entries, "a comment libarchive must step over");
    const RarListing ours = readBytes(bytes);
    const WitnessListing theirs = libarchiveListing(bytes);
    ASSERT_TRUE(theirs.complete) << theirs.error.toStdString();
    ASSERT_TRUE(ours.Complete) << ours.Error.toStdString();
    QList<WitnessEntry> mine;
    for (const RarEntry& e : ours.Entries)
        mine.append({e.Name, qint64(e.UnpackedSize), e.IsDirectory});
    EXPECT_EQ(mine, theirs.entries);
}

TEST_P(RarBothFormats, UnixModesMapToDosAttributes) {
    const auto& f = GetParam();
    QList<RarTestEntry> e;
    e.append(rarFile("file", "x").unixMode(0100644));
    e.append(rarFolder("dir").unixMode(040755));
    e.append(rarFile("link", "target").unixMode(0120777));
    const RarListing l = readBytes(f.make(e, {}));
    ASSERT_EQ(l.Entries.size(), 3);
    EXPECT_EQ(l.Entries[0].Attributes, 32u);
    EXPECT_EQ(l.Entries[0].RawAttributes, 0100644u);
    EXPECT_EQ(l.Entries[1].Attributes, 16u);
    EXPECT_EQ(l.Entries[2].Attributes, 0u);
}

TEST_P(RarBothFormats, ClaimedSizesUseAllSixtyFourBits) {
    const auto& f = GetParam();
    const quint64 hundredGb = 100ull * 1000 * 1000 * 1000;
    QList<RarTestEntry> e;
    e.append(rarFile("bomb.bin", "tiny").claim(hundredGb));
    const RarListing l = readBytes(f.make(e, {}));
    ASSERT_EQ(l.Entries.size(), 1);
    EXPECT_EQ(l.Entries[0].UnpackedSize, hundredGb);
    EXPECT_EQ(l.Entries[0].PackedSize, 4u);
}

TEST_P(RarBothFormats, EncryptedEntryIsListedAndMarked) {
    const auto& f = GetParam();
    QList<RarTestEntry> e;
    e.append(rarFile("secret.txt", QByteArray(16, 'S')).secret());
    e.append(rarFile("plain.txt", "p"));
    const RarListing l = readBytes(f.make(e, {}));
    ASSERT_EQ(l.Entries.size(), 2);
    EXPECT_TRUE(l.Entries[0].IsEncrypted);
    EXPECT_FALSE(l.Entries[1].IsEncrypted);
}

TEST_P(RarBothFormats, EveryTruncationStopsWithAPrefixOfTheListing) {
    const auto& f = GetParam();
    const QByteArray full = f.make(sampleEntries(), "comment");
    const RarListing whole = readBytes(full);
    for (qsizetype cut = 0; cut < full.size(); ++cut) {
        const RarListing part = readBytes(full.left(cut));
        ASSERT_LE(part.Entries.size(), whole.Entries.size()) << "cut " << cut;
        // The 4.x format allowed archives without an end block, so only the
        // 5.x format can tell a cut at a header boundary from a whole archive.
        if (f.format == 5) {
            EXPECT_FALSE(part.Complete) << "cut " << cut;
        }
        for (qsizetype i = 0; i < part.Entries.size(); ++i)
            ASSERT_EQ(part.Entries[i].Name, whole.Entries[i].Name) << "cut " << cut;
    }
}

TEST_P(RarBothFormats, FlippedBytesNeverCrashAndKeepWhatCameBefore) {
    const auto& f = GetParam();
    const QByteArray full = f.make(sampleEntries(), "comment");
    const RarListing whole = readBytes(full);
    for (qsizetype at = 0; at < full.size(); ++at) {
        QByteArray damaged = full;
        damaged[at] = char(damaged[at] ^ 0x5A);
        const RarListing l = readBytes(damaged);
        ASSERT_LE(l.Entries.size(), whole.Entries.size() + 1) << "byte " << at;
    }
}

TEST_P(RarBothFormats, HeaderChecksumDamageStopsTheListing) {
    const auto& f = GetParam();
    QByteArray bytes = f.make(sampleEntries(), {});
    const qsizetype at = bytes.indexOf("docs"); // inside the second entry's header
    ASSERT_GT(at, 0);
    bytes[at] = 'D';
    const RarListing l = readBytes(bytes);
    EXPECT_FALSE(l.Complete);
    EXPECT_FALSE(l.Error.isEmpty());
    ASSERT_EQ(l.Entries.size(), 1);
    EXPECT_EQ(l.Entries[0].Name, "root.txt");
}

TEST_P(RarBothFormats, EncryptedHeadersListNothing) {
    const auto& f = GetParam();
    const QByteArray bytes = f.format == 4
                                 ? makeRar4(sampleEntries(), {}, Rar4Comment::SubBlock, true)
                                 : makeRar5(sampleEntries(), {}, true);
    const RarListing l = readBytes(bytes);
    EXPECT_TRUE(l.HeadersEncrypted);
    EXPECT_TRUE(l.Entries.isEmpty());
    EXPECT_FALSE(l.Complete);
}

TEST_P(RarBothFormats, SelfExtractingStubBeforeTheMarkerIsSkipped) {
    const auto& f = GetParam();
    const QByteArray bytes =
        QByteArray("MZ") + QByteArray(5000, '\x90') + f.make(sampleEntries(), {});
    const RarListing l = readBytes(bytes);
    EXPECT_EQ(l.Format, f.format);
    EXPECT_EQ(l.Entries.size(), 6);
}

INSTANTIATE_TEST_SUITE_P(Formats, RarBothFormats,
                         ::testing::Values(FormatCase{"rar4", 4, make4},
                                           FormatCase{"rar5", 5, make5}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(RarHeaderReader, OldStyleCommentInsideTheMainHeader) {
    const QByteArray bytes = makeRar4(sampleEntries(), "Old comment  ", Rar4Comment::InMainHeader);
    const RarListing l = readBytes(bytes);
    EXPECT_EQ(l.Comment, "Old comment");
    EXPECT_EQ(l.Entries.size(), 6);
    EXPECT_TRUE(l.Complete);
}

TEST(RarHeaderReader, Rar4NamesWithoutWideNameAreCodePage437) {
    QList<RarTestEntry> e;
    // 0x81 is u-umlaut, 0xE1 sharp s, 0x9C the pound sign in code page 437.
    e.append(rarFile("x", "1").raw("M\x81ller\\Stra\xe1"
                                   "e \x9c.txt"));
    const RarListing l = readBytes(makeRar4(e));
    ASSERT_EQ(l.Entries.size(), 1);
    EXPECT_EQ(l.Entries[0].Name, QString::fromUtf8("M\xc3\xbcller/Stra\xc3\x9f"
                                                   "e \xc2\xa3.txt"));
}

TEST(RarHeaderReader, Rar4DosTimeIsDecodedWithoutZoneConversion) {
    QList<RarTestEntry> e;
    e.append(rarFile("a", "1").at((45u << 25) | (4u << 21) | (11u << 16) | (13u << 11) |
                                  (33u << 5) | 1u));
    e.append(rarFile("b", "1").at((45u << 25) | (13u << 21) | (1u << 16)));
    const RarListing l = readBytes(makeRar4(e));
    ASSERT_EQ(l.Entries.size(), 2);
    EXPECT_EQ(l.Entries[0].Modified, QDateTime(QDate(2025, 4, 11), QTime(13, 33, 2)));
    EXPECT_FALSE(l.Entries[1].Modified.isValid()); // month 13: no time recorded
}

TEST(RarHeaderReader, Rar5TimeIsTheStoredUtcSecondInLocalTime) {
    QList<RarTestEntry> e;
    e.append(rarFile("a", "1").at(0x10));
    const RarListing l = readBytes(makeRar5(e));
    ASSERT_EQ(l.Entries.size(), 1);
    EXPECT_EQ(l.Entries[0].Modified.toSecsSinceEpoch(), 1700000000 + 0x10);
}

TEST(RarHeaderReader, NotARarArchive) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("PK\x03\x04 not rar"),
                                    QByteArray("Rar!\x1a\x07\x02", 7), QByteArray("Rar!")}) {
        const RarListing l = readBytes(bytes);
        EXPECT_TRUE(l.Entries.isEmpty());
        EXPECT_FALSE(l.Complete);
        EXPECT_FALSE(l.Error.isEmpty());
    }
}

TEST(RarHeaderReader, MissingFileIsAnError) {
    const RarListing l = RarHeaderReader::readFile("/nonexistent/archive.rar");
    EXPECT_EQ(l.Format, 0);
    EXPECT_FALSE(l.Error.isEmpty());
}
