#pragma once
// What the system's type associations say about a file-name extension. The
// freedesktop MIME database answers, by the extension alone (no file is
// read): its type name is the program identifier, its theme icon the icon.

#include "foundation/Records.h"

#include <QImage>
#include <QString>

namespace QuorvaneSDK {

class AssociationsClass {
public:
    // Sets ExtensionDescription and ExtType to the MIME type name of the
    // extension (given with or without its dot) and SmallIcon to the type's
    // theme icon. Outputs are left untouched when nothing is known: an
    // unknown extension sets no texts, but may still get the generic icon.
    void GetInfoExtension(const QString& Extension, QString& ExtensionDescription, QString& ExtType,
                          QImage& SmallIcon) const;

    // The same answers as one record; Extension is the asked extension,
    // lower-cased, with its leading dot.
    QuorvaneSDK::Extension get_Info(const QString& extension) const;

    // Edge length in pixels of the icons handed out.
    static constexpr int IconSize = 32;
};

} // namespace QuorvaneSDK
