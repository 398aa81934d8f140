#pragma once
// Files held inside archive files (table FilesContained): append, read back
// with or without the archive's own record, the key of the entry just
// appended, and the total compressed size and list of one archive's entries.

#include "catalogue/AppendedKey.h"
#include "catalogue/HotStatements.h"
#include "foundation/Records.h"

#include <QList>
#include <functional>

namespace QuorvaneSDK {

class FileStore;

class ContainedFileStore {
public:
    // raiseError receives the message of the Error event ("description\r\nroutine").
    ContainedFileStore(FileStore& files, std::function<void(const QString&)> raiseError);

    void set_FilesCompressed(FileQuorvaneCompressed& FileQuorvaneCompressedToUpdate);
    qint32 get_LastIDFileCompressed();
    FileQuorvaneCompressed get_FileCompressed(qint32 IDFileContained, bool LoadParentFile = true);
    // 64-bit: the entries of a large archive add up beyond 2^31 bytes.
    qint64 get_SumOfCompressedContainedFiles(qint32 IDFile);
    QList<FileQuorvaneCompressed> get_ListOfCompressedContainedFiles(qint32 IDFile);

private:
    FileStore& m_files;
    std::function<void(const QString&)> m_raiseError;
    AppendedKey m_lastKey;
    HotStatements m_statements;
};

} // namespace QuorvaneSDK
