#pragma once

#include <QString>

namespace QuorvaneSDK {

// The folder of the SDK's run-time files (INI files, logs, Database/, Temp/...):
// $QUORVANE_HOME when set, else $XDG_DATA_HOME/quorvane, else
// ~/.local/share/quorvane. Created on demand; no trailing "/".
QString baseFolder();

} // namespace QuorvaneSDK
