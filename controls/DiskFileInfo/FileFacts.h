#pragma once
// What GefFileInfo learns about one file before it writes the properties.

#include "foundation/OleDate.h"

#include <QString>

namespace NX_DiskFileInfo {

struct FileFacts {
    QString Directory;
    QString FileType = QStringLiteral("Unknown");
    qint32 VerMajor = 0, VerMinor = 0, VerRevision = 0;
    qint64 FileSize = 0;
    QuorvaneSDK::Date CreationDate, LastModifyTime, LastAccessTime;
    QString CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        OriginalFileName, ProductName, ProductVersion;
    quint32 Attributes = 0; // DOS attribute word

    // Never fails: what cannot be read keeps its empty value.
    static FileFacts examine(const QString& fileName);
    // The file kind text of a version resource's file-type field.
    static QString fileTypeText(quint32 fileType);
    // The DOS attribute word of a file on a Linux file system.
    static quint32 attributesOf(const QString& fileName);
};

} // namespace NX_DiskFileInfo
