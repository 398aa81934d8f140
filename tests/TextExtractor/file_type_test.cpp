// The classification rules, row by row, through real files on disk.

#include "NX_TextExtractor.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

using namespace NX_TextExtractor;
using TextExtractorTest::writeFile;

namespace {

QByteArray bytes(const char* data, int size) {
    return QByteArray(data, size);
}

struct TypeCase {
    const char* label;
    QString fileName;
    QByteArray content;
    FileType expected;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.label;
}

FileType ft(TypesFile t, bool text = false, bool image = false) {
    return FileType{t, text, image};
}

const QByteArray kJfif = bytes("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01", 13);
const QByteArray kOle = bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(16, '\0') +
                        bytes("\x3E\x00\x03\x00\xFE\xFF\x09\x00", 8);

std::vector<TypeCase> typeCases() {
    const QByteArray ini100 = "[" + QByteArray(98, 'a') + "]";
    const QByteArray ini101 = "[" + QByteArray(99, 'a') + "]";
    return {
        {"MZ executable", "tool.exe", bytes("MZ\x90\x00\x03\x00", 6), ft(TypesFile::PEExecutable)},
        {"ZM executable", "old.com", "ZM rest", ft(TypesFile::PEExecutable)},
        {"MZ wins over GIF89", "odd.bin", "MZ GIF89 <html>", ft(TypesFile::PEExecutable)},
        {"INI file", "win.ini", "[boot]\r\nshell=explorer\r\n", ft(TypesFile::INIFile, true)},
        {"INI bracket at byte 100", "a.ini", ini100, ft(TypesFile::INIFile, true)},
        {"INI bracket at byte 101 is plain text", "a.ini", ini101,
         ft(TypesFile::Unclassified, true)},
        {"INI wins over html", "page.ini", "[x] <html>", ft(TypesFile::INIFile, true)},
        {"AVI although RIFF", "clip.avi",
         bytes("RIFF\x10\x00\x00\x00"
               "AVI LIST",
               16),
         ft(TypesFile::AVIMovieFile)},
        {"WAV", "sound.wav", bytes("RIFF\x24\x08\x00\x00WAVEfmt ", 16),
         ft(TypesFile::WAVAudioFile)},
        {"other RIFF counts as WAV", "image.webp", bytes("RIFF\x24\x08\x00\x00WEBPVP8 ", 16),
         ft(TypesFile::WAVAudioFile)},
        {"OLE Word document", "letter.doc", kOle, ft(TypesFile::MicrosoftWordDocument, true)},
        {"OLE workbook counts as Word", "sheet.xls", kOle,
         ft(TypesFile::MicrosoftWordDocument, true)},
        {"OLE installer is not Word", "setup.msi", kOle, ft(TypesFile::Unclassified)},
        {"OLE installer upper-case name", "SETUP.MSI", kOle, ft(TypesFile::Unclassified)},
        {"Jet database", "data.mdb", bytes("\x00\x01\x00\x00Standard Jet DB\x00", 20),
         ft(TypesFile::MicrosoftAccessDatabase)},
        {"GIF87a", "a.gif", bytes("GIF87a\x01\x00\x01\x00", 10),
         ft(TypesFile::GIFImageFile, false, true)},
        {"GIF89 mentioned in text", "notes.txt", "We convert every picture to GIF89 format.",
         ft(TypesFile::GIFImageFile, false, true)},
        {"GIF89 wins over html", "page.htm", "<html>GIF89</html>",
         ft(TypesFile::GIFImageFile, false, true)},
        {"MP3 frame sync", "song.mp3", bytes("\xFF\xFB\x90\x64\x00\x00", 6),
         ft(TypesFile::MP3AudioFile)},
        {"MP3 frame sync any name", "track.bin", bytes("\xFF\xFB\x90\x64\x00\x00", 6),
         ft(TypesFile::MP3AudioFile)},
        {"ID3 tag", "tagged.bin", bytes("ID3\x03\x00\x00", 6), ft(TypesFile::MP3AudioFile)},
        {"id3 in lower case", "tagged.bin", "id3 lower", ft(TypesFile::MP3AudioFile)},
        {"text named .mp3", "lyrics.mp3", "just words", ft(TypesFile::MP3AudioFile)},
        {"JFIF named .jpeg is MP3", "photo.jpeg", kJfif, ft(TypesFile::MP3AudioFile)},
        {"JFIF named .jpg", "photo.jpg", kJfif, ft(TypesFile::JPEGImageFile, false, true)},
        {"JFIF named .JPG", "PHOTO.JPG", kJfif, ft(TypesFile::JPEGImageFile, false, true)},
        {"Exif named .jpeg", "photo.jpeg",
         bytes("\xFF\xD8\xFF\xE1\x12\x34"
               "Exif",
               10),
         ft(TypesFile::JPEGImageFile, false, true)},
        {"ID3 named .jpg is not MP3", "cover.jpg", bytes("ID3\x03\x00", 5),
         ft(TypesFile::Unclassified)},
        {"bitmap", "a.bmp", bytes("BM\x36\x00\x0C\x00", 6),
         ft(TypesFile::BMP_Bitmap_ImageFile, false, true)},
        {"TIFF little-endian", "a.tif", bytes("II*\x00\x08\x00", 6),
         ft(TypesFile::TIFFImageFile, false, true)},
        {"TIFF big-endian is not recognised", "b.tif", bytes("MM\x00*\x00\x00\x00\x08", 8),
         ft(TypesFile::Unclassified, true)},
        {"zip", "a.zip", bytes("PK\x03\x04\x14\x00", 6), ft(TypesFile::ZIPArchiveFile)},
        {"zip wins over pdf", "a.zip", "PK pdf", ft(TypesFile::ZIPArchiveFile)},
        {"html", "index.htm", "<HTML><BODY>Hello</BODY></HTML>",
         ft(TypesFile::HTMLDocumentFile, true)},
        {"doctype", "index.html", "<!DOCTYPE html>\n<html lang=\"en\">",
         ft(TypesFile::HTMLDocumentFile, true)},
        {"html with attributes only", "x.htm", "<html lang=\"en\"><body>hi",
         ft(TypesFile::Unclassified, true)},
        {"RAR", "a.rar", bytes("Rar!\x1A\x07\x00", 7), ft(TypesFile::RARArchiveFile)},
        {"rar lower case", "a.txt", "rarely seen", ft(TypesFile::RARArchiveFile)},
        {"ARJ", "a.arj", bytes("\x60\xEA\x29\x00", 4), ft(TypesFile::ARJArchiveFile)},
        {"VB project", "app.vbp", "Type=Exe\r\nReference=*\\G{00020430}#2.0#0\r\n",
         ft(TypesFile::VisualBasicProjectFile)},
        {"VB group", "all.vbg", "VBGROUP 5.0\r\nStartupProject=app.vbp\r\n",
         ft(TypesFile::VisualBasicGroupProjectFile)},
        {"VB form", "main.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption = \"x\"\r\n",
         ft(TypesFile::VisualBasicFormFile)},
        {"VB class is not a form", "c.cls",
         "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1\r\nEND\r\n",
         ft(TypesFile::Unclassified, true)},
        {"pdf", "a.pdf", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", ft(TypesFile::AcrobatFile)},
        {"pdf in text any case", "readme.txt", "See the PdF manual.", ft(TypesFile::AcrobatFile)},
        {"plain text", "readme.txt", "Hello world\r\nSecond line\r\n",
         ft(TypesFile::Unclassified, true)},
        {"Windows-1252 text", "accents.txt", "caf\xE9 cr\xE8me \x80 \x93quoted\x94",
         ft(TypesFile::Unclassified, true)},
        {"binary with 0x01", "a.bin", bytes("abc\x01", 4), ft(TypesFile::Unclassified)},
        {"binary with 0x02", "a.bin", bytes("abc\x02", 4), ft(TypesFile::Unclassified)},
        {"binary with 0x03", "a.bin", bytes("abc\x03", 4), ft(TypesFile::Unclassified)},
        {"binary with 0xFF", "a.bin", bytes("abc\xFF", 4), ft(TypesFile::Unclassified)},
        {"only zero bytes", "zeros.bin", QByteArray(1000, '\0'), ft(TypesFile::Unclassified, true)},
        {"empty file", "empty.txt", QByteArray(), ft(TypesFile::Unclassified, true)},
        {"0xFF after byte 300 unseen", "long.txt", QByteArray(300, 'a') + bytes("\xFF\x01", 2),
         ft(TypesFile::Unclassified, true)},
        {"GIF89 after byte 300 unseen", "long.txt", QByteArray(296, 'a') + "GIF89",
         ft(TypesFile::Unclassified, true)},
        {"name shorter than three characters", "ab", "plain", ft(TypesFile::Unclassified, true)},
    };
}

class FileTypeRules : public ::testing::TestWithParam<TypeCase> {};

TEST_P(FileTypeRules, ClassifiesFileOnDisk) {
    const TypeCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = writeFile(dir, c.fileName, c.content);
    ASSERT_FALSE(path.isEmpty());
    const FileType got = Extractor().get_FileType(path);
    EXPECT_EQ(int(got.Type), int(c.expected.Type));
    EXPECT_EQ(got.isText, c.expected.isText);
    EXPECT_EQ(got.isImage, c.expected.isImage);
    EXPECT_EQ(Extractor::classifyHead(c.content, path), c.expected) << "bytes-only entry disagrees";
}

INSTANTIATE_TEST_SUITE_P(Table, FileTypeRules, ::testing::ValuesIn(typeCases()));

const FileType kNothing{};

TEST(FileTypeLookup, MissingFileGivesNothing) {
    QTemporaryDir dir;
    EXPECT_EQ(Extractor().get_FileType(dir.filePath("absent.txt")), kNothing);
    EXPECT_EQ(Extractor().get_FileType(QString()), kNothing);
}

TEST(FileTypeLookup, HiddenFileIsNotSeen) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, ".notes.txt", "plain text");
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(Extractor().get_FileType(path), kNothing);
    // A hidden folder above an ordinary file does not hide the file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(".cache"));
    const QString inside = writeFile(dir, ".cache/seen.txt", "plain text");
    EXPECT_EQ(Extractor().get_FileType(inside), FileType({TypesFile::Unclassified, true, false}));
}

TEST(FileTypeLookup, FoldersAndPipesAreNotOrdinaryFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    EXPECT_EQ(Extractor().get_FileType(dir.filePath("folder.txt")), kNothing);
    EXPECT_EQ(Extractor().get_FileType(dir.path() + "/"), kNothing);
    // Nobody writes to this pipe: opening it must not wait for a writer.
    const QString fifo = dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(Extractor().get_FileType(fifo), kNothing);
}

TEST(FileTypeLookup, SymbolicLinkToFileIsFollowed) {
    QTemporaryDir dir;
    const QString target = writeFile(dir, "real.zip", "PK\x03\x04");
    ASSERT_TRUE(QFile::link(target, dir.filePath("link.zip")));
    EXPECT_EQ(Extractor().get_FileType(dir.filePath("link.zip")).Type, TypesFile::ZIPArchiveFile);
}

// The superuser reads any file whatever its mode, so as root the lookup runs
// in a child process that has dropped to the unprivileged "nobody" user.
TEST(FileTypeLookup, UnreadableFileGivesNothing) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "secret.txt", "plain text");
    ASSERT_TRUE(QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ExeOther | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    if (::geteuid() != 0) {
        EXPECT_EQ(Extractor().get_FileType(path), kNothing);
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const uid_t nobody = 65534;
        if (::setresgid(nobody, nobody, nobody) != 0 || ::setresuid(nobody, nobody, nobody) != 0)
            ::_exit(3);
        if (::open(QFile::encodeName(path).constData(), O_RDONLY) >= 0)
            ::_exit(4); // privileges were not dropped: the test would prove nothing
        ::_exit(Extractor().get_FileType(path) == kNothing ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FileTypeLookup, HugeFileCostsOneSmallRead) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "disk.img", "MZ");
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 4LL << 30), 0); // sparse 4 GB
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Extractor().get_FileType(path).Type, TypesFile::PEExecutable);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(FileTypeLookup, OddBytesInNameAreHandled) {
    QTemporaryDir dir;
    const QString name = QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC [1].txt");
    const QString path = writeFile(dir, name, "<html>");
    EXPECT_EQ(Extractor().get_FileType(path).Type, TypesFile::HTMLDocumentFile);
}

} // namespace
