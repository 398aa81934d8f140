// Word documents built piece by piece: 8-bit and 16-bit pieces, fields,
// control characters, and the compound files that are not Word documents.

#include "CompoundFileWriter.h"
#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace NX_TextExtractor;
using namespace TextExtractorTest;

namespace {

WordPiece ansi(const QByteArray& b) {
    return WordPiece{b, QString(), true};
}
WordPiece wide(const QString& s) {
    return WordPiece{QByteArray(), s, false};
}

struct PieceCase {
    const char* label;
    WordDocumentLayout layout;
    QString expected;
};

void PrintTo(const PieceCase& c, std::ostream* os) {
    *os << c.label;
}

std::vector<PieceCase> pieceCases() {
    const QString greek = QString::fromUtf8("\xCE\xB1\xCE\xB2\xCE\xB3 \xE4\xB8\xAD");
    WordDocumentLayout padded{{ansi("Big stream\r")}};
    padded.padStreamTo = 9000;
    WordDocumentLayout zeroTable{{ansi("zero table\r")}};
    zeroTable.tableOne = false;
    WordDocumentLayout withRun{{ansi("after a property run\r")}};
    withRun.propertyRunFirst = true;
    WordDocumentLayout shortMain{{ansi("main text\rfootnote\r")}};
    shortMain.extraCcp = -9;
    WordDocumentLayout longMain{{ansi("all of it\r")}};
    longMain.extraCcp = 50;
    return {
        {"8-bit piece", {{ansi("Hello\rWorld\r")}}, "Hello\r\nWorld\r\n"},
        {"8-bit piece is Windows-1252",
         {{ansi("caf\xE9 \x93q\x94 \x80")}},
         QString::fromUtf8("caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC")},
        {"16-bit piece", {{wide(greek + "\r")}}, greek + "\r\n"},
        {"mixed pieces in order",
         {{ansi("one "), wide(greek), ansi(" three\r")}},
         "one " + greek + " three\r\n"},
        {"field shows its result",
         {{ansi("\x13 HYPERLINK \"http://x\" \x14shown\x15 after")}},
         "shown after"},
        {"field without result vanishes",
         {{ansi("a\x13 PAGE \x15"
                "b")}},
         "ab"},
        {"nested fields",
         {{ansi("\x13 IF \x13 PAGE \x14"
                "1\x15 = 1 \"yes\" \x14yes\x15!")}},
         "yes!"},
        {"field spanning pieces",
         {{ansi("x\x13 REF "), wide("a \x14"), ansi("res\x15y")}},
         "xresy"},
        {"stray field marks ignored", {{ansi("\x15\x14text")}}, "text"},
        {"field that never ends hides the rest", {{ansi("keep\x13 code to the end")}}, "keep"},
        {"control characters",
         {{ansi("\x01\x08pic\x07"
                "cell\x0Bline\x0Cpage\x0E"
                "col\x1Enb\x1Fsoft\x02\x05")}},
         "pic\tcell\r\nline\r\npage\r\ncol-nbsoft"},
        {"leading and trailing spaces trimmed", {{ansi("   spaced out   ")}}, "spaced out"},
        {"main text shorter than the pieces", shortMain, "main text\r\n"},
        {"main text longer than the pieces", longMain, "all of it\r\n"},
        {"stream beyond the mini stream", padded, "Big stream\r\n"},
        {"table stream 0Table", zeroTable, "zero table\r\n"},
        {"property run before the pieces", withRun, "after a property run\r\n"},
        {"no pieces", {}, ""},
        {"many small pieces",
         {{ansi("a"), ansi("b"), wide("c"), ansi("d"), wide("e"), ansi("f"), ansi("g"), ansi("h"),
           wide("i"), ansi("j"), ansi("k"), ansi("l")}},
         "abcdefghijkl"},
    };
}

class WordPieces : public ::testing::TestWithParam<PieceCase> {};

TEST_P(WordPieces, GiveThePlainText) {
    const PieceCase& c = GetParam();
    EXPECT_EQ(WordDocumentReader::extractText(buildWordDocument(c.layout)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WordPieces, ::testing::ValuesIn(pieceCases()));

TEST(WordPieces, ThroughTheExtractorFromAFile) {
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, "built.doc", buildWordDocument({{ansi("Built document text\r")}}));
    EXPECT_EQ(Extractor().get_FileType(path).Type, TypesFile::MicrosoftWordDocument);
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::MicrosoftWordDocument, 1),
              "Built document text\r\n");
    EXPECT_EQ(Extractor().get_Words(path), QStringList({"built", "document", "text"}));
}

TEST(OtherCompoundFiles, GiveEmptyText) {
    const QByteArray wd = buildWordDocumentStream({{ansi("text\r")}});
    const QByteArray table = buildTableStream({{ansi("text\r")}});
    WordDocumentLayout encrypted{{ansi("secret\r")}};
    encrypted.encrypted = true;
    QByteArray notWord = wd;
    notWord[0] = 'X';
    QByteArray word6 = wd;
    qToLittleEndian<quint16>(0x0065, word6.data() + 2);
    QByteArray fibTooShort = wd.left(40);

    const struct {
        const char* label;
        QByteArray file;
    } cases[] = {
        {"workbook",
         buildCompoundFile({{"Workbook", QByteArray(5000, 'w')}, {"SummaryInformation", "x"}})},
        {"presentation", buildCompoundFile({{"PowerPoint Document", QByteArray(100, 'p')}})},
        {"empty container", buildCompoundFile({})},
        {"encrypted document", buildWordDocument(encrypted)},
        {"not a Word stream", buildCompoundFile({{"WordDocument", notWord}, {"1Table", table}})},
        {"Word 6 document", buildCompoundFile({{"WordDocument", word6}, {"1Table", table}})},
        {"information block cut short",
         buildCompoundFile({{"WordDocument", fibTooShort}, {"1Table", table}})},
        {"table stream missing", buildCompoundFile({{"WordDocument", wd}})},
        {"wrong table stream", buildCompoundFile({{"WordDocument", wd}, {"0Table", table}})},
        {"no WordDocument stream",
         buildCompoundFile({{"1Table", table}, {"Data", QByteArray(10, 'd')}})},
        {"plain text", QByteArray("just some text, not a container")},
        {"nothing", QByteArray()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WordDocumentReader::extractText(c.file), QString()) << c.label;
}

// Piece tables that lie about their own layout.
TEST(DamagedPieceTables, GiveEmptyText) {
    const WordDocumentLayout layout{{ansi("first "), ansi("second\r")}};
    const QByteArray wd = buildWordDocumentStream(layout);
    const QByteArray table = buildTableStream(layout); // 0x02, size, 3 CPs, 2 descriptors
    const auto with = [](QByteArray b, int at, quint32 v) {
        qToLittleEndian(v, b.data() + at);
        return b;
    };
    const int clx = 154 + 33 * 8;
    const int plc = 5;
    const int pcd = plc + 4 * 3;
    QByteArray badKind = table;
    badKind[0] = 7;
    const struct {
        const char* label;
        QByteArray wd;
        QByteArray table;
    } cases[] = {
        {"piece table beyond the table stream", with(wd, clx, 4000), table},
        {"piece table longer than its stream", with(wd, clx + 4, quint32(table.size() + 1)), table},
        {"no piece table", with(wd, clx + 4, 0), table},
        {"unknown CLX entry", wd, badKind},
        {"size not 4 + 12n", wd, with(table, 1, quint32(table.size() - 5 - 1))},
        {"character positions going back", wd, with(table, plc + 4, 100)},
        {"text beyond the stream", wd, with(table, pcd + 2, 0x40000000u | 0x3FFFFFF0u)},
        {"16-bit text beyond the stream", wd, with(table, pcd + 2, quint32(wd.size() - 2))},
        {"pieces longer than the stream", with(wd, 76, 0x7FFFFFFF),
         with(table, plc + 8, 0x7FFFFFFF)},
        {"negative main text length", with(wd, 76, 0x80000000u), table},
    };
    ASSERT_EQ(WordDocumentReader::extractText(
                  buildCompoundFile({{"WordDocument", wd}, {"1Table", table}})),
              "first second\r\n");
    for (const auto& c : cases)
        EXPECT_EQ(WordDocumentReader::extractText(
                      buildCompoundFile({{"WordDocument", c.wd}, {"1Table", c.table}})),
                  QString())
            << c.label;
}

TEST(DamagedPieceTables, RepeatedPiecesCannotBlowUpTheText) {
    // Thousands of pieces all pointing at the same bytes: the text may not
    // grow beyond the stream that holds it.
    const int n = 5000;
    QByteArray wd = buildWordDocumentStream({{ansi(QByteArray(200, 'z'))}});
    QByteArray plc(4 * (n + 1) + 8 * n, '\0');
    for (int i = 0; i <= n; ++i)
        qToLittleEndian<quint32>(quint32(200 * i), plc.data() + 4 * i);
    for (int i = 0; i < n; ++i)
        qToLittleEndian<quint32>(0x40000000u | 0x800u, plc.data() + 4 * (n + 1) + 8 * i + 2);
    QByteArray table(1, char(2));
    QByteArray len(4, '\0');
    qToLittleEndian<quint32>(quint32(plc.size()), len.data());
    table += len + plc;
    qToLittleEndian<quint32>(quint32(200 * n), wd.data() + 76);
    qToLittleEndian<quint32>(quint32(table.size()), wd.data() + 154 + 33 * 8 + 4);
    EXPECT_EQ(WordDocumentReader::extractText(
                  buildCompoundFile({{"WordDocument", wd}, {"1Table", table}})),
              QString());
}

} // namespace
