// Damaged compound files: truncated, broken or cyclic sector chains, sizes
// that lie. Each gives empty text, promptly, and never a crash.

#include "CompoundFileWriter.h"
#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace NX_TextExtractor;
using namespace TextExtractorTest;

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;

QByteArray patched(QByteArray b, qint64 at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
    return b;
}

class DamagedFixture : public ::testing::Test {
protected:
    void SetUp() override {
        doc = readFixture("long.doc");
        ASSERT_GT(doc.size(), 8192);
        full = WordDocumentReader::extractText(doc);
        ASSERT_TRUE(full.startsWith("Paragraph number 1 "));
    }
    QByteArray doc;
    QString full;
};

TEST_F(DamagedFixture, SectorChainsThatBreak) {
    const CfbLayout layout(doc);
    const quint32 wdStart = layout.startSector("WordDocument");
    const quint32 dirStart = qFromLittleEndian<quint32>(doc.constData() + 48);
    ASSERT_LT(wdStart, 1000u);
    const qint64 wdEntry = layout.entryOffset("WordDocument");
    const struct {
        const char* label;
        QByteArray file;
    } cases[] = {
        {"chain loops on itself", patched(doc, layout.fatEntryOffset(wdStart), wdStart)},
        {"chain points past the file", patched(doc, layout.fatEntryOffset(wdStart), 0x00FFFFF0)},
        {"chain ends too early", patched(doc, layout.fatEntryOffset(wdStart), kEnd)},
        {"chain runs into free sector marks",
         patched(doc, layout.fatEntryOffset(wdStart), 0xFFFFFFFF)},
        {"stream starts past the file", patched(doc, wdEntry + 116, 0x7FFFFF00)},
        {"stream larger than the file", patched(doc, wdEntry + 120, 0x7FFFFFFF)},
        {"directory chain loops", patched(doc, layout.fatEntryOffset(dirStart), dirStart)},
        {"directory past the file", patched(doc, 48, 0x0FFFFFFF)},
        {"FAT sector count absurd", patched(doc, 44, 0x7FFFFFFF)},
        {"FAT sector count zero", patched(doc, 44, 0)},
        {"FAT sector past the file", patched(doc, 76, 0x00FFFFFF)},
        {"bad signature", patched(doc, 0, 0x12345678)},
        {"bad sector size", patched(doc, 28, 0x000BFFFE)},
        {"bad version", patched(doc, 24, 0x0007003E)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WordDocumentReader::extractText(c.file), QString()) << c.label;
}

TEST_F(DamagedFixture, DifatChainThatLoops) {
    // A FAT of 240 sectors needs the header's 109 entries and a chain of
    // DIFAT sectors; here the first DIFAT sector names itself as the next.
    QByteArray big = doc + QByteArray(130000 - doc.size(), '\0');
    const quint32 difat = 200;
    big = patched(patched(big, 44, 240), 68, difat);
    big = patched(big, 72, 2);
    for (int i = 0; i < 109; ++i)
        big = patched(big, 76 + 4 * i, quint32(i));
    const QByteArray looping = patched(big, (difat + 1) * 512 + 508, difat);
    EXPECT_EQ(WordDocumentReader::extractText(looping), QString());
    const QByteArray pastEnd = patched(big, (difat + 1) * 512 + 508, 0x00FFFFFF);
    EXPECT_EQ(WordDocumentReader::extractText(pastEnd), QString());
}

TEST_F(DamagedFixture, TruncatedCopies) {
    for (const qint64 size :
         {qint64(0), qint64(100), qint64(511), qint64(512), qint64(1024), doc.size() / 2})
        EXPECT_EQ(WordDocumentReader::extractText(QByteArrayView(doc).first(size)), QString())
            << size;
    // Wherever the cut falls, the result is the whole text or nothing.
    for (qint64 size = 0; size < doc.size(); size += 256) {
        const QString text = WordDocumentReader::extractText(QByteArrayView(doc).first(size));
        EXPECT_TRUE(text.isEmpty() || text == full) << size;
    }
}

TEST_F(DamagedFixture, TruncatedFileOnDiskThroughTheExtractor) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "cut.doc", doc.left(doc.size() / 2));
    EXPECT_EQ(Extractor().get_FileType(path).Type, TypesFile::MicrosoftWordDocument);
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::MicrosoftWordDocument), QString());
    EXPECT_TRUE(Extractor().get_Words(path).isEmpty());
}

TEST(DamagedMiniStream, CyclesAndOverrunsInTheMiniChain) {
    WordDocumentLayout pieces;
    for (int i = 0; i < 12; ++i)
        pieces.pieces.append(WordPiece{QByteArray("piece "), QString(), true});
    const QByteArray doc = buildWordDocument(pieces);
    ASSERT_EQ(WordDocumentReader::extractText(doc), QString("piece ").repeated(12).chopped(1));
    const CfbLayout layout(doc);
    const quint32 tableStart = layout.startSector("1Table");
    const quint32 miniFatSector = qFromLittleEndian<quint32>(doc.constData() + 60);
    const qint64 miniFatEntry = (qint64(miniFatSector) + 1) * 512 + 4 * tableStart;
    const qint64 root = layout.entryOffset("Root Entry");
    const struct {
        const char* label;
        QByteArray file;
    } cases[] = {
        {"mini chain loops", patched(doc, miniFatEntry, tableStart)},
        {"mini chain past the mini stream", patched(doc, miniFatEntry, 0x00100000)},
        {"mini chain ends early", patched(doc, miniFatEntry, kEnd)},
        {"mini stream larger than the file", patched(doc, root + 120, 0x7FFFFFF0)},
        {"mini stream chain broken", patched(doc, root + 116, 0x00FFFFFF)},
        {"mini FAT past the file", patched(doc, 60, 0x00FFFFFF)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WordDocumentReader::extractText(c.file), QString()) << c.label;
}

// Every single byte of a real document spoiled in turn: the reader must
// come back each time (sanitizer builds also check memory safety here).
TEST(DamagedBytes, EveryByteFlippedInTurn) {
    const QByteArray doc = readFixture("simple.doc");
    ASSERT_FALSE(doc.isEmpty());
    const QString full = WordDocumentReader::extractText(doc);
    int intact = 0;
    for (qint64 i = 0; i < doc.size(); ++i) {
        QByteArray copy = doc;
        copy[i] = char(copy[i] ^ 0xA5);
        const QString text = WordDocumentReader::extractText(copy);
        intact += text == full;
        EXPECT_LE(text.size(), doc.size()) << i;
    }
    EXPECT_GT(intact, doc.size() / 2); // unused bytes (padding, other streams) do not matter
}

} // namespace
