#pragma once
// Writes files that come out of archives into a destination folder and
// nowhere else. Entry names are untrusted: "..", absolute paths and links
// planted in the folder must not let a write escape it, and a lying size
// must not fill the disk. A file appears under its final name only when it
// was written completely.

#include <QString>
#include <QStringList>
#include <functional>

namespace QuorvaneSDK {

class ConfinedWriter {
public:
    // Reads up to `capacity` bytes into `buffer`; returns the count, 0 at
    // the end, negative on a read error.
    using Reader = std::function<qint64(char* buffer, qint64 capacity)>;

    // The safe relative form of an entry path: "/" and "\" separate
    // folders; empty, "." and ".." parts and a leading drive are dropped.
    static QStringList safeComponents(const QString& entryPath);

    // Writes the stream into `destFolder`/`relativePath` (components as
    // safeComponents gives; folders created as needed, never followed
    // through links). Fails, leaving nothing, when the stream yields more
    // than `limit` bytes or reports an error.
    static bool write(const QString& destFolder, const QStringList& relativePath,
                      const Reader& read, qint64 limit, QString* error = nullptr);
};

} // namespace QuorvaneSDK
