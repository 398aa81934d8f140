#pragma once
// The small text rules of a cataloguing run: attribute letters, extensions,
// catalogue folder names, the volume type and the progress texts.

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneCataloguing {

// Letter of a catalogued file, chosen by the whole attribute word.
QString fileAttributeLetter(quint32 attributes);
// Letter of an archive entry, chosen by the whole attribute word.
QString containedAttributeLetter(qint64 attributes);

// Text after the last "." of a name; empty when there is none.
QString fileExtension(const QString& name);
// The same, cut to 47 characters and "..." when longer than 50.
QString containedExtension(const QString& name);

// The catalogue name of `folder` on the volume mounted at `mountPoint`:
// its path from the mount point with "/" at both ends ("/" for the root).
// Both paths are absolute and free of "." and ".." parts.
QString catalogueFolderName(const QString& mountPoint, const QString& folder);

// The medium type of a volume type text; anything unknown is Unknow.
QuorvaneSDK::MediaType mediaTypeOfVolume(const QString& unityType);

// LabelProgress: whole up to 80 characters, else ".../" and the last part.
QString shortenedFilePath(const QString& path);
// LabelArchivedProgress: whole up to 80 characters, else 80 and "...".
QString shortenedArchivedName(const QString& name);

} // namespace QuorvaneCataloguing
