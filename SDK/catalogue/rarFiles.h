#pragma once
// Lists the entries of a RAR archive (4.x and 5.x formats) for the
// catalogue and extracts entries from it. No state is kept between calls.

#include "catalogue/RarExtraction.h"
#include "foundation/Records.h"

#include <QString>

namespace QuorvaneSDK {

class rarFiles {
public:
    // ArcName, Comment (trimmed) and CompressedFiles: one record per file
    // entry whose attribute value is exactly 32 (a Unix-made regular file
    // counts as 32), in archive order, a header repeating the name of the
    // entry listed just before it listed once. A damaged archive lists the
    // entries read before the damage; one that cannot be read lists none.
    RarFile get_FilesList(const QString& RarFile) const;

    // With FileToExtract empty every file entry is written below
    // strDestPath with its (confined) path; otherwise the entry whose full
    // stored path equals FileToExtract, letter case aside, is written to
    // strDestPath under its name alone. No write exceeds MaxBytes or the
    // entry's own size. Returns true when anything was written.
    bool ExtractRarFiles(const QString& strRarFile, const QString& strDestPath,
                         const QString& FileToExtract = QString(),
                         qint64 MaxBytes = RarExtraction::kDefaultLimit) const;
};

} // namespace QuorvaneSDK
