#pragma once
// Names of the archive formats a contained file can come from.

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneSDK {

class Costants {
public:
    // "ZIP", "RAR", or "n/a" for any other value.
    QString lookUp_CompressorType(CompressorType value) const;
    QString lookUp_CompressorType(qint32 value) const;
};

} // namespace QuorvaneSDK
