#pragma once
// Opens a path the way a directory lookup for ordinary files would find it:
// regular files only (no folders, devices or pipes), and not hidden ones
// (a name starting with "."). The descriptor is closed by the destructor.

#include <QString>

namespace NX_TextExtractor {

class OrdinaryFile {
public:
    explicit OrdinaryFile(const QString& path);
    ~OrdinaryFile();
    OrdinaryFile(const OrdinaryFile&) = delete;
    OrdinaryFile& operator=(const OrdinaryFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    qint64 size() const { return size_; }
    // Reads up to len bytes at offset; the count read (short only at the
    // end of the file), or -1 on a read error.
    qint64 readAt(qint64 offset, char* out, qint64 len) const;
    // True when another open file holds a write lock on any part of it,
    // the mark of a document being edited elsewhere.
    bool isWriteLockedElsewhere() const;

    static bool isHiddenName(const QString& path);

private:
    int fd_ = -1;
    qint64 size_ = 0;
};

} // namespace NX_TextExtractor
