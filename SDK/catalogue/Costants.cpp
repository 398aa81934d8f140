#include "catalogue/Costants.h"

namespace QuorvaneSDK {

QString Costants::lookUp_CompressorType(CompressorType value) const {
    return lookUp_CompressorType(static_cast<qint32>(value));
}

QString Costants::lookUp_CompressorType(qint32 value) const {
    switch (value) {
    case static_cast<qint32>(CompressorType::Zip):
        return QStringLiteral("ZIP");
    case static_cast<qint32>(CompressorType::RAR):
        return QStringLiteral("RAR");
    default:
        return QStringLiteral("n/a");
    }
}

} // namespace QuorvaneSDK
