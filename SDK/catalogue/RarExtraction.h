#pragma once
// Unpacks entries of RAR archives through libarchive into a folder, with
// every write confined and size-limited by ConfinedWriter.

#include <QString>

namespace QuorvaneSDK::RarExtraction {

// The largest entry written when the caller names no limit.
constexpr qint64 kDefaultLimit = qint64(1) << 30;

// The first file entry whose stored path equals `entryPath` without regard
// to case ("/" and "\" alike) is written to `destFolder` under its name
// alone. Encrypted, split and damaged entries give false and leave nothing.
bool extractOne(const QString& archivePath, const QString& entryPath, const QString& destFolder,
                qint64 limit = kDefaultLimit, QString* error = nullptr);

// Every file entry is written below `destFolder` with its path inside the
// archive (made safe); returns the number written.
int extractAll(const QString& archivePath, const QString& destFolder, qint64 limit = kDefaultLimit,
               QString* error = nullptr);

} // namespace QuorvaneSDK::RarExtraction
