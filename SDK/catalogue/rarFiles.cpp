#include "catalogue/rarFiles.h"
#include "catalogue/ArchiveText.h"
#include "catalogue/RarHeaderReader.h"

#include <QDir>
#include <cmath>
#include <limits>

namespace QuorvaneSDK {

namespace {

constexpr quint32 kArchiveAttribute = 32;

qint32 ratioPercent(quint64 packed, quint64 unpacked) {
    if (unpacked == 0)
        return 0;
    const double ratio = std::floor(double(packed) / double(unpacked) * 100.0);
    return ratio >= double(std::numeric_limits<qint32>::max()) ? std::numeric_limits<qint32>::max()
                                                               : qint32(ratio);
}

// The entry time as the listing reports it: the stored local time of day
// (RAR 5 keeps UTC, shown in local time); 1980-01-01 when there is none.
Date entryDate(const RarEntry& entry) {
    if (entry.Modified.isValid())
        return Date::fromDateTime(entry.Modified);
    return Date::fromParts(1980, 1, 1);
}

FileQuorvaneCompressed toRecord(const RarEntry& entry, const QString& archivePath) {
    FileQuorvaneCompressed record;
    record.Name = entry.Name;
    record.FolderName = ArchiveText::folderPart(entry.Name);
    record.Size = double(entry.UnpackedSize);
    record.FileCompressedSize = double(entry.PackedSize);
    record.FileCompressionRatio = ratioPercent(entry.PackedSize, entry.UnpackedSize);
    record.Properties = QString::number(entry.Attributes);
    record.DateCreated = entryDate(entry);
    record.ArchiveFileName = archivePath;
    return record;
}

} // namespace

RarFile rarFiles::get_FilesList(const QString& RarFile) const {
    const ArchiveText::StableLocalTimeZone zone;
    QuorvaneSDK::RarFile result;
    result.ArcName = RarFile;
    const RarListing listing = RarHeaderReader::readFile(RarFile);
    result.Comment = listing.Comment.trimmed();
    QString previous;
    bool first = true;
    for (const RarEntry& entry : listing.Entries) {
        if (entry.IsDirectory || entry.Attributes != kArchiveAttribute)
            continue;
        if (!first && entry.Name == previous)
            continue;
        result.CompressedFiles.append(toRecord(entry, RarFile));
        previous = entry.Name;
        first = false;
    }
    return result;
}

bool rarFiles::ExtractRarFiles(const QString& strRarFile, const QString& strDestPath,
                               const QString& FileToExtract, qint64 MaxBytes) const {
    if (!QDir().mkpath(strDestPath))
        return false;
    if (FileToExtract.trimmed().isEmpty())
        return RarExtraction::extractAll(strRarFile, strDestPath, MaxBytes) > 0;
    return RarExtraction::extractOne(strRarFile, FileToExtract, strDestPath, MaxBytes);
}

} // namespace QuorvaneSDK
