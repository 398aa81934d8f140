#pragma once

#include <QString>

namespace QuorvaneSDK {

// Per-user settings of the application, kept in <base>/Registry.ini with
// one INI section per settings section.
class Registry {
public:
    static QString settingsFile();
    // The stored text; empty when not stored.
    QString GetSetting(const QString& Section, const QString& Key) const;
    // False when the value could not be stored.
    bool SaveSetting(const QString& Section, const QString& Key, const QString& Setting);
};

} // namespace QuorvaneSDK
