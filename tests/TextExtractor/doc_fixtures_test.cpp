// Word 97-2003 documents written by a real word processor (fixtures made by
// fixtures/make_doc_fixtures.sh).

#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace NX_TextExtractor;
using TextExtractorTest::fixturePath;
using TextExtractorTest::readFixture;
using TextExtractorTest::writeFile;

namespace {

QString docText(const QString& fixture) {
    return Extractor().extract_text(fixturePath(fixture), TypesFile::MicrosoftWordDocument);
}

TEST(WordFixtures, SimpleDocumentGivesItsParagraphs) {
    EXPECT_EQ(
        docText("simple.doc"),
        "Quorvane catalogues storage media.\r\nThe quick brown fox jumps over the lazy dog.\r\n");
}

TEST(WordFixtures, FieldsShowResultsAndNotesStayOut) {
    const QString text = docText("rich.doc");
    EXPECT_TRUE(text.startsWith("Visit the example site today.\r\n")) << qPrintable(text);
    EXPECT_FALSE(text.contains("HYPERLINK"));
    EXPECT_FALSE(text.contains("example.org"));
    EXPECT_TRUE(text.contains("First line\r\nsecond line\tafter tab\r\n"));
    EXPECT_TRUE(text.contains(QString::fromUtf8(
        "Greek: \xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC, "
        "accents: na\xC3\xAFve caf\xC3\xA9, euro: \xE2\x82\xAC"
        "5")));
    EXPECT_TRUE(text.contains(
        "Noted sentence.\r\n")); // the footnote's reference mark and body are not main text
    EXPECT_FALSE(text.contains("Footnote body"));
    EXPECT_TRUE(text.contains("alpha\tbeta\t"));
    EXPECT_TRUE(text.contains("gamma\tdelta\t"));
    EXPECT_TRUE(text.contains("Page 1 ends here.")); // page number field shows its result
    EXPECT_FALSE(text.contains("PAGE"));
    for (const QChar c : text)
        EXPECT_TRUE(c >= u' ' || c == u'\r' || c == u'\n' || c == u'\t')
            << "control character " << int(c.unicode());
}

TEST(WordFixtures, LongDocumentIsReadWhole) {
    const QString text = docText("long.doc");
    EXPECT_TRUE(text.startsWith(
        "Paragraph number 1 of the long document, with words enough to fill a line.\r\n"));
    EXPECT_TRUE(text.contains("\r\nParagraph number 137 of the long document"));
    EXPECT_TRUE(text.endsWith("Final paragraph.\r\n"));
    EXPECT_EQ(text.count("\r\n"), 201);
}

TEST(WordFixtures, DocumentsAreClassifiedAndIndexed) {
    const Extractor x;
    EXPECT_EQ(x.get_FileType(fixturePath("simple.doc")),
              FileType({TypesFile::MicrosoftWordDocument, true, false}));
    EXPECT_EQ(x.get_Words(fixturePath("simple.doc")),
              QStringList({"quorvane", "catalogues", "storage", "quick", "brown", "jumps", "over",
                           "lazy"}));
}

TEST(WordFixtures, HiddenMissingAndLockedDocumentsGiveEmptyText) {
    QTemporaryDir dir;
    const QByteArray doc = readFixture("simple.doc");
    ASSERT_FALSE(doc.isEmpty());
    const QString hidden = writeFile(dir, ".draft.doc", doc);
    EXPECT_TRUE(Extractor().extract_text(hidden, TypesFile::MicrosoftWordDocument).isEmpty());
    EXPECT_TRUE(Extractor()
                    .extract_text(dir.filePath("gone.doc"), TypesFile::MicrosoftWordDocument)
                    .isEmpty());

    const QString open = writeFile(dir, "open.doc", doc);
    const int fd = ::open(QFile::encodeName(open).constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &lock), 0); // another editor holds the document
    EXPECT_TRUE(Extractor().extract_text(open, TypesFile::MicrosoftWordDocument).isEmpty());
    ::close(fd);
    EXPECT_FALSE(Extractor().extract_text(open, TypesFile::MicrosoftWordDocument).isEmpty());
}

} // namespace
