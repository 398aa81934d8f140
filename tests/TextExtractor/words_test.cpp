// Word splitting for the word index, and its source choice (file or text).

#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <unistd.h>

using namespace NX_TextExtractor;
using TextExtractorTest::writeFile;

namespace {

struct WordsCase {
    const char* label;
    QString text;
    int smaller;
    int larger;
    QStringList expected;
};

void PrintTo(const WordsCase& c, std::ostream* os) {
    *os << c.label;
}

std::vector<WordsCase> wordsCases() {
    const QString twenty(20, u'a');
    const QString twentyOne = QString(20, u'b') + u'b';
    return {
        {"punctuation discards both pieces", "Hello, world.", 3, 20, {}},
        {"defaults keep four to twenty letters",
         "the quick brown fox jumps over the lazy dog",
         3,
         20,
         {"quick", "brown", "jumps", "over", "lazy"}},
        {"case folded, first occurrence kept", "UNIX unix Unix", 3, 20, {"unix"}},
        {"twenty letters kept, twenty-one dropped", twenty + " " + twentyOne, 3, 20, {twenty}},
        {"one-letter words with lower bound 0", "a b c a", 0, 20, {"a", "b", "c"}},
        {"length equal to lower bound dropped", "abc abcd", 3, 20, {"abcd"}},
        {"upper bound inclusive", "abcd abcde", 0, 4, {"abcd"}},
        {"digits discard the piece", "version2 release", 3, 20, {"release"}},
        {"apostrophe and hyphen discard", "don't well-known plain", 3, 20, {"plain"}},
        {"accented letters discard",
         QString::fromUtf8("caf\xC3\xA9 na\xC3\xAFve simple"),
         3,
         20,
         {"simple"}},
        {"line ends, tabs and NUL separate",
         QString("alpha\r\nbravo\tcharlie") + QChar(0) + "delta",
         3,
         20,
         {"alpha", "bravo", "charlie", "delta"}},
        {"runs of blanks separate",
         "alpha   bravo    charlie     delta",
         3,
         20,
         {"alpha", "bravo", "charlie", "delta"}},
        {"leading and trailing blanks", "   \r\n alpha \t ", 3, 20, {"alpha"}},
        {"empty text", "", 3, 20, {}},
        {"only blanks", " \r\n\t ", 0, 20, {}},
        {"negative lower bound never yields an empty word",
         "alpha   bravo",
         -1,
         20,
         {"alpha", "bravo"}},
        {"form feed is not a separator", "alpha\fbravo charlie", 3, 20, {"charlie"}},
        {"non-breaking space is not a separator",
         QString("alpha") + QChar(0xA0) + "bravo charlie",
         3,
         20,
         {"charlie"}},
        {"Kelvin sign is not the letter k",
         QString(QChar(0x212A)) + "elvin kelvin",
         3,
         20,
         {"kelvin"}},
        {"bounds that cross keep nothing", "alpha bravo", 10, 5, {}},
    };
}

class WordSplitting : public ::testing::TestWithParam<WordsCase> {};

TEST_P(WordSplitting, KeepsDistinctWordsInOrder) {
    const WordsCase& c = GetParam();
    EXPECT_EQ(Extractor::splitWords(c.text, c.smaller, c.larger), c.expected);
    EXPECT_EQ(Extractor().get_Words(QString(), qint16(c.smaller), qint16(c.larger), c.text),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WordSplitting, ::testing::ValuesIn(wordsCases()));

TEST(BlankNormalising, CollapsesPairsInOnePass) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {"a b", "a b"},
        {"a  b", "a b"},
        {"a   b", "a  b"},    // the pair collapses, the third space stays
        {"a    b", "a  b"},   // two pairs, two spaces
        {"a     b", "a   b"}, // two pairs and one
        {"a\r\nb", "a b"},    // CR LF become a pair of spaces
        {"a\r\n\r\nb", "a  b"},
        {"a\t \tb", "a  b"},
        {QString("a") + QChar(0) + QChar(0) + QChar(0) + "b", "a  b"},
        {"  a  ", "a"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Extractor::normalizeBlanks(c.in), c.out) << qPrintable(c.in);
}

TEST(WordsFromFiles, ReadsWholeTextFileDecodedAsWindows1252) {
    QTemporaryDir dir;
    QByteArray body = "first words here\r\n";
    body += QByteArray(5000, ' ');
    body += "caf\xE9 middle\r\n";
    body += QByteArray(70000, 'x') + " " + "closing";
    const QString path = writeFile(dir, "notes.txt", body);
    EXPECT_EQ(Extractor().get_Words(path),
              QStringList({"first", "words", "here", "middle", "closing"}));
}

TEST(WordsFromFiles, HugeTextFileIsReadOnlyUpToTheLimit) {
    QTemporaryDir dir;
    QByteArray body = "opening words ";
    body += QByteArray(Extractor::WordsReadLimitKB * 1024 - body.size() - 9, ' ');
    body += " lastword beyondlimit";
    const QString path = writeFile(dir, "huge.txt", body);
    // Sparse tail: the file claims 1 GB; reading it whole would take gigabytes of memory.
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 1LL << 30), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Extractor().get_Words(path), QStringList({"opening", "words", "lastword"}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(WordsFromFiles, FileWinsOverTextAndBlankNameFallsBackToText) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "a.txt", "fromfile");
    EXPECT_EQ(Extractor().get_Words(path, 3, 20, "fromtext"), QStringList({"fromfile"}));
    EXPECT_EQ(Extractor().get_Words("   ", 3, 20, "fromtext"), QStringList({"fromtext"}));
    EXPECT_TRUE(Extractor().get_Words(QString(), 3, 20, QString()).isEmpty());
}

TEST(WordsFromFiles, MissingOrHiddenFileGivesNoWords) {
    QTemporaryDir dir;
    const QString hidden = writeFile(dir, ".secret.txt", "hidden words here");
    EXPECT_TRUE(Extractor().get_Words(hidden, 3, 20, "ignored text").isEmpty());
    EXPECT_TRUE(Extractor().get_Words(dir.filePath("missing.txt")).isEmpty());
}

TEST(WordsFromFiles, BinaryAndHtmlFilesAreReadRaw) {
    QTemporaryDir dir;
    const QString html =
        writeFile(dir, "page.htm", "<html><body>\nWelcome visitors\n</body></html>");
    EXPECT_EQ(Extractor().get_Words(html), QStringList({"welcome", "visitors"}));
    const QString bin = writeFile(
        dir, "blob.bin", QByteArray("\x01\x02 header ", 10) + QByteArray(3, '\0') + "payload");
    EXPECT_EQ(Extractor().get_Words(bin), QStringList({"header", "payload"}));
}

} // namespace
