#pragma once
// JPEG decoding into and encoding from a cDIBSection, over Qt's JPEG support,
// and the thumbnail maker that decodes large JPEGs at a reduced scale.

#include "foundation/Records.h"

#include <QString>
#include <memory>

namespace QuorvaneSDK {

class cDIBSection;

namespace mJPEGLibrary {

// Error number of a failed save.
constexpr qint32 SaveErrorNumber = 26001;

// Decodes a JPEG file (grey ones expanded to three channels) into target.
// False, with target untouched, for a missing file, another format, a size
// above the cap or undecodable data.
bool LoadJPG(cDIBSection& target, const QString& fileName);

// Encodes source as a JPEG file of the given quality (1-100). An existing
// file is replaced only once the new one is complete, and keeps its access
// and modification times and its permissions; a read-only file is not
// replaced. On failure returns false and, when error is given, fills it with
// number 26001 and the reason; the file then keeps its old content.
bool SaveJPG(const cDIBSection& source, const QString& fileName, qint32 quality,
             ErrorObject* error = nullptr);

// The thumbnail GetThumbnailDIB would give for the picture in the file,
// without holding the full picture: a JPEG is decoded at 1/2, 1/4 or 1/8
// scale when that still leaves at least the thumbnail's size; other files go
// through CreateFromFile. Nothing when the file cannot be loaded.
std::shared_ptr<cDIBSection> LoadThumbnail(const QString& fileName, qint32 thumbWidth,
                                           qint32 thumbHeight, bool AutoFitSize = true,
                                           bool scaledDecoding = true);

} // namespace mJPEGLibrary
} // namespace QuorvaneSDK
