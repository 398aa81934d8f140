#pragma once
// The version resource of Windows executables (PE files: programs, DLLs,
// drivers, fonts): its fixed part and the string table of its first
// translation. Reads are bounded by the file and by a size cap; any damage
// yields what was read before it.

#include <QString>
#include <optional>

namespace NX_DiskFileInfo {

struct FixedFileInfo {
    quint32 FileVersionMS = 0;
    quint32 FileVersionLS = 0;
    quint32 ProductVersionMS = 0;
    quint32 ProductVersionLS = 0;
    quint32 FileType = 0;
};

struct PeVersionInfo {
    bool HasResource = false; // a version resource was found
    std::optional<FixedFileInfo> Fixed;
    QString TranslationKey; // "040904B0"; "" without a translation table
    QString CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        OriginalFileName, ProductName, ProductVersion;

    static PeVersionInfo read(const QString& path);
    static PeVersionInfo fromBytes(const QByteArray& file);
};

} // namespace NX_DiskFileInfo
