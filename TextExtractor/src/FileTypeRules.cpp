// get_FileType: the first 300 bytes of a file, and in a few rules the last
// three characters of its name, decide its kind. The rules are tried in a
// fixed order and the first that holds wins.

#include "NX_TextExtractor/Extractor.h"

#include "OrdinaryFile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace NX_TextExtractor {

namespace {

using Head = std::array<char, Extractor::HeadSize>;

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

class HeadView {
public:
    explicit HeadView(QByteArrayView bytes) {
        head_.fill(0);
        const qsizetype n = std::min<qsizetype>(bytes.size(), head_.size());
        std::copy_n(bytes.data(), n, head_.begin());
        // The letter-case-blind tests look for ASCII words only, and no other
        // Windows-1252 letter lower-cases into ASCII, so ASCII folding will do.
        std::transform(head_.begin(), head_.end(), lower_.begin(), asciiLower);
    }

    // 1-based byte position, as the rules are written.
    unsigned char at(int pos) const { return static_cast<unsigned char>(head_[pos - 1]); }
    bool startsWith(int pos, const char* text) const {
        return std::memcmp(head_.data() + pos - 1, text, std::strlen(text)) == 0;
    }
    bool upperStartsWith(const char* upperText) const {
        for (int i = 0; upperText[i]; ++i)
            if (lower_[i] != asciiLower(upperText[i]))
                return false;
        return true;
    }
    bool contains(const char* text, int within = Extractor::HeadSize) const {
        return QByteArrayView(head_.data(), within).contains(QByteArrayView(text));
    }
    bool lowerContains(const char* text) const {
        return QByteArrayView(lower_.data(), lower_.size()).contains(QByteArrayView(text));
    }
    bool hasTextOnlyBytes() const {
        return std::none_of(head_.begin(), head_.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b == 0xFF || b == 0x03 || b == 0x02 || b == 0x01;
        });
    }

private:
    Head head_{};
    Head lower_{};
};

FileType make(TypesFile type, bool isText = false, bool isImage = false) {
    return FileType{type, isText, isImage};
}

} // namespace

FileType Extractor::classifyHead(QByteArrayView bytes, QStringView fileName) {
    const HeadView h(bytes);
    const QString ext = fileName.right(3).toString().toLower();

    if (h.startsWith(1, "MZ") || h.startsWith(1, "ZM"))
        return make(TypesFile::PEExecutable);
    if (h.at(1) == '[' && h.contains("]", 100))
        return make(TypesFile::INIFile, true);
    if (h.startsWith(9, "AVI LIST"))
        return make(TypesFile::AVIMovieFile);
    if (h.startsWith(1, "RIFF"))
        return make(TypesFile::WAVAudioFile);
    if (h.startsWith(1, "\xD0\xCF\x11\xE0") && ext != u"msi")
        return make(TypesFile::MicrosoftWordDocument, true);
    if (h.startsWith(5, "Standard Jet DB"))
        return make(TypesFile::MicrosoftAccessDatabase);
    if (h.startsWith(1, "GIF") || h.contains("GIF89"))
        return make(TypesFile::GIFImageFile, false, true);
    if (((h.at(1) == 0xFF && h.at(5) == 0x00) || h.upperStartsWith("ID3") || ext == u"mp3") &&
        ext != u"jpg")
        return make(TypesFile::MP3AudioFile);
    if (h.startsWith(1, "BM"))
        return make(TypesFile::BMP_Bitmap_ImageFile, false, true);
    if (h.startsWith(1, "II*"))
        return make(TypesFile::TIFFImageFile, false, true);
    if (h.startsWith(1, "PK"))
        return make(TypesFile::ZIPArchiveFile);
    if (h.lowerContains("<html>") || h.lowerContains("<!doctype"))
        return make(TypesFile::HTMLDocumentFile, true);
    if (h.upperStartsWith("RAR"))
        return make(TypesFile::RARArchiveFile);
    if (h.at(1) == 0x60 && h.at(2) == 0xEA)
        return make(TypesFile::ARJArchiveFile);
    if (h.at(1) == 0xFF && h.at(2) == 0xD8 && h.at(3) == 0xFF)
        return make(TypesFile::JPEGImageFile, false, true);
    if (h.contains("Reference=") && h.contains("Type="))
        return make(TypesFile::VisualBasicProjectFile);
    if (h.startsWith(1, "VBGROUP "))
        return make(TypesFile::VisualBasicGroupProjectFile);
    if (h.startsWith(1, "VERSION ") && h.contains("\r\nBegin"))
        return make(TypesFile::VisualBasicFormFile);
    if (h.lowerContains("pdf"))
        return make(TypesFile::AcrobatFile);
    return make(TypesFile::Unclassified, h.hasTextOnlyBytes());
}

FileType Extractor::get_FileType(const QString& FileName) const {
    const OrdinaryFile file(FileName);
    if (!file.isOpen())
        return {};
    char buf[HeadSize];
    const qint64 got = file.readAt(0, buf, HeadSize);
    if (got < 0)
        return {};
    return classifyHead(QByteArrayView(buf, got), FileName);
}

} // namespace NX_TextExtractor
