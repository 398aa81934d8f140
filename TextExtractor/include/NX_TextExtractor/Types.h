#pragma once
// The classification that get_FileType gives a file.

#include <QtGlobal>

namespace NX_TextExtractor {

// Kinds of file the extractor recognises. Unclassified (0) is what a file
// gets when no rule matches; callers then look at FileType::isText.
enum class TypesFile : qint32 {
    Unclassified = 0,
    PEExecutable = 1,
    INIFile = 2,
    AVIMovieFile = 3,
    WAVAudioFile = 4,
    MicrosoftWordDocument = 5,
    MicrosoftAccessDatabase = 6,
    GIFImageFile = 7,
    MP3AudioFile = 8,
    BMP_Bitmap_ImageFile = 9,
    TIFFImageFile = 10,
    ZIPArchiveFile = 11,
    HTMLDocumentFile = 12,
    RARArchiveFile = 13,
    ARJArchiveFile = 14,
    JPEGImageFile = 15,
    VisualBasicProjectFile = 16,
    VisualBasicGroupProjectFile = 17,
    VisualBasicFormFile = 18,
    UnknownBinaryFile = 19,
    UnknownTextFile = 20,
    AcrobatFile = 21,
    // Never returned by get_FileType: passed to extract_text to ask for a raw read.
    TextFile = 22,
};

struct FileType {
    TypesFile Type = TypesFile::Unclassified;
    bool isText = false;
    bool isImage = false;

    friend bool operator==(const FileType&, const FileType&) = default;
};

} // namespace NX_TextExtractor
