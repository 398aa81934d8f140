// extract_text: the route chosen by the caller, raw reading with a limit.

#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace NX_TextExtractor;
using TextExtractorTest::writeFile;

namespace {

QByteArray patterned(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = (i % 100 == 0) ? '\0' : char('a' + i % 26);
    return b;
}

QString withoutNul(const QByteArray& b) {
    QByteArray copy = b;
    copy.replace('\0', QByteArray());
    return QString::fromLatin1(copy);
}

TEST(PlainReading, LimitInKilobytesReadsOnlyTheBeginning) {
    QTemporaryDir dir;
    const QByteArray content = patterned(10000);
    const QString path = writeFile(dir, "big.txt", content);
    const QString two = Extractor().extract_text(path, TypesFile::TextFile, 2);
    EXPECT_EQ(two, withoutNul(content.left(2048)));
    EXPECT_EQ(two.size(), 2048 - 21); // 21 NUL bytes among the first 2048
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::TextFile, 0), withoutNul(content));
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::TextFile, -5), withoutNul(content));
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::TextFile, 100), withoutNul(content));
    EXPECT_EQ(
        Extractor().extract_text(path, TypesFile::TextFile, std::numeric_limits<qint32>::max()),
        withoutNul(content));
}

TEST(PlainReading, BytesAreWindows1252Characters) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "ansi.txt", "caf\xE9 \x80 \x93q\x94 \x81\x8D\xFF");
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::TextFile),
              QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D ") +
                  QChar(0x81) + QChar(0x8D) + QChar(0xFF));
}

TEST(PlainReading, EveryByteValueDecodes) {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x41), u'A');
    EXPECT_EQ(text.at(0x80).unicode(), 0x20AC);
    EXPECT_EQ(text.at(0x9F).unicode(), 0x0178);
    EXPECT_EQ(text.at(0xA0).unicode(), 0x00A0);
    EXPECT_EQ(fromWindows1252(all, true).size(), 255);
}

TEST(PlainReading, OnlyTheTextKindReadsRaw) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "page.htm", "<html>text</html>");
    EXPECT_TRUE(Extractor().extract_text(path, TypesFile::HTMLDocumentFile).isEmpty());
    EXPECT_TRUE(Extractor().extract_text(path, TypesFile::Unclassified).isEmpty());
    EXPECT_TRUE(Extractor().extract_text(path, TypesFile::UnknownTextFile).isEmpty());
    EXPECT_EQ(Extractor().extract_text(path, TypesFile::TextFile), "<html>text</html>");
    // A text file handed to the document route is not a document.
    EXPECT_TRUE(Extractor().extract_text(path, TypesFile::MicrosoftWordDocument).isEmpty());
}

TEST(PlainReading, MissingHiddenAndEmptyFilesGiveEmptyText) {
    QTemporaryDir dir;
    EXPECT_TRUE(Extractor().extract_text(dir.filePath("none.txt"), TypesFile::TextFile).isEmpty());
    const QString hidden = writeFile(dir, ".profile", "export A=1");
    EXPECT_TRUE(Extractor().extract_text(hidden, TypesFile::TextFile).isEmpty());
    const QString empty = writeFile(dir, "empty.txt", QByteArray());
    EXPECT_TRUE(Extractor().extract_text(empty, TypesFile::TextFile).isEmpty());
    EXPECT_TRUE(Extractor().extract_text(dir.path(), TypesFile::TextFile).isEmpty());
}

} // namespace
