#include "foundation/Registry.h"

#include "foundation/BaseFolder.h"
#include "foundation/NX_Ini.h"

namespace QuorvaneSDK {

QString Registry::settingsFile() {
    return baseFolder() + QStringLiteral("/Registry.ini");
}

QString Registry::GetSetting(const QString& Section, const QString& Key) const {
    return NX_Ini().ReadValue(settingsFile(), Section, Key);
}

bool Registry::SaveSetting(const QString& Section, const QString& Key, const QString& Setting) {
    return NX_Ini().WriteValue(settingsFile(), Section, Key, Setting);
}

} // namespace QuorvaneSDK
