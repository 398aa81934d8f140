#pragma once
// Catalogued files and folders (table Files): append, read back by key,
// the key of the file just appended, rename, the three deletions, the count
// of an archive's entries and a free statement. Only rows are read or
// written here; the caller's single thread is assumed.

#include "catalogue/AppendedKey.h"
#include "catalogue/HotStatements.h"
#include "foundation/Records.h"

#include <functional>

namespace QuorvaneSDK {

class MediaStore;

class FileStore {
public:
    using ExtensionLookup = std::function<Extension(const QString&)>;
    using TickSource = std::function<qint64()>;

    FileStore(MediaStore& media, ExtensionLookup extension);

    void set_Files(FileQuorvane& FileToAppend);
    qint32 get_LastIDFile();
    FileQuorvane get_File(qint32 IDFile);
    void rename_Files(FileQuorvane& FileToModify);
    void delete_Files(qint32 IDFile);
    void delete_File(qint32 IDMedia, const QString& FolderName, const QString& FileName);
    void delete_FolderFiles(qint32 IDMedia, const QString& FolderName);
    qint32 get_NumberOfContainedFiles(qint32 IDContainerFile);
    ErrorObject execute_Sql(const QString& SqlString);

    // The medium of the last get_File, reused for 20 seconds while files
    // of the same medium are read.
    static constexpr qint64 kMediumCacheMs = 20000;
    void setTickSource(TickSource ticks);
    // Drops the cached medium (after this object changed or deleted media).
    void forgetCurrentMedium();

    // Fills the fields a contained file copies from its extension.
    Extension extensionInfo(const QString& extension) const;

private:
    Media currentMedium(qint32 IDMedia);

    MediaStore& m_media;
    ExtensionLookup m_extension;
    TickSource m_ticks;
    Media m_currentMedium;
    qint64 m_currentMediumLoadedAt = 0;
    AppendedKey m_lastKey;
    HotStatements m_statements;
};

} // namespace QuorvaneSDK
