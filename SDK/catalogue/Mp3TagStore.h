#pragma once
// The tags and frame header of MP3 files (tables Mp3TagsFile for catalogued
// files, Mp3TagsFileContained for files inside archives): read from the
// file, stored for the file just appended, read back.

#include "catalogue/HotStatements.h"
#include "foundation/Enums.h"
#include "foundation/Records.h"

#include <functional>

namespace QuorvaneSDK {

class Mp3TagStore {
public:
    // lastIdFile gives the key of the file this object appended last.
    explicit Mp3TagStore(std::function<qint32()> lastIdFile);

    // Reads the file and fills the record, IDFile from lastIdFile; texts are
    // cleaned: codes 0 and 1 removed, trimmed, every pair of blanks deleted.
    MP3Tags get_MP3Details(const QString& MP3FileName);
    // Appends the record for NewFileMp3.IDFile, a catalogued file (File) or
    // a contained file (FileContained). A key below 1 (its owner was not
    // stored) appends nothing.
    void set_Mp3Tags(MP3Tags& NewFileMp3, Targets Target = Targets::File);
    // IDFile takes precedence; with IDFile < 1 the contained file's tags.
    MP3Tags get_FileMP3Info(qint32 IDFile, qint32 IDFileCompressed);
    bool get_FileHasMP3Info(qint32 IDFile, qint32 IDFileCompressed);

    // The clean-up applied to every text taken from the reader.
    static QString cleanTag(const QString& text);

private:
    std::function<qint32()> m_lastIdFile;
    HotStatements m_statements;
};

} // namespace QuorvaneSDK
