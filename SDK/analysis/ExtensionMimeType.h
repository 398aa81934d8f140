#pragma once
// The MIME type of an extension by name alone, shared by the association
// lookup and the description cache.

#include <QMimeType>
#include <QString>

namespace QuorvaneSDK::ExtensionMime {

// ".txt" for "txt", ".txt", "TXT" is kept as given apart from the dot.
QString withDot(const QString& extension);

// The type registered for the extension, or an invalid QMimeType when the
// database does not know it (its answer would be application/octet-stream).
QMimeType typeFor(const QString& extension);

} // namespace QuorvaneSDK::ExtensionMime
