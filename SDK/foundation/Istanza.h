#pragma once

#include "foundation/Records.h"

#include <QString>

namespace QuorvaneSDK {

// The table of installation instances (Istanze). This system keeps no local
// instance: get_Istanza gives an empty record and set_Istanza stores nothing.
class Istanza {
public:
    // Runs the SDK's one-time start-up.
    Istanza();

    IstanzaSoftware get_Istanza(const QString& Istanza) const;
    // True when a row with that identity exists; false on any error.
    bool exist(const QString& Istanza);
    bool set_Istanza(const QString& Istanza);
    QString get_IstanzaLocale() const;
    void Delete_ALL();
};

} // namespace QuorvaneSDK
