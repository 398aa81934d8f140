#pragma once
// Lists ZIP archives entry by entry and extracts one named entry into a
// folder without its path: what the cataloguing workflow needs of a zip
// component. Zip64 archives and archives of any entry count are read.

#include "foundation/OleDate.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace QuorvaneSDK {

// One listing report.
struct ZipListingEntry {
    QString FileName; // path inside the archive, "/" between folders
    QString Comment;  // the entry's comment
    double Size = 0;  // uncompressed bytes (full 64 bits)
    double CompressedSize = 0;
    qint16 CompressionRatio = 0; // percent saved: 0 stored .. 100
    qint32 Attributes = 0;       // DOS attribute word (see attributeValue)
    Date LastModified;           // as recorded, local time
    bool IsFolder = false;
    bool IsEncrypted = false;
};

class ZipArchive {
public:
    // Called once per entry in archive order; return false to stop.
    using ListingFile = std::function<bool(const ZipListingEntry&)>;

    // The largest entry written when no limit is set.
    static constexpr qint64 kDefaultLimit = qint64(1) << 30;

    void set_ZipFilename(const QString& path) { m_zipFilename = path; }
    QString ZipFilename() const { return m_zipFilename; }
    void set_UnzipToFolder(const QString& folder) { m_unzipToFolder = folder; }
    QString UnzipToFolder() const { return m_unzipToFolder; }
    // The entry to extract: its full path inside the archive.
    void set_FilesToProcess(const QString& entryPath) { m_filesToProcess = entryPath; }
    QString FilesToProcess() const { return m_filesToProcess; }
    // No extracted file grows beyond this many bytes (nor beyond its own size).
    void set_MaxBytes(qint64 bytes) { m_maxBytes = bytes; }
    qint64 MaxBytes() const { return m_maxBytes; }

    // Reports every entry; false (with the reason in LastError) when the
    // archive cannot be read. Names without the UTF-8 flag are code page 437.
    bool ListZipContents(const ListingFile& listingFile);
    // The same listing over an archive held in memory.
    static bool ListZipBuffer(const QByteArray& archive, const ListingFile& listingFile,
                              QString* error = nullptr);

    // Writes the entry named by FilesToProcess (letter case aside) into
    // UnzipToFolder under its name alone; false when there is no such file
    // entry or it cannot be read whole (encrypted, damaged, too large).
    bool Unzip();

    QString LastError() const { return m_lastError; }

    // The attribute word of an entry: DOS attributes where the archive
    // recorded them; a Unix-made regular file is 32, a folder 16, other
    // Unix file kinds 0.
    static qint32 attributeValue(quint8 madeBy, quint32 externalAttributes, bool isFolder);

private:
    QString m_zipFilename;
    QString m_unzipToFolder;
    QString m_filesToProcess;
    qint64 m_maxBytes = kDefaultLimit;
    QString m_lastError;
};

} // namespace QuorvaneSDK
