#pragma once
// Reads the entry headers of RAR archives (the 1.5-4.x format and the 5.x
// format) without unpacking anything: listing needs only the headers, which
// are stored uncompressed unless the archive encrypts them. Reads are
// bounded by the file's size and by fixed header limits; the reader stops at
// the first damage and keeps what it read until then.

#include <QDateTime>
#include <QList>
#include <QString>

class QIODevice;

namespace QuorvaneSDK {

// One header of a file (or folder) as the archive stores it.
struct RarEntry {
    QString Name; // path inside the archive, "/" between folders
    quint64 UnpackedSize = 0;
    quint64 PackedSize = 0;
    quint32 Attributes = 0;    // DOS attribute word (Unix modes mapped, see below)
    quint32 RawAttributes = 0; // as stored: DOS attributes or Unix mode
    int HostOS = 0;            // as stored (RAR 4: 0 MS-DOS .. 5 BeOS; RAR 5: 0 Windows, 1 Unix)
    quint32 FileCRC = 0;
    quint32 DosTime = 0; // MS-DOS date-time of the modification
    QDateTime Modified;  // local time; invalid when the archive has none
    int UnpackVersion = 0;
    int Method = 0;        // RAR 4: 0x30 store .. 0x35 best; RAR 5: 0 store .. 5
    quint32 Flags = 0;     // header flags as stored
    qint64 DataOffset = 0; // where the packed data starts in the file
    bool IsDirectory = false;
    bool IsEncrypted = false;
    bool IsSplit = false;     // continues from or into another volume
    bool IsTruncated = false; // the packed data runs past the end of the file
};

struct RarListing {
    int Format = 0;          // 0 not a RAR archive, 4 or 5
    QString Comment;         // archive comment, when stored readable
    QList<RarEntry> Entries; // every file and folder header, in archive order
    bool Complete = false;   // reached the end of the archive without damage
    bool HeadersEncrypted = false;
    bool IsVolume = false;
    QString Error; // why the reading stopped early; "" when complete
};

class RarHeaderReader {
public:
    static RarListing readFile(const QString& path);
    // Reads from a random-access device (a file or a buffer).
    static RarListing read(QIODevice& device);

    // Attribute word of an entry in DOS terms: DOS and Windows hosts keep
    // their attributes; Unix modes give 16 for folders, 32 for regular files
    // and 0 for anything else (links, devices).
    static quint32 dosAttributes(bool unixHost, quint32 raw, bool isDirectory);
};

} // namespace QuorvaneSDK
